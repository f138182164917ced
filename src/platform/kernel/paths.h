#pragma once
// Where the program's files live, and the mapping of the handheld's paths.
//
// A root folder (TALLOWMERE_ROOT or --root DIR) moves the registry file, the
// documents folder and the single-instance lock under DIR, so that tests and
// trial runs never touch the user's own files.

#include <string>

namespace platform {

// The root given on the command line wins over the environment; an empty text clears it.
void setRootFolder(const std::string& folder);
// The active root ending with "/", or empty when none is set.
std::string rootFolder();

// The folder of the running executable, ending with "/".
std::string executableFolder();
// The user's documents folder, ending with "/", created when missing.
std::string documentsFolder();
// The folder for the program's configuration (the registry file), ending with "/".
std::string configurationFolder();
// The folder for the single-instance lock, ending with "/".
std::string runtimeFolder();

// "\My Documents\x.pgn" becomes the documents folder plus "x.pgn" (any case of the
// prefix); every other backslash becomes a slash.
std::string mapHandheldPath(const std::string& path);

} // namespace platform
