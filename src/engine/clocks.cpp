#include "engine/clocks.h"

#include "engine/level_settings.h"
#include "engine/tournament.h"

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
    int64_t& moving = inputs.whiteToMove ? white : black;
    // Tick differences are taken in 32 bits, so that the counter's wrap costs nothing.
    if (inputs.engineBusy) {
        moving += uint32_t(inputs.now - inputs.searchStartTick) / 1000;
    } else if (inputs.humanClockStart != 0) {
        moving += uint32_t(inputs.now - uint32_t(inputs.humanClockStart)) / 1000;
    }
    if (level.mode == LEVEL_BLITZ) {
        const int64_t seconds = level.blitzSeconds;
        const int64_t increment = level.blitzIncrement;
        white = seconds + increment * (inputs.plyNumber / 2) - white;
        black = seconds + increment * ((inputs.plyNumber - 1) / 2) - black;
    } else if (level.mode == LEVEL_TOURNAMENT) {
        const int64_t moveNumber = (int64_t(inputs.plyNumber) + 1) / 2;
        white = tournamentRemaining(level, moveNumber, white).seconds;
        black = tournamentRemaining(level, moveNumber, black).seconds;
    }
    return {clockReading(white), clockReading(black)};
}
