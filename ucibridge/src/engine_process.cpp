#include "engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wordexp.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace ucibridge {

namespace {

// An engine that prints this much without a line end is not speaking UCI; the text is
// handed on as a line so that memory stays bounded.
constexpr size_t LONGEST_LINE = 1 << 16;
// How long a write may wait for an engine that does not read its input.
constexpr int SEND_WAIT_MS = 1000;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<long long>(left, 0, 60 * 60 * 1000));
}

// The program named as a shell would find it: a name with a slash as it is, otherwise the
// first executable file of that name on PATH. Done before fork: the child may only make
// calls that are safe after fork in a threaded process.
std::string resolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(begin, end - begin);
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        begin = end + 1;
    }
    return name;
}

[[noreturn]] void runChild(int engineEnd, int errorPipe, pid_t parent, const char* program,
                           char* const* argv) {
    // Killed with the thread that started it, so that no engine outlives the program even
    // when the program itself is killed.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    setpgid(0, 0);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    dup2(engineEnd, STDIN_FILENO);
    dup2(engineEnd, STDOUT_FILENO);
    // Keep the error pipe at 3 and nothing of the program's above it.
    if (errorPipe != 3) {
        dup2(errorPipe, 3);
        fcntl(3, F_SETFD, FD_CLOEXEC);
    }
#ifdef SYS_close_range
    syscall(SYS_close_range, 4u, ~0u, 0u);
#endif
    execv(program, argv);
    const int error = errno;
    ssize_t ignored = write(3, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

} // namespace

bool EngineProcess::start(const std::vector<std::string>& words, std::string& reason) {
    kill();
    if (words.empty()) {
        reason = "no engine program is named";
        return false;
    }
    const std::string program = resolveProgram(words[0]);
    std::vector<std::string> arguments = words;
    std::vector<char*> argv;
    for (std::string& word : arguments)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) runChild(ends[1], errorPipe[1], parent, program.c_str(), argv.data());
    close(ends[1]);
    close(errorPipe[1]);
    if (pid < 0) {
        reason = std::strerror(errno);
        close(ends[0]);
        close(errorPipe[0]);
        return false;
    }
    // Also from here, in case the engine runs before the child got to it.
    setpgid(pid, pid);
    // The error pipe closes without a word when the program has started.
    int childError = 0;
    ssize_t got;
    do {
        got = read(errorPipe[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got == ssize_t(sizeof childError)) {
        waitpid(pid, nullptr, 0);
        close(ends[0]);
        reason = childError == ENOEXEC ? std::string("not a program")
                                       : std::string(std::strerror(childError));
        return false;
    }
    fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    {
        std::lock_guard<std::mutex> guard(m_sendLock);
        m_socket = ends[0];
    }
    m_pid = pid;
    m_pending.clear();
    return true;
}

bool EngineProcess::send(const std::string& line) {
    std::lock_guard<std::mutex> guard(m_sendLock);
    if (m_socket < 0) return false;
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t sent = ::send(m_socket, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (sent > 0) {
            done += size_t(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready = {m_socket, POLLOUT, 0};
            if (poll(&ready, 1, SEND_WAIT_MS) > 0 && !(ready.revents & (POLLERR | POLLHUP)))
                continue;
        }
        return false;
    }
    return true;
}

ReadResult EngineProcess::readLine(Clock::time_point deadline, std::string& line) {
    for (;;) {
        const size_t end = m_pending.find('\n');
        if (end != std::string::npos || m_pending.size() >= LONGEST_LINE) {
            const size_t length = std::min(end, m_pending.size());
            line = m_pending.substr(0, length);
            m_pending.erase(0, std::min(length + 1, m_pending.size()));
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return ReadResult::line;
        }
        int socket;
        {
            std::lock_guard<std::mutex> guard(m_sendLock);
            socket = m_socket;
        }
        if (socket < 0) return ReadResult::closed;
        pollfd ready = {socket, POLLIN, 0};
        const int polled = poll(&ready, 1, millisecondsUntil(deadline));
        if (polled < 0 && errno == EINTR) continue;
        if (polled == 0) return ReadResult::timeout;
        char buffer[4096];
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got > 0) {
            m_pending.append(buffer, size_t(got));
            continue;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        return ReadResult::closed;
    }
}

void EngineProcess::finish(Clock::time_point deadline) {
    if (m_pid <= 0) return;
    for (;;) {
        siginfo_t info{};
        if (waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0)
            break;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill();
}

void EngineProcess::kill() {
    if (m_pid > 0) {
        // The child is not reaped yet, so its number still names its group: whatever it
        // started goes with it.
        ::kill(-m_pid, SIGKILL);
        ::kill(m_pid, SIGKILL);
        while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {}
        m_pid = -1;
    }
    closeSocket();
    m_pending.clear();
}

void EngineProcess::closeSocket() {
    std::lock_guard<std::mutex> guard(m_sendLock);
    if (m_socket >= 0) close(m_socket);
    m_socket = -1;
}

std::vector<std::string> commandWords(const std::string& command) {
    std::vector<std::string> words;
    wordexp_t expanded;
    if (wordexp(command.c_str(), &expanded, WRDE_NOCMD) != 0) return words;
    for (size_t i = 0; i < expanded.we_wordc; ++i)
        words.emplace_back(expanded.we_wordv[i]);
    wordfree(&expanded);
    return words;
}

} // namespace ucibridge
