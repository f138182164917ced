#pragma once
// A temporary root folder for one test: registry file, documents and lock live
// there, and the previous root comes back when the test ends.

#include "platform/kernel/paths.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

struct TempRoot {
    std::string path;
    std::string previous;

    TempRoot() : previous(platform::rootFolder()) {
        char pattern[] = "/tmp/tallowmere-platform-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = std::string(made ? made : "/tmp") + "/";
        platform::setRootFolder(path);
    }
    ~TempRoot() {
        platform::setRootFolder(previous);
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
};
