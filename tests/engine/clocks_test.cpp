// The clocks of the status panel and the thinking time charged to each move.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/clocks.h"
#include "engine/level_settings.h"
#include "engine/think_time.h"

#include "level_builders.h"

namespace {

// A reading as the panel would show it: "mm:ss", or "hh:mm" / "hh mm" with the blinking colon.
std::string shown(const ClockReading& reading) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%c%02d", reading.first, reading.colon ? ':' : ' ',
                  reading.second);
    return text;
}

} // namespace

TEST(Clocks, AReadingIsMinutesAndSecondsThenHoursAndMinutes) {
    struct Case {
        int64_t seconds;
        const char* shown;
        bool hours;
    };
    const Case cases[] = {
        {0, "00:00", false},         {59, "00:59", false},    {65, "01:05", false},
        {3599, "59:59", false},      {3600, "01:00", true},   {3725, "01 02", true},
        {3724, "01:02", true},       {215999, "59 59", true}, {216000, "59:59", true},
        {1000000000, "59:59", true}, {-3, "00:00", false},    {-65, "00:00", false},
        {-7200, "00:00", false},
    };
    for (const Case& c : cases) {
        const ClockReading reading = clockReading(c.seconds);
        EXPECT_EQ(shown(reading), c.shown) << c.seconds;
        EXPECT_EQ(reading.hoursAndMinutes, c.hours) << c.seconds;
    }
}

TEST(Clocks, FixedLevelsCountTheMoveOtherLevelsCountDown) {
    const LevelSettings perMove;
    struct Case {
        const char* what;
        LevelSettings level;
        ClockInputs inputs;
        const char* white;
        const char* black;
    };
    // Fields: whiteUsedMs, blackUsedMs, plyNumber, whiteToMove, engineBusy,
    // searchStartTick, humanClockStart, now.
    const Case cases[] = {
        {"per move, nobody thinking",
         perMove,
         {50000, 70000, 9, true, false, 0, 0, 99999},
         "00:00",
         "00:00"},
        {"per move, the engine searching for White",
         perMove,
         {50000, 70000, 9, true, true, 1000, 0, 66999},
         "01:05",
         "00:00"},
        {"per move, the user thinking as Black",
         perMove,
         {50000, 70000, 10, false, false, 1000, 500, 3500},
         "00:00",
         "00:03"},
        {"the search's clock across the counter's wrap",
         perMove,
         {0, 0, 1, true, true, 0xFFFFF000u, 0, 1000},
         "00:05",
         "00:00"},
        {"the user's clock across the counter's wrap",
         perMove,
         {0, 0, 2, false, false, 0, 0x1FFFFF000ull, 6000},
         "00:00",
         "00:10"},
        {"blitz at the start", blitz(300, 5), {0, 0, 1, true, false, 0, 0, 5000}, "05:00", "05:00"},
        {"blitz with increments, Black thinking",
         blitz(300, 5),
         {20000, 10999, 4, false, false, 0, 93000, 100000},
         "04:50",
         "04:48"},
        {"blitz, the engine searching for White",
         blitz(300, 0),
         {20000, 10000, 5, true, true, 1000, 0, 31000},
         "04:10",
         "04:50"},
        {"blitz with the time used up",
         blitz(60, 0),
         {61000, 0, 3, true, false, 0, 0, 0},
         "00:00",
         "01:00"},
        {"tournament, first period",
         tournament(40, 600, 20, 300, 0, 120),
         {100000, 200000, 3, true, false, 0, 0, 0},
         "08:20",
         "06:40"},
        {"tournament, second period",
         tournament(40, 600, 20, 300, 0, 120),
         {550000, 600000, 81, true, false, 0, 0, 0},
         "05:50",
         "05:00"},
        {"tournament of hours",
         tournament(40, 7200, 20, 300, 0, 120),
         {0, 1000, 1, true, false, 0, 0, 0},
         "02:00",
         "01 59"},
        {"an unknown mode shows the time used",
         LevelSettings{0},
         {61000, 1000, 3, true, false, 0, 0, 0},
         "01:01",
         "00:01"},
    };
    for (const Case& c : cases) {
        const ClockReadings readings = clocks(c.level, c.inputs);
        EXPECT_EQ(shown(readings.white), c.white) << c.what;
        EXPECT_EQ(shown(readings.black), c.black) << c.what;
    }
}

TEST(Clocks, TheRunningClockOfTheSideToMoveRunsOutInTimedLevelsOnly) {
    struct Case {
        const char* what;
        LevelSettings level;
        ClockInputs inputs;
        TimeUp expected;
    };
    const uint64_t paused = USER_CLOCK_PAUSED | 5000;
    const uint64_t held = USER_CLOCK_HELD | 5000;
    // Fields: whiteUsedMs, blackUsedMs, plyNumber, whiteToMove, engineBusy,
    // searchStartTick, humanClockStart, now.
    const Case cases[] = {
        {"blitz 0 + 0, the clock just started",
         blitz(0, 0),
         {0, 0, 1, true, false, 0, USER_CLOCK_RUNNING | 7000, 7000},
         TimeUp::none},
        {"blitz 0 + 0, a millisecond later",
         blitz(0, 0),
         {0, 0, 1, true, false, 0, USER_CLOCK_RUNNING | 7000, 7001},
         TimeUp::white},
        {"a clock that stands still",
         blitz(0, 0),
         {0, 0, 1, true, false, 0, 0, 7001},
         TimeUp::none},
        {"a clock paused by a dialog",
         blitz(3, 0),
         {0, 0, 1, true, false, 0, paused, 99999},
         TimeUp::none},
        {"a clock held after its time ran out",
         blitz(3, 0),
         {0, 0, 1, true, false, 0, held, 99999},
         TimeUp::none},
        {"blitz, Black's last millisecond",
         blitz(10, 0),
         {0, 9000, 2, false, false, 0, USER_CLOCK_RUNNING | 100, 1100},
         TimeUp::none},
        {"blitz, Black past zero",
         blitz(10, 0),
         {0, 9000, 2, false, false, 0, USER_CLOCK_RUNNING | 100, 1101},
         TimeUp::black},
        {"blitz, the increment of White's moves counts",
         blitz(10, 5),
         {14000, 0, 3, true, false, 0, USER_CLOCK_RUNNING | 0, 1000},
         TimeUp::none},
        {"blitz, past the increment",
         blitz(10, 5),
         {14000, 0, 3, true, false, 0, USER_CLOCK_RUNNING | 0, 1001},
         TimeUp::white},
        {"only the side to move's clock runs out",
         blitz(10, 0),
         {60000, 0, 2, false, false, 0, USER_CLOCK_RUNNING | 0, 100},
         TimeUp::none},
        {"the engine's search runs out",
         blitz(10, 0),
         {0, 8000, 2, false, true, 1000, 0, 3001},
         TimeUp::black},
        {"the engine's search across the counter's wrap",
         blitz(1, 0),
         {0, 0, 1, true, true, 0xFFFFF000u, 0, 0x10},
         TimeUp::white},
        {"tournament, the second period's time counts",
         tournament(40, 600, 20, 300, 0, 120),
         {650000, 0, 81, true, false, 0, USER_CLOCK_RUNNING | 0, 1000},
         TimeUp::none},
        {"tournament, first period used up",
         tournament(40, 600, 20, 300, 0, 120),
         {599500, 0, 79, true, false, 0, USER_CLOCK_RUNNING | 0, 501},
         TimeUp::white},
        {"per move: no clock runs out",
         fixed(99, 1),
         {0, 0, 1, true, true, 0, 0, 99999},
         TimeUp::none},
        {"an unknown mode: no clock runs out",
         withMode(7),
         {0, 0, 1, true, true, 0, 0, 99999},
         TimeUp::none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(timeUp(c.level, c.inputs), c.expected) << c.what;
}

TEST(ThinkTime, TheUsersClockStartsRestartsAndSurvivesTheWrap) {
    struct Case {
        const char* what;
        uint64_t clock;
        uint32_t moveTick;
        uint32_t time;
    };
    const Case cases[] = {
        {"a clock that stands still", 0, 5000, 0},
        {"a running clock", USER_CLOCK_RUNNING | 5000, 12000, 7000},
        {"a clock started at tick 0", USER_CLOCK_RUNNING | 0, 12000, 12000},
        {"a start tick without the running bit", 5000, 12000, 7000},
        {"across the counter's wrap", USER_CLOCK_RUNNING | 0xFFFFFF00u, 0x100, 0x200},
        {"a paused clock gives what it had run", USER_CLOCK_PAUSED | 1500, 99999, 1500},
        {"a held clock gives what it had run", USER_CLOCK_HELD | 2500, 99999, 2500},
    };
    for (const Case& c : cases) {
        uint64_t clock = c.clock;
        EXPECT_EQ(userMoveTime(clock, c.moveTick), c.time) << c.what;
        EXPECT_TRUE(userClockCounts(clock)) << c.what;
        EXPECT_EQ(userClockElapsed(clock, c.moveTick + 250), 250u)
            << c.what << ": the next move is timed from here";
    }
    EXPECT_EQ(searchTime(1000, 4500), 3500u);
    EXPECT_EQ(searchTime(0xFFFFFFF0u, 0x10), 0x20u);
}

TEST(ThinkTime, ADialogsTimeIsNotCharged) {
    // Started at 1000; a dialog from 3000 to 8000; the move at 9000: 3 s of thinking.
    uint64_t clock = 0;
    startUserClock(clock, 1000);
    pauseUserClock(clock, 3000);
    EXPECT_FALSE(userClockCounts(clock));
    EXPECT_EQ(userClockElapsed(clock, 7000), 2000u) << "the clock shows no time passing";
    pauseUserClock(clock, 5000);
    EXPECT_EQ(userClockElapsed(clock, 7000), 2000u) << "a second pause changes nothing";
    resumeUserClock(clock, 8000);
    EXPECT_TRUE(userClockCounts(clock));
    EXPECT_EQ(userMoveTime(clock, 9000), 3000u);

    // Across the counter's wrap.
    startUserClock(clock, 0xFFFFFC00u);
    pauseUserClock(clock, 0xFFFFFE00u);
    resumeUserClock(clock, 0x200);
    EXPECT_EQ(userMoveTime(clock, 0x300), 0x300u);

    // A clock that stands still stays so; one held after its time ran out stays held.
    clock = 0;
    pauseUserClock(clock, 3000);
    resumeUserClock(clock, 4000);
    EXPECT_EQ(clock, 0u);
    holdUserClock(clock, 1234);
    pauseUserClock(clock, 5000);
    resumeUserClock(clock, 9000);
    EXPECT_FALSE(userClockCounts(clock));
    EXPECT_EQ(userClockElapsed(clock, 20000), 1234u);

    // A clock started while the dialog was open starts again when it closes.
    startUserClock(clock, 1000);
    pauseUserClock(clock, 2000);
    startUserClock(clock, 3000);
    resumeUserClock(clock, 8000);
    EXPECT_EQ(userClockElapsed(clock, 8100), 100u);
}
