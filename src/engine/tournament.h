#pragma once
// The periods of a tournament level: m1 moves in s1 seconds, then m2 moves with s2
// seconds more, then m3 moves with s3 seconds more, the third period repeated. A
// period of 0 moves lasts for the rest of the game. Figures are 64-bit so that no
// stored level, however large, overflows them.

#include <cstdint>

struct LevelSettings;

struct TournamentPeriod {
    int32_t moves;
    int32_t seconds;
};

struct TournamentRemaining {
    int64_t movesToGo; // 0: the time is for the rest of the game
    int64_t seconds;   // negative once the time is used up
};

// The period that move moveNumber (1 for the first move) falls in.
TournamentPeriod tournamentPeriod(const LevelSettings& level, int64_t moveNumber);
// The moves to the end of that period and the seconds left for them, usedSeconds
// being the time the side has used in the whole game.
TournamentRemaining tournamentRemaining(const LevelSettings& level, int64_t moveNumber,
                                        int64_t usedSeconds);
