#pragma once
// The commands on the game shown: a new game, turning the board round, and
// stepping along the main line one move or twenty at a time.

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
