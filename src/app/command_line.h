#pragma once
// The file a user starts the program with: an opening book (".gbk") becomes the book the
// engine uses; a game file (".pgn") opens with its first game.

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

// The book is stored as "Bookfilename"; the game file's first game becomes the current
// game, as Load game makes it. A file without a readable game is said so and changes
// nothing.
void takeBookFromCommandLine(const CommandLinePaths& paths);
void openGameFromCommandLine(platform::Window* window, const CommandLinePaths& paths);
