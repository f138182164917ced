#include "engine/tournament.h"

#include "engine/level_settings.h"

TournamentPeriod tournamentPeriod(const LevelSettings& level, int64_t moveNumber) {
    const int64_t m1 = level.tournamentMoves1;
    const int64_t m2 = level.tournamentMoves2;
    if (moveNumber <= m1) {
        return {level.tournamentMoves1, level.tournamentSeconds1};
    }
    // A second period of 0 moves lasts for the rest of the game: no third period follows.
    if (m2 == 0 || moveNumber <= m1 + m2) {
        return {level.tournamentMoves2, level.tournamentSeconds2};
    }
    return {level.tournamentMoves3, level.tournamentSeconds3};
}

TournamentRemaining tournamentRemaining(const LevelSettings& level, int64_t moveNumber,
                                        int64_t usedSeconds) {
    const int64_t m1 = level.tournamentMoves1;
    const int64_t m2 = level.tournamentMoves2;
    const int64_t m3 = level.tournamentMoves3;
    const int64_t s1 = level.tournamentSeconds1;
    const int64_t s2 = level.tournamentSeconds2;
    const int64_t s3 = level.tournamentSeconds3;
    if (moveNumber <= m1) {
        return {m1 - moveNumber + 1, s1 - usedSeconds};
    }
    if (m2 == 0) {
        return {0, s1 + s2 - usedSeconds};
    }
    if (moveNumber <= m1 + m2) {
        return {m1 + m2 - moveNumber + 1, s1 + s2 - usedSeconds};
    }
    if (m3 == 0) {
        return {0, s1 + s2 + s3 - usedSeconds};
    }
    // The third period repeats: k is the number of third periods begun at this move.
    const int64_t k = (moveNumber - m1 - m2 - 1) / m3 + 1;
    return {m3 * k - moveNumber + m1 + m2 + 1, s1 + s2 + s3 * k - usedSeconds};
}
