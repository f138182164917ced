#include "engine/level_settings.h"

void LevelSettings::setTournament(int32_t moves1, int32_t seconds1, int32_t moves2,
                                  int32_t seconds2, int32_t moves3, int32_t seconds3) {
    if (moves1 < 0 || seconds1 < 0 || moves2 < 0 || seconds2 < 0 || moves3 < 0 || seconds3 < 0) {
        return;
    }
    tournamentMoves1 = moves1;
    tournamentSeconds1 = seconds1;
    tournamentMoves2 = moves2;
    tournamentSeconds2 = seconds2;
    tournamentMoves3 = moves3;
    tournamentSeconds3 = seconds3;
    mode = LEVEL_TOURNAMENT;
}

void LevelSettings::setBlitz(int32_t seconds, int32_t increment) {
    if (seconds < 0 || increment < 0) {
        return;
    }
    blitzSeconds = seconds;
    blitzIncrement = increment;
    mode = LEVEL_BLITZ;
}

void LevelSettings::setFixed(int32_t plies, int32_t seconds) {
    if (plies <= 0 || seconds <= 0) {
        return;
    }
    fixedPlies = plies;
    fixedSeconds = seconds;
    mode = LEVEL_FIXED;
}

int32_t findLevelPreset(const LevelSettings& level) {
    for (int32_t i = 0; i < LEVEL_PRESET_COUNT; ++i) {
        if (LEVEL_PRESETS[i].plies == level.fixedPlies &&
            LEVEL_PRESETS[i].seconds == level.fixedSeconds) {
            return i;
        }
    }
    return -1;
}
