#include "engine/apply_level.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "engine/engine_interface.h"
#include "engine/level_settings.h"
#include "engine/tournament.h"

namespace {

// Stored levels can be large enough that their sums leave the engine's int32.
int32_t saturated(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

// The engine searches to this depth when the time alone is to end the search.
constexpr int32_t TIME_ONLY_PLIES = 99;

} // namespace

LevelCalls levelCalls(const LevelSettings& level, int32_t plyNumber, uint64_t sideToMoveUsedMs) {
    const int64_t moveNumber = (int64_t(plyNumber) + 1) / 2;
    const int64_t usedSeconds = int64_t(sideToMoveUsedMs / 1000);
    LevelCalls calls;
    calls.maxPlies = TIME_ONLY_PLIES;
    if (level.mode == LEVEL_FIXED && level.fixedSeconds == NO_TIME_LIMIT) {
        calls.movesToGo = 1;
        calls.seconds = NO_TIME_LIMIT;
        calls.maxPlies = level.fixedPlies;
    } else if (level.mode == LEVEL_FIXED) {
        calls.sendTimeControl = true;
        calls.movesPerPeriod = 1;
        calls.secondsPerPeriod = level.fixedSeconds;
        calls.movesToGo = 1;
        calls.seconds = level.fixedSeconds;
    } else if (level.mode == LEVEL_BLITZ) {
        calls.sendTimeControl = true;
        calls.seconds = saturated(int64_t(level.blitzSeconds) +
                                  int64_t(level.blitzIncrement) * (moveNumber - 1) - usedSeconds);
        calls.incrementSeconds = level.blitzIncrement;
    } else if (level.mode == LEVEL_TOURNAMENT) {
        const TournamentPeriod period = tournamentPeriod(level, moveNumber);
        const TournamentRemaining remaining = tournamentRemaining(level, moveNumber, usedSeconds);
        calls.sendTimeControl = true;
        calls.movesPerPeriod = period.moves;
        calls.secondsPerPeriod = period.seconds;
        calls.movesToGo = saturated(remaining.movesToGo);
        calls.seconds = saturated(remaining.seconds);
    } else {
        // A mode this program does not know: a modest time per move.
        calls.movesToGo = 1;
        calls.seconds = 5;
    }
    return calls;
}

void applyLevel(const LevelSettings& level, int32_t plyNumber, uint64_t sideToMoveUsedMs,
                const EngineExports& engine) {
    assert(engine.setLevel && engine.setTimeControl);
    const LevelCalls calls = levelCalls(level, plyNumber, sideToMoveUsedMs);
    if (calls.sendTimeControl) {
        engine.setTimeControl(calls.movesPerPeriod, calls.secondsPerPeriod);
    }
    engine.setLevel(calls.movesToGo, calls.seconds, calls.incrementSeconds, calls.maxPlies);
}
