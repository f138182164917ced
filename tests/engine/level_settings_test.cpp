// The level record: its setters, the presets of the Level list, and the level line.
#include <gtest/gtest.h>

#include <string>

#include "engine/level_settings.h"
#include "engine/level_text.h"

#include "level_builders.h"

namespace {

bool sameLevel(const LevelSettings& a, const LevelSettings& b) {
    return a.mode == b.mode && a.tournamentMoves1 == b.tournamentMoves1 &&
           a.tournamentSeconds1 == b.tournamentSeconds1 &&
           a.tournamentMoves2 == b.tournamentMoves2 &&
           a.tournamentSeconds2 == b.tournamentSeconds2 &&
           a.tournamentMoves3 == b.tournamentMoves3 &&
           a.tournamentSeconds3 == b.tournamentSeconds3 && a.blitzSeconds == b.blitzSeconds &&
           a.blitzIncrement == b.blitzIncrement && a.fixedPlies == b.fixedPlies &&
           a.fixedSeconds == b.fixedSeconds;
}

} // namespace

TEST(LevelSettings, SettersTakeOnlyValuesTheyAccept) {
    const LevelSettings built;
    EXPECT_EQ(built.mode, LEVEL_FIXED);
    EXPECT_EQ(built.fixedPlies, 1);
    EXPECT_EQ(built.fixedSeconds, NO_TIME_LIMIT);

    struct Case {
        const char* what;
        LevelSettings level;
        bool changed;
        int mode;
    };
    const Case cases[] = {
        {"tournament", tournament(40, 600, 20, 300, 0, 120), true, LEVEL_TOURNAMENT},
        {"tournament of zeros", tournament(0, 0, 0, 0, 0, 0), true, LEVEL_TOURNAMENT},
        {"tournament with a negative", tournament(40, 600, 20, -1, 0, 120), false, 0},
        {"blitz", blitz(300, 5), true, LEVEL_BLITZ},
        {"blitz without time", blitz(0, 0), true, LEVEL_BLITZ},
        {"blitz with a negative increment", blitz(300, -5), false, 0},
        {"fixed", fixed(99, 30), true, LEVEL_FIXED},
        {"fixed of no plies", fixed(0, 30), false, 0},
        {"fixed of no seconds", fixed(99, 0), false, 0},
        {"fixed of negative seconds", fixed(99, -30), false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(!sameLevel(c.level, built), c.changed) << c.what;
        if (c.changed) {
            EXPECT_EQ(c.level.mode, c.mode) << c.what;
        }
    }
    const LevelSettings set = tournament(40, 600, 20, 300, 0, 120);
    EXPECT_EQ(set.tournamentMoves2, 20);
    EXPECT_EQ(set.tournamentSeconds3, 120);
    EXPECT_EQ(set.blitzSeconds, built.blitzSeconds) << "other groups stay";
}

TEST(LevelSettings, TheLevelListSelectsThePresetOfTheFixedLevel) {
    struct Case {
        int plies, seconds, preset;
    };
    const Case cases[] = {
        {1, NO_TIME_LIMIT, 0},   {3, NO_TIME_LIMIT, 2},  {99, 1, 3},   {99, 30, 8},
        {99, NO_TIME_LIMIT, 10}, {5, NO_TIME_LIMIT, -1}, {99, 45, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findLevelPreset(fixed(c.plies, c.seconds)), c.preset)
            << c.plies << " plies " << c.seconds << " s";
    }
    // A tournament level keeps its fixed values, and the list shows them.
    LevelSettings level = fixed(99, 30);
    level.setTournament(40, 600, 40, 600, 40, 600);
    EXPECT_EQ(findLevelPreset(level), 8);
    EXPECT_STREQ(LEVEL_PRESETS[8].name, "30sec/move");
}

TEST(LevelSettings, TheLevelLineNamesEveryMode) {
    struct Case {
        LevelSettings level;
        const char* text;
    };
    const Case cases[] = {
        {LevelSettings(), "Level Novice"},
        {fixed(2, NO_TIME_LIMIT), "Level Beginner"},
        {fixed(3, NO_TIME_LIMIT), "Level Advanced"},
        {fixed(60, NO_TIME_LIMIT), "Level infinite"},
        {fixed(99, NO_TIME_LIMIT), "Level infinite"},
        {fixed(7, NO_TIME_LIMIT), "Level 7 plies"},
        {fixed(99, 30), "Level 30sec per move"},
        {fixed(1, 5), "Level 5sec per move"},
        {blitz(300, 0), "Level 5min"},
        {blitz(300, 5), "Level 5min+5s"},
        {blitz(180, 2), "Level 3min+2s"},
        {blitz(59, 0), "Level 59s"},
        {blitz(0, 0), "Level 0s"},
        {blitz(30, 1), "Level 30s+1s"},
        {blitz(150, 0), "Level 2min30s"},
        {tournament(40, 600, 0, 300, 40, 600), "Level 40/10,rest/5"},
        {tournament(40, 600, 20, 300, 0, 120), "Level 40/10,20/5,rest/2"},
        {tournament(40, 600, 40, 600, 40, 600), "Level 40/10,40/10,40/10"},
        {tournament(40, 30, 20, 90, 0, 0), "Level 40/0:30,20/1:30,rest/0"},
        {tournament(2147483647, 2147483647, 2147483647, 2147483647, 2147483647, 2147483647),
         "Level 2147483647/35791394:07,2147483647/35791394:07,2147483647/35791394:07"},
        {withMode(0), " "},
        {withMode(-4), " "},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(levelText(c.level).c_str(), c.text);
    }
}
