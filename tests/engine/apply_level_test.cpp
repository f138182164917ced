// What the engine is told before it searches its move, for every kind of level, and the
// tournament periods those figures come from.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/apply_level.h"
#include "engine/engine_interface.h"
#include "engine/level_settings.h"
#include "engine/tournament.h"

#include "level_builders.h"

namespace {

constexpr int32_t INT32_LIMIT = std::numeric_limits<int32_t>::max();

// Plies of White's and Black's move n.
int32_t whitePly(int32_t move) {
    return 2 * move - 1;
}
int32_t blackPly(int32_t move) {
    return 2 * move;
}

// Tournaments of three periods: the last for the rest of the game, or repeated.
const LevelSettings restIn120 = tournament(40, 600, 20, 300, 0, 120);
const LevelSettings repeated = tournament(40, 600, 40, 600, 40, 600);

// The calls the engine received, as text.
std::vector<std::string> received;

void recordLevel(int32_t movesToGo, int32_t seconds, int32_t increment, int32_t plies) {
    received.push_back("SetLevel(" + std::to_string(movesToGo) + "," + std::to_string(seconds) +
                       "," + std::to_string(increment) + "," + std::to_string(plies) + ")");
}

void recordTimeControl(int32_t moves, int32_t seconds) {
    received.push_back("SetTimeControl(" + std::to_string(moves) + "," + std::to_string(seconds) +
                       ")");
}

} // namespace

TEST(ApplyLevel, EveryModeBecomesTheEnginesCalls) {
    struct Case {
        const char* what;
        LevelSettings level;
        int32_t plyNumber;
        uint64_t usedMs;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"first start", LevelSettings(), 1, 0, {"SetLevel(1,999999,0,1)"}},
        {"Advanced", fixed(3, NO_TIME_LIMIT), 8, 4000, {"SetLevel(1,999999,0,3)"}},
        {"30sec/move", fixed(99, 30), 2, 0, {"SetTimeControl(1,30)", "SetLevel(1,30,0,99)"}},
        {"Infinite", fixed(99, NO_TIME_LIMIT), 2, 0, {"SetLevel(1,999999,0,99)"}},
        {"blitz 300+5, Black at move 10",
         blitz(300, 5),
         blackPly(10),
         100999,
         {"SetTimeControl(0,0)", "SetLevel(0,245,5,99)"}},
        {"blitz 300+5, White at move 10",
         blitz(300, 5),
         whitePly(10),
         0,
         {"SetTimeControl(0,0)", "SetLevel(0,345,5,99)"}},
        {"blitz with the time used up",
         blitz(60, 0),
         whitePly(30),
         75000,
         {"SetTimeControl(0,0)", "SetLevel(0,-15,0,99)"}},
        {"tournament, first period",
         restIn120,
         whitePly(1),
         0,
         {"SetTimeControl(40,600)", "SetLevel(40,600,0,99)"}},
        {"tournament 40/600, 20/300, rest/120 at move 41",
         restIn120,
         blackPly(41),
         500000,
         {"SetTimeControl(20,300)", "SetLevel(20,400,0,99)"}},
        {"tournament 40/600, 20/300, rest/120 at move 61",
         restIn120,
         whitePly(61),
         1000000,
         {"SetTimeControl(0,120)", "SetLevel(0,20,0,99)"}},
        {"tournament 40/600 x3 at move 81",
         repeated,
         whitePly(81),
         1000000,
         {"SetTimeControl(40,600)", "SetLevel(40,800,0,99)"}},
        {"tournament 40/600 x3 at move 121",
         repeated,
         blackPly(121),
         2000000,
         {"SetTimeControl(40,600)", "SetLevel(40,400,0,99)"}},
        {"tournament of one period for the game",
         tournament(40, 600, 0, 300, 0, 0),
         whitePly(50),
         0,
         {"SetTimeControl(0,300)", "SetLevel(0,900,0,99)"}},
        {"unknown mode", withMode(0), 1, 0, {"SetLevel(1,5,0,99)"}},
        {"another unknown mode", withMode(9), 30, 0, {"SetLevel(1,5,0,99)"}},
        {"a stored blitz too large for the engine",
         blitz(INT32_LIMIT, INT32_LIMIT),
         whitePly(1000),
         0,
         {"SetTimeControl(0,0)", "SetLevel(0,2147483647,2147483647,99)"}},
        {"a stored tournament too large for the engine",
         tournament(1, INT32_LIMIT, 1, INT32_LIMIT, 1, INT32_LIMIT),
         whitePly(500),
         0,
         {"SetTimeControl(1,2147483647)", "SetLevel(1,2147483647,0,99)"}},
        {"a clock beyond the engine's seconds",
         blitz(0, 0),
         whitePly(2),
         uint64_t(1) << 60,
         {"SetTimeControl(0,0)", "SetLevel(0,-2147483648,0,99)"}},
    };
    EngineExports engine;
    engine.setLevel = recordLevel;
    engine.setTimeControl = recordTimeControl;
    for (const Case& c : cases) {
        received.clear();
        applyLevel(c.level, c.plyNumber, c.usedMs, engine);
        EXPECT_EQ(received, c.calls) << c.what;
    }
}

TEST(Tournament, PeriodsAndWhatIsLeftOfThem) {
    struct Case {
        const char* what;
        LevelSettings level;
        int64_t moveNumber;
        int64_t usedSeconds;
        TournamentPeriod period;
        TournamentRemaining remaining;
    };
    const LevelSettings restAfterOne = tournament(40, 600, 0, 300, 40, 600);
    const Case cases[] = {
        {"move 1", restIn120, 1, 0, {40, 600}, {40, 600}},
        {"last move of the first period", restIn120, 40, 590, {40, 600}, {1, 10}},
        {"first move of the second", restIn120, 41, 0, {20, 300}, {20, 900}},
        {"last move of the second", restIn120, 60, 0, {20, 300}, {1, 900}},
        {"the rest of the game", restIn120, 61, 0, {0, 120}, {0, 1020}},
        {"far into the rest", restIn120, 500, 1100, {0, 120}, {0, -80}},
        {"third period, once", repeated, 81, 0, {40, 600}, {40, 1800}},
        {"third period, once, later", repeated, 100, 0, {40, 600}, {21, 1800}},
        {"third period, last move of the first", repeated, 120, 0, {40, 600}, {1, 1800}},
        {"third period, twice", repeated, 121, 100, {40, 600}, {40, 2300}},
        {"no second period", restAfterOne, 41, 0, {0, 300}, {0, 900}},
        {"no moves in the first period",
         tournament(0, 60, 10, 60, 0, 0),
         1,
         0,
         {10, 60},
         {10, 120}},
    };
    for (const Case& c : cases) {
        const TournamentPeriod period = tournamentPeriod(c.level, c.moveNumber);
        const TournamentRemaining remaining =
            tournamentRemaining(c.level, c.moveNumber, c.usedSeconds);
        EXPECT_EQ(period.moves, c.period.moves) << c.what;
        EXPECT_EQ(period.seconds, c.period.seconds) << c.what;
        EXPECT_EQ(remaining.movesToGo, c.remaining.movesToGo) << c.what;
        EXPECT_EQ(remaining.seconds, c.remaining.seconds) << c.what;
    }
}
