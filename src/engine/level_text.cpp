#include "engine/level_text.h"

#include <cstdio>

#include "engine/level_settings.h"

namespace {

CText fixedLevelText(const LevelSettings& level) {
    char text[48];
    if (level.fixedSeconds != NO_TIME_LIMIT) {
        std::snprintf(text, sizeof text, "Level %dsec per move", level.fixedSeconds);
        return text;
    }
    switch (level.fixedPlies) {
    case 60:
    case 99:
        return "Level infinite";
    case 1:
        return "Level Novice";
    case 2:
        return "Level Beginner";
    case 3:
        return "Level Advanced";
    default:
        std::snprintf(text, sizeof text, "Level %d plies", level.fixedPlies);
        return text;
    }
}

} // namespace

CText levelText(const LevelSettings& level) {
    char text[96];
    switch (level.mode) {
    case LEVEL_BLITZ:
        if (level.blitzIncrement == 0) {
            std::snprintf(text, sizeof text, "Level %dmin", level.blitzSeconds / 60);
        } else {
            std::snprintf(text, sizeof text, "Level %dmin+%dsec", level.blitzSeconds / 60,
                          level.blitzIncrement);
        }
        return text;
    case LEVEL_FIXED:
        return fixedLevelText(level);
    case LEVEL_TOURNAMENT:
        if (level.tournamentMoves2 == 0) {
            std::snprintf(text, sizeof text, "Level %d/%d,rest/%d", level.tournamentMoves1,
                          level.tournamentSeconds1 / 60, level.tournamentSeconds2 / 60);
        } else if (level.tournamentMoves3 == 0) {
            std::snprintf(text, sizeof text, "Level %d/%d,%d/%d,rest/%d", level.tournamentMoves1,
                          level.tournamentSeconds1 / 60, level.tournamentMoves2,
                          level.tournamentSeconds2 / 60, level.tournamentSeconds3 / 60);
        } else {
            std::snprintf(text, sizeof text, "Level %d/%d,%d/%d,%d/%d", level.tournamentMoves1,
                          level.tournamentSeconds1 / 60, level.tournamentMoves2,
                          level.tournamentSeconds2 / 60, level.tournamentMoves3,
                          level.tournamentSeconds3 / 60);
        }
        return text;
    default:
        return " ";
    }
}
