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

TEST(ThinkTime, TheUsersClockStartsRestartsAndSurvivesTheWrap) {
    struct Case {
        const char* what;
        uint64_t clockStart;
        uint32_t moveTick;
        uint32_t time;
    };
    const Case cases[] = {
        {"a clock that was not running", 0, 5000, 0},
        {"a running clock", 5000, 12000, 7000},
        {"across the counter's wrap", 0xFFFFFF00u, 0x100, 0x200},
        {"a start with a high word", 0x100001000ull, 0x2000, 0x1000},
    };
    for (const Case& c : cases) {
        uint64_t clockStart = c.clockStart;
        EXPECT_EQ(userMoveTime(clockStart, c.moveTick), c.time) << c.what;
        EXPECT_EQ(clockStart, c.moveTick) << c.what << ": the next move is timed from here";
    }
    EXPECT_EQ(searchTime(1000, 4500), 3500u);
    EXPECT_EQ(searchTime(0xFFFFFFF0u, 0x10), 0x20u);
}
