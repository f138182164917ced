// The figures of the timed levels as the user reads and types them.
#include <gtest/gtest.h>

#include <string>

#include "engine/level_minutes.h"

TEST(LevelMinutes, TimesShowInMinutesAndReadBackTheSame) {
    struct Case {
        int32_t seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},     {30, "0:30"}, {59, "0:59"},     {60, "1"},
        {65, "1:05"}, {600, "10"},  {7199, "119:59"}, {2147483647, "35791394:07"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(minutesText(c.seconds).c_str(), c.text) << c.seconds;
        int32_t seconds = -1;
        EXPECT_TRUE(readMinutes(c.text, &seconds)) << c.text;
        EXPECT_EQ(seconds, c.seconds) << c.text;
    }
}

TEST(LevelMinutes, TypedFiguresReadOrAreRefusedWhole) {
    struct Case {
        const char* text;
        bool minutesRead;
        int32_t seconds; // when read
        bool countRead;
        int32_t count; // when read
    };
    const Case cases[] = {
        {"5", true, 300, true, 5},
        {" 5 ", true, 300, true, 5},
        {"0:5", true, 5, false, 0},
        {"007", true, 420, true, 7},
        {"2:05", true, 125, false, 0},
        {"", false, 0, false, 0},
        {"  ", false, 0, false, 0},
        {"-1", false, 0, false, 0},
        {"+1", false, 0, false, 0},
        {"1.5", false, 0, false, 0},
        {"5 min", false, 0, false, 0},
        {"1:60", false, 0, false, 0},
        {"1:005", false, 0, false, 0},
        {"1:", false, 0, false, 0},
        {":30", false, 0, false, 0},
        {"1:2:3", false, 0, false, 0},
        {"2147483647", false, 0, true, 2147483647},
        {"2147483648", false, 0, false, 0},
        {"35791394:07", true, 2147483647, false, 0},
        {"35791394:08", false, 0, false, 0},
        {"99999999999999999999", false, 0, false, 0},
    };
    for (const Case& c : cases) {
        int32_t seconds = -7;
        EXPECT_EQ(readMinutes(c.text, &seconds), c.minutesRead) << '"' << c.text << '"';
        EXPECT_EQ(seconds, c.minutesRead ? c.seconds : -7) << '"' << c.text << '"';
        int32_t count = -7;
        EXPECT_EQ(readCount(c.text, &count), c.countRead) << '"' << c.text << '"';
        EXPECT_EQ(count, c.countRead ? c.count : -7) << '"' << c.text << '"';
    }
}
