// Turns the playing level the program sets into the search's time and depth limits.
#pragma once

#include "search.h"

namespace tarnwick {

constexpr int NO_TIME_LIMIT = 999999;

struct Level {
    int movesToGo = 1; // 0: the rest of the game; 1 with a one-move period: fixed time
    int seconds = 5;   // time left for movesToGo moves; NO_TIME_LIMIT: depth only
    int incrementSeconds = 0;
    int maxPlies = 99;
    int periodMoves = 0; // from SetTimeControl
    int periodSeconds = 0;
    // Finer figures for the same level, for front ends that count milliseconds.
    int64_t remainingMs = -1;
    int64_t incrementMs = -1;
    uint64_t maxNodes = 0;   // 0 = no limit
    int moveOverheadMs = 30; // what passing the move back may cost
};

SearchLimits limitsFor(const Level& level);

} // namespace tarnwick
