#pragma once
// A folder of its own for one test, removed with everything in it when the test ends.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tallowmere-test-XXXXXX";
        // Without a folder of its own the test could only write into, and then remove, a
        // shared one: better to stop at once.
        const char* made = mkdtemp(pattern);
        if (!made) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_path = std::string(made) + "/";
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in "/".
    const std::string& path() const { return m_path; }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(m_path + name, std::ios::binary) << content;
    }

private:
    std::string m_path;
};
