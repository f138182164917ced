// The external engine as a child process: its standard input and output are one end of a
// socket pair, so that writing to an engine that has died fails with an error instead of
// raising SIGPIPE in the program. The child leads a process group of its own, which is
// killed as a whole, and dies with the thread that started it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace ucibridge {

using Clock = std::chrono::steady_clock;

enum class ReadResult {
    line,
    timeout,
    closed, // the engine closed its output or died
};

class EngineProcess {
public:
    EngineProcess() = default;
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;
    ~EngineProcess() { kill(); }

    // Runs words[0] (looked up on PATH when it has no slash) with the rest as arguments.
    // False with a reason when it cannot be run at all.
    bool start(const std::vector<std::string>& words, std::string& reason);
    bool isRunning() const { return m_pid > 0; }

    // Whole lines only; false when the engine can no longer be written to. Safe from any
    // thread.
    bool send(const std::string& line);
    // The next line without its line end, waiting until deadline at most. Only one thread
    // reads.
    ReadResult readLine(Clock::time_point deadline, std::string& line);

    // Waits until deadline for the engine to end by itself, then kills its process group.
    void finish(Clock::time_point deadline);
    void kill();

private:
    void closeSocket();

    pid_t m_pid = -1;
    int m_socket = -1;
    std::mutex m_sendLock;
    std::string m_pending; // read but not yet a whole line
};

// The words of a command as a shell would split it: quotes, escapes, ~ and variables, but
// no command substitution. Empty when the text is empty or not well formed.
std::vector<std::string> commandWords(const std::string& command);

} // namespace ucibridge
