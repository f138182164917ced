#include "platform/kernel/paths.h"

#include "platform/kernel/files.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::mutex rootLock;
bool rootGiven = false;
std::string givenRoot;

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return withSlash(home);
    }
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir) {
        return withSlash(account->pw_dir);
    }
    return "/tmp/";
}

std::string environmentFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && *value == '/' ? withSlash(value) : std::string();
}

// The documents folder named in the desktop's user-dirs.dirs, if any.
std::string desktopDocumentsFolder() {
    std::string configured = environmentFolder("XDG_CONFIG_HOME");
    if (configured.empty()) {
        configured = homeFolder() + ".config/";
    }
    std::FILE* dirs = std::fopen((configured + "user-dirs.dirs").c_str(), "r");
    if (!dirs) {
        return {};
    }
    std::string folder;
    char line[1024];
    while (std::fgets(line, sizeof line, dirs)) {
        std::string text(line);
        const std::string key = "XDG_DOCUMENTS_DIR=\"";
        if (text.compare(0, key.size(), key) != 0) {
            continue;
        }
        const size_t end = text.find('"', key.size());
        folder = text.substr(key.size(), end == std::string::npos ? end : end - key.size());
        if (folder.compare(0, 5, "$HOME") == 0) {
            folder = homeFolder() + folder.substr(folder.size() > 5 && folder[5] == '/' ? 6 : 5);
        }
        break;
    }
    std::fclose(dirs);
    return folder.empty() || folder[0] != '/' ? std::string() : withSlash(folder);
}

} // namespace

void setRootFolder(const std::string& folder) {
    std::lock_guard<std::mutex> guard(rootLock);
    rootGiven = true;
    givenRoot = folder;
}

std::string rootFolder() {
    std::string root;
    {
        std::lock_guard<std::mutex> guard(rootLock);
        if (rootGiven) {
            root = givenRoot;
        } else if (const char* fromEnvironment = std::getenv("TALLOWMERE_ROOT")) {
            root = fromEnvironment;
        }
    }
    if (root.empty()) {
        return {};
    }
    if (root[0] != '/') {
        char current[PATH_MAX];
        if (getcwd(current, sizeof current)) {
            root = withSlash(current) + root;
        }
    }
    return withSlash(root);
}

std::string programFilesFolder(const std::string& binaryFolder) {
    // The engine module stands for all the program's files: without it the program cannot
    // start, and the install puts the sounds beside it.
    if (fileExists(binaryFolder + "Tarnwick.pge")) {
        return binaryFolder;
    }
    // Relative to the executable rather than a fixed prefix, so that an install under
    // DESTDIR or a moved install tree still finds its own files.
    std::string parent = binaryFolder.substr(0, binaryFolder.size() - 1);
    parent = parent.substr(0, parent.rfind('/') + 1);
    const std::string installed = parent + "lib/tallowmere/";
    struct stat status{};
    if (!parent.empty() && stat(installed.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        return installed;
    }
    return binaryFolder;
}

std::string executableFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return "./";
    }
    std::string executable(path, size_t(length));
    return programFilesFolder(executable.substr(0, executable.rfind('/') + 1));
}

std::string documentsFolder() {
    std::string folder;
    if (const std::string root = rootFolder(); !root.empty()) {
        folder = root + "Documents/";
    } else {
        folder = desktopDocumentsFolder();
        if (folder.empty()) {
            folder = homeFolder() + "Documents/";
        }
    }
    createFolders(folder.substr(0, folder.size() - 1));
    return folder;
}

std::string configurationFolder() {
    if (const std::string root = rootFolder(); !root.empty()) {
        return root + "config/";
    }
    const std::string configured = environmentFolder("XDG_CONFIG_HOME");
    return configured.empty() ? homeFolder() + ".config/" : configured;
}

std::string runtimeFolder() {
    if (const std::string root = rootFolder(); !root.empty()) {
        return root;
    }
    const std::string runtime = environmentFolder("XDG_RUNTIME_DIR");
    return runtime.empty() ? "/tmp/" : runtime;
}

std::string mapHandheldPath(const std::string& path) {
    static const std::string documentsPrefix = "\\my documents\\";
    std::string lowered;
    for (size_t i = 0; i < path.size() && i < documentsPrefix.size(); ++i) {
        lowered += char(std::tolower(static_cast<unsigned char>(path[i])));
    }
    std::string rest = path;
    std::string mapped;
    if (lowered == documentsPrefix) {
        mapped = documentsFolder();
        rest = path.substr(documentsPrefix.size());
    }
    for (char& c : rest) {
        if (c == '\\') {
            c = '/';
        }
    }
    return mapped + rest;
}

} // namespace platform
