#pragma once
// The commands on the game shown: a new game, turning the board round, and
// stepping along the main line one move, twenty, or all the way at a time.

#include <cstdint>

namespace platform {
struct Window;
}

// At most this many half-moves per fast step.
constexpr int FAST_STEP_MOVES = 20;

int newGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int flipBoard(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int stepBack(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int stepForward(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int fastBack(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int fastForward(platform::Window* window, int id, intptr_t lParam, unsigned notification);
// Home and End: to the start of the game, to the end of the main line from here.
int gameStart(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int mainLineEnd(platform::Window* window, int id, intptr_t lParam, unsigned notification);
