#include "platform/kernel/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool fileExists(const std::string& path) {
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool deleteFile(const std::string& path) {
    return !path.empty() && unlink(path.c_str()) == 0;
}

bool renameFile(const std::string& oldPath, const std::string& newPath) {
    if (oldPath.empty() || newPath.empty()) {
        return false;
    }
    if (renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // File systems without RENAME_NOREPLACE: a hard link refuses an existing target just as well.
    if (link(oldPath.c_str(), newPath.c_str()) != 0) {
        return false;
    }
    unlink(oldPath.c_str());
    return true;
}

std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
    if (!directory) {
        return names;
    }
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent* entry = readdir(directory)) {
        if (fnmatch(pattern.c_str(), entry->d_name, FNM_PERIOD) == 0 &&
            fileExists(prefix + entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

bool createFolders(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty()) {
            mkdir(part.c_str(), 0755);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace platform
