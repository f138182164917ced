#pragma once
// Playing a move: the one way moves, the user's and the engine's, enter the game,
// the clocks and the board.

#include <cstdint>

#include "rules/move.h"

// Adds the move to the game tree at the current node, charges thinkTimeMs to the
// side that moved, makes the move and shows it. False, with nothing changed, when
// the game tree cannot take another node.
bool playMove(CMove move, uint64_t thinkTimeMs, bool animate, bool highlight);
