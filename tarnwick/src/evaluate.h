// Static evaluation: centipawns for the side to move.
#pragma once

#include "eval_params.h"
#include "position.h"

#include <array>

namespace tarnwick {

int evaluate(const Position& pos);

// The evaluation taken apart for the tuner: the middle-game and end-game scores (from White's
// side) are the sums of each weight times its coefficient (White's count minus Black's),
// blended by phase and scaled when the side ahead can rarely win.
struct EvalTrace {
    std::array<int, EVAL_PARAM_COUNT> coefficient{};
    int phase = 0;      // 24 with every piece on the board, 0 with none
    int scaleWhite = 4; // in quarters, applied when White is ahead
    int scaleBlack = 4; // in quarters, applied when Black is ahead
    bool drawn = false; // no side has mating material: the score is 0 whatever the weights
};

// Fills trace and returns what evaluate() returns.
int evaluateTraced(const Position& pos, EvalTrace& trace);

// The weight the evaluation uses for a parameter, 0 <= index < EVAL_PARAM_COUNT.
Score evalWeight(int index);

// Middle-game and end-game values of each piece type, used by move ordering and pruning.
constexpr int PIECE_VALUE[7] = {100, 320, 330, 500, 950, 0, 0};

} // namespace tarnwick
