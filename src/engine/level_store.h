#pragma once
// The playing level kept between runs: read at start-up, written at exit.

#include "engine/level_settings.h"

class CSettings;

// A level built afresh, then given the stored values: the missing keys take the values
// below, each group goes through its setter (which refuses bad values), and last the
// stored mode is taken as it is.
LevelSettings loadLevels(CSettings& settings);
void saveLevels(CSettings& settings, const LevelSettings& level);

struct LevelKey {
    const char* key;
    int32_t defaultAtLoad;
};

constexpr LevelKey LEVEL_MODE_KEY = {"LEVEL_MODE", LEVEL_FIXED};
constexpr LevelKey LEVEL_TOURNAMENT_MOVES1_KEY = {"LEVEL_TOURNAMENT_MOVES1", 40};
constexpr LevelKey LEVEL_TOURNAMENT_SECONDS1_KEY = {"LEVEL_TOURNAMENT_SECONDS1", 600};
constexpr LevelKey LEVEL_TOURNAMENT_MOVES2_KEY = {"LEVEL_TOURNAMENT_MOVES2", 40};
constexpr LevelKey LEVEL_TOURNAMENT_SECONDS2_KEY = {"LEVEL_TOURNAMENT_SECONDS2", 600};
constexpr LevelKey LEVEL_TOURNAMENT_MOVES3_KEY = {"LEVEL_TOURNAMENT_MOVES3", 40};
constexpr LevelKey LEVEL_TOURNAMENT_SECONDS3_KEY = {"LEVEL_TOURNAMENT_SECONDS3", 600};
constexpr LevelKey LEVEL_BLITZ_SECONDS_KEY = {"LEVEL_BLITZ_SECONDS", 300};
constexpr LevelKey LEVEL_BLITZ_INCREMENT_KEY = {"LEVEL_BLITZ_INCREMENT", 0};
constexpr LevelKey LEVEL_FIXED_PLIES_KEY = {"LEVEL_FIXED_PLIES", 1};
constexpr LevelKey LEVEL_FIXED_SECONDS_KEY = {"LEVEL_FIXED_SECONDS", NO_TIME_LIMIT};
