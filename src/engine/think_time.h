#pragma once
// The thinking time charged to each move. The tick count wraps at 2^32 ms (49 days):
// every difference is taken in 32 bits, so a wrap between two ticks costs nothing.
//
// Who thinks when: the user's clock runs from the moment the user may move (a new game,
// a restored or loaded game, a navigation step, the end of the engine's move) and stands
// still while a dialog or a message box is open; the engine's time is the length of its
// search.
//
// The user's clock is the application state's humanClockStart, one 64-bit word:
//   0                                   the clock stands still (it was never started);
//   USER_CLOCK_RUNNING | start tick     it runs, started at that tick;
//   USER_CLOCK_PAUSED | elapsed         a dialog is open: the milliseconds it had run
//                                       before it are kept, and time does not count;
//   USER_CLOCK_HELD | elapsed           the side's time has run out: the clock shows
//                                       what it had run until it is started again.
// The running bit keeps a clock started at tick 0 apart from a clock that stands still;
// any other non-zero word is read as running from its low word.

#include <cstdint>

constexpr uint64_t USER_CLOCK_RUNNING = uint64_t(1) << 32;
constexpr uint64_t USER_CLOCK_PAUSED = uint64_t(1) << 33;
constexpr uint64_t USER_CLOCK_HELD = uint64_t(1) << 34;

// The clock runs from now, whatever it held.
void startUserClock(uint64_t& clock, uint32_t now);
// A dialog opens: a running clock keeps what it has run and stops counting. A clock that
// stands still or is paused already stays as it is.
void pauseUserClock(uint64_t& clock, uint32_t now);
// The dialog has closed: a paused clock runs on from what it had run; one started while
// the dialog was open starts again now, when the user can move; the others stay.
void resumeUserClock(uint64_t& clock, uint32_t now);
// Time is up: the clock stops, showing elapsed, and no dialog resumes it.
void holdUserClock(uint64_t& clock, uint32_t elapsed);
// The milliseconds the clock has run by now; 0 for a clock that stands still.
uint32_t userClockElapsed(uint64_t clock, uint32_t now);
// True while the clock counts (it neither stands still nor is paused or held).
bool userClockCounts(uint64_t clock);

// The time of the user's move played at moveTick: what the clock has run, 0 when it
// stands still. The clock then restarts at moveTick: when the engine does not answer,
// the next move is timed from this one, and the clock of the side to move shows that
// side's own thinking.
uint32_t userMoveTime(uint64_t& clock, uint32_t moveTick);

// The time of an engine move: the length of its search.
uint32_t searchTime(uint32_t searchStartTick, uint32_t searchEndTick);
