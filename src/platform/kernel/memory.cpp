#include "platform/kernel/memory.h"

#include <cstdio>
#include <cstring>
#include <sys/sysinfo.h>

namespace platform {

uint64_t freePhysicalMemory() {
    // MemAvailable counts the page cache the kernel would give back, which is
    // what "free" meant on the handheld; sysinfo's freeram alone is far too low.
    if (std::FILE* meminfo = std::fopen("/proc/meminfo", "r")) {
        char line[128];
        unsigned long long kilobytes = 0;
        bool found = false;
        while (std::fgets(line, sizeof line, meminfo)) {
            if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1) {
                found = true;
                break;
            }
        }
        std::fclose(meminfo);
        if (found) {
            return uint64_t(kilobytes) * 1024;
        }
    }
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        return uint64_t(info.freeram) * info.mem_unit;
    }
    return 0;
}

} // namespace platform
