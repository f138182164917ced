#pragma once
// Programs of the suite run as child processes with a root folder of their own: their
// exit code and the lines they print, or a running child to kill.

#include <string>
#include <sys/types.h>
#include <vector>

struct ChildRun {
    int exitCode = -1; // -1: it did not end by itself
    std::vector<std::string> lines;
    // The text after "key " on the first line that starts so; "?" when none does.
    std::string value(const std::string& key) const;
};

// Runs program with arguments under root (TALLOWMERE_ROOT), extra "NAME=VALUE" settings in
// its environment, in folder (empty: this process's own), and waits for it to end.
ChildRun runChild(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& root, const std::vector<std::string>& environment = {},
                  const std::string& folder = "");

// A child that runs on while the test acts on it.
class RunningChild {
public:
    RunningChild(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& root, const std::vector<std::string>& environment = {});
    ~RunningChild();
    RunningChild(const RunningChild&) = delete;
    RunningChild& operator=(const RunningChild&) = delete;

    // Waits until the child prints a line that starts with prefix (kept in *line when
    // given); false when it ends first.
    bool waitForLine(const std::string& prefix, std::string* line = nullptr);
    // Sends signal and collects the child: its exit code, or -1 when the signal ended it.
    int kill(int signal);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_pending;
};
