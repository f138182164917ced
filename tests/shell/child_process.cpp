#include "child_process.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The child's stdout goes to the pipe, its stderr to /dev/null (sanitizer and Qt chatter).
pid_t spawn(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& root, const std::vector<std::string>& environment, int* output,
            const std::string& folder = "") {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, 2);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        setenv("TALLOWMERE_ROOT", root.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        for (const std::string& setting : environment)
            putenv(strdup(setting.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    *output = pipeEnds[0];
    return pid;
}

} // namespace

std::string ChildRun::value(const std::string& key) const {
    for (const std::string& line : lines) {
        if (line.compare(0, key.size() + 1, key + " ") == 0) return line.substr(key.size() + 1);
    }
    return "?";
}

ChildRun runChild(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& root, const std::vector<std::string>& environment,
                  const std::string& folder) {
    ChildRun run;
    int output = -1;
    const pid_t pid = spawn(program, arguments, root, environment, &output, folder);
    if (pid < 0) return run;
    std::string all;
    char buffer[512];
    for (ssize_t got; (got = read(output, buffer, sizeof buffer)) > 0;)
        all.append(buffer, size_t(got));
    close(output);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        run.lines.push_back(all.substr(start, end - start));
    return run;
}

RunningChild::RunningChild(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& root, const std::vector<std::string>& environment) {
    m_pid = spawn(program, arguments, root, environment, &m_output);
}

RunningChild::~RunningChild() {
    kill(SIGKILL);
}

bool RunningChild::waitForLine(const std::string& prefix, std::string* found) {
    char buffer[256];
    for (;;) {
        for (size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
            const std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (line.compare(0, prefix.size(), prefix) != 0) continue;
            if (found) *found = line;
            return true;
        }
        const ssize_t got = m_output >= 0 ? read(m_output, buffer, sizeof buffer) : -1;
        if (got <= 0) return false;
        m_pending.append(buffer, size_t(got));
    }
}

int RunningChild::kill(int signal) {
    int exitCode = -1;
    if (m_pid > 0) {
        ::kill(m_pid, signal);
        int status = 0;
        waitpid(m_pid, &status, 0);
        if (WIFEXITED(status)) exitCode = WEXITSTATUS(status);
        m_pid = -1;
    }
    if (m_output >= 0) {
        close(m_output);
        m_output = -1;
    }
    return exitCode;
}
