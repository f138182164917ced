#pragma once
// A temporary root folder for one test: registry file, documents and lock live
// there, and the previous root comes back when the test ends.

#include "platform/kernel/paths.h"

#include <string>

#include "../support/temp_folder.h"

struct TempRoot {
    TempFolder folder;
    std::string path = folder.path();
    std::string previous = platform::rootFolder();

    TempRoot() { platform::setRootFolder(path); }
    ~TempRoot() { platform::setRootFolder(previous); }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
};
