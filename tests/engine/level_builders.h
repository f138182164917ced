// Levels of each kind in one line, as the engine suites build them.
#pragma once

#include "engine/level_settings.h"

inline LevelSettings tournament(int m1, int s1, int m2, int s2, int m3, int s3) {
    LevelSettings level;
    level.setTournament(m1, s1, m2, s2, m3, s3);
    return level;
}

inline LevelSettings blitz(int seconds, int increment) {
    LevelSettings level;
    level.setBlitz(seconds, increment);
    return level;
}

inline LevelSettings fixed(int plies, int seconds) {
    LevelSettings level;
    level.setFixed(plies, seconds);
    return level;
}

inline LevelSettings withMode(int mode) {
    LevelSettings level;
    level.mode = mode;
    return level;
}
