#pragma once
// The file a user starts the program with: an opening book (".gbk") becomes the book the
// engine uses; a game file (".pgn") opens as Load game opens it, here or in the program
// already running.

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"

namespace platform {
struct Window;
}

struct CommandLinePaths {
    CText book; // empty: none given
    CText pgn;
};

// A path in double quotes, or one without quotes as a Linux shell passes it. Anything
// else (several words in quotes, a path with another ending) gives nothing.
CommandLinePaths pathsFromCommandLine(const char* commandLine);

constexpr uintptr_t OPEN_FILE_TIMER = 105;

// The book is stored as "Bookfilename".
void takeBookFromCommandLine(const CommandLinePaths& paths);
// The game file opens as Load game opens it once the window is on the screen, from the
// message loop (timer 105): a game list waits for nothing of the start-up.
void openGameFromCommandLine(platform::Window* window, const CommandLinePaths& paths);
void openFileTick(platform::Window* window);
// True until the game file of the command line has been opened (or refused).
bool gameFileFromCommandLinePending();
// The files a second start hands to the program already running: absolute, since that
// one runs in another folder.
std::vector<std::string> filesToHandOver(const CommandLinePaths& paths);
