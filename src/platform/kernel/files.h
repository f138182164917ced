#pragma once
// Files by name, with the handheld's semantics: renaming never replaces an
// existing file, and finding answers the names matching a pattern in one folder.

#include <string>
#include <vector>

namespace platform {

bool fileExists(const std::string& path);
bool deleteFile(const std::string& path);
// Fails when newPath already exists, like the handheld's MoveFile.
bool renameFile(const std::string& oldPath, const std::string& newPath);
// Names (without folder) of the regular files in folder matching a shell pattern such as "*.pgn",
// sorted; empty when the folder cannot be read.
std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern);
// Creates the folder and its parents; true when it exists afterwards.
bool createFolders(const std::string& path);

} // namespace platform
