// The level the program sets, turned into the search's limits.
#include "time_control.h"

#include <gtest/gtest.h>

namespace {

using tarnwick::Level;
using tarnwick::limitsFor;

Level level(int movesToGo, int seconds, int increment, int plies, int periodMoves = 0) {
    Level l;
    l.movesToGo = movesToGo;
    l.seconds = seconds;
    l.incrementSeconds = increment;
    l.maxPlies = plies;
    l.periodMoves = periodMoves;
    return l;
}

TEST(TimeControl, DepthOnlyLevelsHaveNoClock) {
    for (int plies : {1, 2, 3, 99}) {
        auto limits = limitsFor(level(1, tarnwick::NO_TIME_LIMIT, 0, plies));
        EXPECT_EQ(limits.maxDepth, plies);
        EXPECT_LT(limits.hardMs, 0);
        EXPECT_LT(limits.softMs, 0);
    }
    EXPECT_EQ(limitsFor(level(1, tarnwick::NO_TIME_LIMIT, 0, 0)).maxDepth, 1);
    EXPECT_EQ(limitsFor(level(1, tarnwick::NO_TIME_LIMIT, 0, -5)).maxDepth, 1);
}

TEST(TimeControl, FixedTimePerMoveUsesTheTimeLessTheOverhead) {
    for (int seconds : {1, 5, 30}) {
        auto limits = limitsFor(level(1, seconds, 0, 99, 1));
        EXPECT_EQ(limits.hardMs, seconds * 1000 - 30);
        EXPECT_EQ(limits.softMs, limits.hardMs);
    }
}

TEST(TimeControl, NoLevelEverPlansToPassTheClock) {
    struct Case {
        int movesToGo, periodMoves;
        int64_t remainingMs, incrementMs;
    };
    const Case CASES[] = {
        {0, 0, 10000, 100}, {0, 0, 500, 100}, {0, 0, 120, 100},  {0, 0, 40, 100},
        {0, 0, 5, 0},       {0, 0, 0, 0},     {0, 0, 300000, 0}, {40, 40, 600000, 0},
        {2, 40, 1000, 0},   {1, 40, 1000, 0}, {1, 40, 20, 0},    {20, 20, 100, 0},
    };
    for (const Case& c : CASES) {
        Level l = level(c.movesToGo, int(c.remainingMs / 1000), 0, 99, c.periodMoves);
        l.remainingMs = c.remainingMs;
        l.incrementMs = c.incrementMs;
        auto limits = limitsFor(l);
        EXPECT_GE(limits.hardMs, 1) << c.remainingMs;
        EXPECT_LE(limits.softMs, limits.hardMs) << c.remainingMs;
        if (c.remainingMs > 120)
            EXPECT_LE(limits.hardMs, c.remainingMs - 30) << c.remainingMs;
        else
            EXPECT_LE(limits.hardMs, std::max<int64_t>(c.remainingMs, 1)) << c.remainingMs;
    }
}

TEST(TimeControl, WholeGameLevelsSpreadTheTime) {
    // Blitz 300 + 5 with 345 s left, as the program sends it at move 10.
    auto blitz = limitsFor(level(0, 345, 5, 99));
    EXPECT_GT(blitz.softMs, 5000);
    EXPECT_LT(blitz.hardMs, 345000 / 3 + 5000);
    // Tournament: 20 moves in 900 s.
    auto tournament = limitsFor(level(20, 900, 0, 99, 20));
    EXPECT_GT(tournament.softMs, 10000);
    EXPECT_LE(tournament.hardMs, 900000 / 2);
}

} // namespace
