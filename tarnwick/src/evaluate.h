// Static evaluation: centipawns for the side to move.
#pragma once

#include "position.h"

namespace tarnwick {

int evaluate(const Position& pos);

// Middle-game and end-game values of each piece type, used by move ordering and pruning.
constexpr int PIECE_VALUE[7] = {100, 320, 330, 500, 950, 0, 0};

} // namespace tarnwick
