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

// The folder the program keeps its engine module and sounds in, ending with "/": the
// executable's own folder when they lie beside it (as in the build folder), otherwise the
// installed data folder of a `make install` (programFilesFolder below).
std::string executableFolder();
// The choice of executableFolder for an executable in binaryFolder (ending with "/"):
// binaryFolder when it holds the engine module, otherwise binaryFolder/../lib/tallowmere/
// when that folder exists, otherwise binaryFolder.
std::string programFilesFolder(const std::string& binaryFolder);
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
