#pragma once
// The subcommands of the tallowmere tool. Each takes the arguments after its own
// name and returns the exit code: 0 success, 1 bad input, 2 bad usage.

#include <string>

class CPosition;

enum : int { EXIT_OK = 0, EXIT_BAD_INPUT = 1, EXIT_BAD_USAGE = 2 };

int fenCommand(int argc, char** argv);
int movesCommand(int argc, char** argv);
int perftCommand(int argc, char** argv);
int divideCommand(int argc, char** argv);
int playCommand(int argc, char** argv);
int statusCommand(int argc, char** argv);
int pgnCommand(int argc, char** argv);

// Prints "usage: ..." for the subcommand on stderr; returns EXIT_BAD_USAGE.
int usageError(const char* usage);

// Checks the form of a FEN, sets the position from it and checks that a game can be
// played from it; otherwise prints one line naming the bad field or the fault on
// stderr and returns false.
bool readFenArgument(const char* text, CPosition& position);

// Why a FEN's form is wrong ("" when it is fine): six fields, eight ranks of eight
// files of known letters, side w or b, castling - or KQkq letters, en passant - or
// a square, two counters.
std::string fenFormProblem(const char* text);
