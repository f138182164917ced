#include "app/start_report.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>

#include "app/command_ids.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

// Milliseconds since the process was started, from the kernel's own record of it
// (clock ticks of 10 ms on most systems).
long processAgeMs() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // The command name in parentheses may hold blanks; the fields after it are plain.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    // starttime is field 22; the text after ")" begins with field 3.
    for (int index = 3; index <= 22 && fields >> field; ++index) {}
    const double startTicks = std::strtod(field.c_str(), nullptr);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return long(nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK)));
}

long residentKB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmRSS:") == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace

void startReportWhenShown(Window* window) {
    if (std::getenv("TALLOWMERE_START_REPORT")) setTimer(window, START_REPORT_TIMER, 1);
}

void startReportTick(Window* window) {
    if (windowFramesShown(window) == 0) return;
    killTimer(window, START_REPORT_TIMER);
    std::fprintf(stderr, "first frame %ld ms after start, resident %ld kB\n", processAgeMs(),
                 residentKB());
    const char* mode = std::getenv("TALLOWMERE_START_REPORT");
    if (mode && std::strcmp(mode, "quit") == 0)
        postMessage(window, WM_COMMAND, makeWParam(IDM_EXIT, 0), 0);
}
