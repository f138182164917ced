#pragma once
// The two clocks of the status panel. In the fixed-per-move level they count the
// current move's thinking time up from 0; in the other levels they count each side's
// remaining time down.

#include <cstdint>

struct LevelSettings;

// What the clocks are read from. The fields are the application state's and the
// engine report's; the caller copies them, so this code needs neither.
struct ClockInputs {
    uint64_t whiteUsedMs = 0;
    uint64_t blackUsedMs = 0;
    int32_t plyNumber = 1; // the half-move to be played, 1 at the start
    bool whiteToMove = true;
    bool engineBusy = false;      // the engine is searching
    uint32_t searchStartTick = 0; // when that search began
    uint64_t humanClockStart = 0; // the user's clock (see think_time.h)
    uint32_t now = 0;             // the tick count now
};

// One clock: minutes and seconds, or hours and minutes from one hour on, each limited
// to 0..59 (59:59 beyond, 00:00 below zero).
struct ClockReading {
    int32_t first = 0;
    int32_t second = 0;
    bool hoursAndMinutes = false;
    // Whether the separator shows as ":" now: always for minutes and seconds; for hours
    // and minutes on even seconds, so that the colon blinks once a second.
    bool colon = true;
};

struct ClockReadings {
    ClockReading white;
    ClockReading black;
};

ClockReadings clocks(const LevelSettings& level, const ClockInputs& inputs);

// Whose time has run out: in the blitz and tournament levels, the side to move once its
// running clock (the engine's search or the user's clock) has passed zero. A clock that
// stands still or is paused never runs out.
enum class TimeUp { none, white, black };
TimeUp timeUp(const LevelSettings& level, const ClockInputs& inputs);
// The milliseconds the side to move's clock has run on this move, beyond its used time:
// the engine's search or the user's clock.
uint32_t runningMs(const ClockInputs& inputs);
// A reading of t seconds as the panel shows it.
ClockReading clockReading(int64_t seconds);
