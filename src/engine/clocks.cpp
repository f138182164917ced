#include "engine/clocks.h"

#include "engine/level_settings.h"
#include "engine/think_time.h"
#include "engine/tournament.h"

namespace {

bool clockRuns(const ClockInputs& inputs) {
    return inputs.engineBusy || userClockCounts(inputs.humanClockStart);
}

// The seconds a side may have used by the half-move plyNumber in the blitz and tournament
// levels: the whole allowance, increments and periods included, before any is used.
int64_t allowedSeconds(const LevelSettings& level, int32_t plyNumber, bool white) {
    if (level.mode == LEVEL_BLITZ) {
        const int64_t movesMade = white ? plyNumber / 2 : (plyNumber - 1) / 2;
        return int64_t(level.blitzSeconds) + int64_t(level.blitzIncrement) * movesMade;
    }
    const int64_t moveNumber = (int64_t(plyNumber) + 1) / 2;
    return tournamentRemaining(level, moveNumber, 0).seconds;
}

bool countsDown(const LevelSettings& level) {
    return level.mode == LEVEL_BLITZ || level.mode == LEVEL_TOURNAMENT;
}

} // namespace

uint32_t runningMs(const ClockInputs& inputs) {
    // Tick differences are taken in 32 bits, so that the counter's wrap costs nothing.
    if (inputs.engineBusy) return inputs.now - inputs.searchStartTick;
    return userClockElapsed(inputs.humanClockStart, inputs.now);
}

ClockReading clockReading(int64_t seconds) {
    ClockReading reading;
    int64_t first = seconds / 60;
    int64_t second = seconds % 60;
    if (first > 59) {
        reading.hoursAndMinutes = true;
        reading.colon = seconds % 60 % 2 == 0;
        first = seconds / 60 / 60;
        second = seconds / 60 % 60;
    }
    if (first > 59) {
        first = 59;
        second = 59;
    }
    if (first < 0 || second < 0) {
        first = 0;
        second = 0;
    }
    reading.first = int32_t(first);
    reading.second = int32_t(second);
    return reading;
}

ClockReadings clocks(const LevelSettings& level, const ClockInputs& inputs) {
    const bool fixed = level.mode == LEVEL_FIXED;
    int64_t white = fixed ? 0 : int64_t(inputs.whiteUsedMs / 1000);
    int64_t black = fixed ? 0 : int64_t(inputs.blackUsedMs / 1000);
    (inputs.whiteToMove ? white : black) += runningMs(inputs) / 1000;
    if (countsDown(level)) {
        white = allowedSeconds(level, inputs.plyNumber, true) - white;
        black = allowedSeconds(level, inputs.plyNumber, false) - black;
    }
    return {clockReading(white), clockReading(black)};
}

TimeUp timeUp(const LevelSettings& level, const ClockInputs& inputs) {
    if (!countsDown(level) || !clockRuns(inputs)) return TimeUp::none;
    const bool white = inputs.whiteToMove;
    const uint64_t usedMs = white ? inputs.whiteUsedMs : inputs.blackUsedMs;
    const int64_t leftMs = allowedSeconds(level, inputs.plyNumber, white) * 1000 - int64_t(usedMs) -
                           int64_t(runningMs(inputs));
    if (leftMs >= 0) return TimeUp::none;
    return white ? TimeUp::white : TimeUp::black;
}
