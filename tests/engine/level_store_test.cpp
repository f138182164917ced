// The level kept between runs: defaults for what is missing, the setters' refusals,
// the stored mode taken as it is, the order of the writes, and the registry file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/level_store.h"
#include "memory_settings.h"
#include "settings/option_keys.h"
#include "settings/registry_settings.h"
#include "settings/settings_root.h"

namespace {

std::vector<int32_t> fields(const LevelSettings& level) {
    return {level.mode,
            level.tournamentMoves1,
            level.tournamentSeconds1,
            level.tournamentMoves2,
            level.tournamentSeconds2,
            level.tournamentMoves3,
            level.tournamentSeconds3,
            level.blitzSeconds,
            level.blitzIncrement,
            level.fixedPlies,
            level.fixedSeconds};
}

} // namespace

TEST(LevelStore, LoadingTakesDefaultsThenTheSettersThenTheMode) {
    struct Case {
        const char* what;
        std::map<std::string, int32_t> stored;
        std::vector<int32_t> level; // in the order of the record's fields
    };
    const Case cases[] = {
        {"nothing stored", {}, {3, 40, 600, 40, 600, 40, 600, 300, 0, 1, NO_TIME_LIMIT}},
        {"a blitz level",
         {{"LEVEL_MODE", 1}, {"LEVEL_BLITZ_SECONDS", 180}, {"LEVEL_BLITZ_INCREMENT", 2}},
         {1, 40, 600, 40, 600, 40, 600, 180, 2, 1, NO_TIME_LIMIT}},
        {"a refused tournament keeps the built-in periods",
         {{"LEVEL_MODE", 2}, {"LEVEL_TOURNAMENT_SECONDS2", -1}},
         {2, 40, 300, 40, 300, 40, 300, 300, 0, 1, NO_TIME_LIMIT}},
        {"a refused fixed level keeps one ply",
         {{"LEVEL_FIXED_PLIES", 0}, {"LEVEL_FIXED_SECONDS", 30}},
         {3, 40, 600, 40, 600, 40, 600, 300, 0, 1, NO_TIME_LIMIT}},
        {"stored values without a mode leave the fixed level",
         {{"LEVEL_TOURNAMENT_MOVES1", 30}, {"LEVEL_FIXED_PLIES", 99}, {"LEVEL_FIXED_SECONDS", 5}},
         {3, 30, 600, 40, 600, 40, 600, 300, 0, 99, 5}},
        {"an unknown mode is kept",
         {{"LEVEL_MODE", 7}},
         {7, 40, 600, 40, 600, 40, 600, 300, 0, 1, NO_TIME_LIMIT}},
    };
    for (const Case& c : cases) {
        MemorySettings settings;
        settings.ints = c.stored;
        EXPECT_EQ(fields(loadLevels(settings)), c.level) << c.what;
        EXPECT_TRUE(settings.written.empty()) << c.what;
    }
}

TEST(LevelStore, SavingWritesElevenKeysInItsOrder) {
    LevelSettings level;
    level.setTournament(1, 2, 3, 4, 5, 6);
    level.setBlitz(7, 8);
    level.setFixed(9, 10);
    level.mode = 2;
    MemorySettings settings;
    saveLevels(settings, level);
    const std::vector<std::string> order = {"LEVEL_TOURNAMENT_MOVES1",
                                            "LEVEL_TOURNAMENT_MOVES2",
                                            "LEVEL_TOURNAMENT_MOVES3",
                                            "LEVEL_TOURNAMENT_SECONDS1",
                                            "LEVEL_TOURNAMENT_SECONDS2",
                                            "LEVEL_TOURNAMENT_SECONDS3",
                                            "LEVEL_BLITZ_SECONDS",
                                            "LEVEL_BLITZ_INCREMENT",
                                            "LEVEL_FIXED_PLIES",
                                            "LEVEL_FIXED_SECONDS",
                                            "LEVEL_MODE"};
    EXPECT_EQ(settings.written, order);
    EXPECT_EQ(fields(loadLevels(settings)), fields(level));
}

TEST(LevelStore, ALevelSurvivesTheRegistryFile) {
    LevelSettings perMove;
    perMove.setTournament(40, 600, 20, 300, 0, 120);
    perMove.setFixed(99, 30);
    LevelSettings shortBlitz;
    shortBlitz.setBlitz(0, 0);
    LevelSettings blitzUnderAMinute;
    blitzUnderAMinute.setFixed(99, 5);
    blitzUnderAMinute.setBlitz(45, 2);
    LevelSettings tournament;
    tournament.setBlitz(180, 2);
    tournament.setTournament(40, 5400, 20, 1800, 0, 930);
    LevelSettings repeatedPeriods;
    repeatedPeriods.setTournament(30, 90, 10, 60, 5, 30);
    const LevelSettings levels[] = {perMove, shortBlitz, blitzUnderAMinute, tournament,
                                    repeatedPeriods};
    for (const LevelSettings& level : levels) {
        SettingsRoot root;
        {
            CRegistrySettings settings(SETTINGS_KEY);
            saveLevels(settings, level);
        }
        root.reopenFromCopy();
        CRegistrySettings settings(SETTINGS_KEY);
        EXPECT_EQ(fields(loadLevels(settings)), fields(level)) << "mode " << level.mode;
    }
}
