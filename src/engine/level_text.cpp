#include "engine/level_text.h"

#include <cstdio>

#include "engine/level_minutes.h"
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

// A blitz game's time: "5min", "45s", "2min30s"; never "0min" for a game under a minute.
CText gameTimeText(int32_t seconds) {
    char text[40];
    const int minutes = int(seconds / 60);
    const int rest = int(seconds % 60);
    if (minutes == 0) {
        std::snprintf(text, sizeof text, "%ds", rest);
    } else if (rest == 0) {
        std::snprintf(text, sizeof text, "%dmin", minutes);
    } else {
        std::snprintf(text, sizeof text, "%dmin%ds", minutes, rest);
    }
    return text;
}

} // namespace

CText levelText(const LevelSettings& level) {
    char text[128];
    switch (level.mode) {
    case LEVEL_BLITZ: {
        const CText game = gameTimeText(level.blitzSeconds);
        if (level.blitzIncrement == 0) {
            std::snprintf(text, sizeof text, "Level %s", game.c_str());
        } else {
            std::snprintf(text, sizeof text, "Level %s+%ds", game.c_str(), level.blitzIncrement);
        }
        return text;
    }
    case LEVEL_FIXED:
        return fixedLevelText(level);
    case LEVEL_TOURNAMENT: {
        const CText first = minutesText(level.tournamentSeconds1);
        const CText second = minutesText(level.tournamentSeconds2);
        const CText third = minutesText(level.tournamentSeconds3);
        if (level.tournamentMoves2 == 0) {
            std::snprintf(text, sizeof text, "Level %d/%s,rest/%s", level.tournamentMoves1,
                          first.c_str(), second.c_str());
        } else if (level.tournamentMoves3 == 0) {
            std::snprintf(text, sizeof text, "Level %d/%s,%d/%s,rest/%s", level.tournamentMoves1,
                          first.c_str(), level.tournamentMoves2, second.c_str(), third.c_str());
        } else {
            std::snprintf(text, sizeof text, "Level %d/%s,%d/%s,%d/%s", level.tournamentMoves1,
                          first.c_str(), level.tournamentMoves2, second.c_str(),
                          level.tournamentMoves3, third.c_str());
        }
        return text;
    }
    default:
        return " ";
    }
}
