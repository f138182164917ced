#pragma once
// A registry file of the test's own, under a temporary root, and a fresh read of it.
//
// The registry keeps its file open within a process, so a value read back there may
// come from memory. reopenFromCopy() copies the file under a second root and reads it
// from there, as the next start of the program would read it from disk.

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/kernel/paths.h"
#include "platform/ui/registry.h"

class SettingsRoot {
public:
    SettingsRoot() : m_previous(platform::rootFolder()) { useFolder(makeFolder()); }
    ~SettingsRoot() {
        platform::setRootFolder(m_previous);
        platform::registryReopen();
        std::error_code ignored;
        for (const std::string& folder : m_folders) {
            std::filesystem::remove_all(folder, ignored);
        }
    }
    SettingsRoot(const SettingsRoot&) = delete;
    SettingsRoot& operator=(const SettingsRoot&) = delete;

    std::string filePath() const { return platform::registryFilePath(); }

    void reopenFromCopy() {
        const std::string written = filePath();
        useFolder(makeFolder());
        std::filesystem::create_directories(std::filesystem::path(filePath()).parent_path());
        std::filesystem::copy_file(written, filePath());
        platform::registryReopen();
    }

private:
    std::string makeFolder() {
        char pattern[] = "/tmp/tallowmere-settings-XXXXXX";
        const char* made = mkdtemp(pattern);
        m_folders.push_back(made ? made : "/tmp/tallowmere-settings-failed");
        return m_folders.back() + "/";
    }
    void useFolder(const std::string& folder) {
        platform::setRootFolder(folder);
        platform::registryReopen();
    }

    std::string m_previous;
    std::vector<std::string> m_folders;
};
