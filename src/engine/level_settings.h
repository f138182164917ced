#pragma once
// LevelSettings: how long or how deep the engine searches, and the presets the
// Options dialog offers.

#include <cstdint>

#include "engine/engine_interface.h"

enum LevelMode : int32_t {
    LEVEL_BLITZ = 1,      // the whole game in a fixed time, with an increment per move
    LEVEL_TOURNAMENT = 2, // periods of so many moves in so many seconds
    LEVEL_FIXED = 3,      // a fixed depth or time per move
};

// No time limit per move: the depth alone ends the search.
constexpr int32_t NO_TIME_LIMIT = ENGINE_NO_TIME_LIMIT;

// Eleven int32 in this order. The initial values are the level of a record that no
// stored value has changed; a setter given values it refuses leaves its group so.
struct LevelSettings {
    int32_t mode = LEVEL_FIXED; // any other value searches 5 seconds per move
    int32_t tournamentMoves1 = 40;
    int32_t tournamentSeconds1 = 300;
    int32_t tournamentMoves2 = 40; // 0: the rest of the game
    int32_t tournamentSeconds2 = 300;
    int32_t tournamentMoves3 = 40; // repeated; 0: the rest of the game
    int32_t tournamentSeconds3 = 300;
    int32_t blitzSeconds = 300;
    int32_t blitzIncrement = 0;
    int32_t fixedPlies = 1;
    int32_t fixedSeconds = NO_TIME_LIMIT;

    // Each sets its group and the mode, only when every value is >= 0.
    void setTournament(int32_t moves1, int32_t seconds1, int32_t moves2, int32_t seconds2,
                       int32_t moves3, int32_t seconds3);
    void setBlitz(int32_t seconds, int32_t increment);
    // Only when both are > 0.
    void setFixed(int32_t plies, int32_t seconds);
};
static_assert(sizeof(LevelSettings) == 11 * sizeof(int32_t), "the level is eleven int32");

struct LevelPreset {
    int32_t plies;
    int32_t seconds;
    const char* name;
};

constexpr LevelPreset LEVEL_PRESETS[] = {
    {1, NO_TIME_LIMIT, "Novice"},
    {2, NO_TIME_LIMIT, "Beginner"},
    {3, NO_TIME_LIMIT, "Advanced"},
    {99, 1, "1sec/move"},
    {99, 2, "2sec/move"},
    {99, 5, "5sec/move"},
    {99, 10, "10sec/move"},
    {99, 15, "15sec/move"},
    {99, 30, "30sec/move"},
    {99, 60, "1min/move"},
    {99, NO_TIME_LIMIT, "Infinite"},
};
constexpr int32_t LEVEL_PRESET_COUNT = int32_t(sizeof LEVEL_PRESETS / sizeof LEVEL_PRESETS[0]);
static_assert(LEVEL_PRESET_COUNT == 11, "the Level list offers eleven presets");

// The first preset whose plies and seconds are the level's fixed ones, or -1.
int32_t findLevelPreset(const LevelSettings& level);
