#pragma once
// The thinking time charged to each move. The tick count wraps at 2^32 ms (49 days):
// every difference is taken in 32 bits, so a wrap between two ticks costs nothing.
//
// Who thinks when: the human clock (humanClockStart, the tick count in its low word,
// 0 while it does not run) starts when the engine's move is played and is stopped
// by a new game, by going to a node, by the navigation commands and by the Options
// dialog; the engine's time is the length of its search.

#include <cstdint>

// The time of the user's move played at moveTick. A clock that was not running gives
// 0. The clock then restarts at moveTick: when the engine does not answer, the next
// move is timed from this one rather than from the first move after the clock started,
// and the clock of the side to move shows that side's own thinking.
uint32_t userMoveTime(uint64_t& humanClockStart, uint32_t moveTick);

// The time of an engine move: the length of its search.
uint32_t searchTime(uint32_t searchStartTick, uint32_t searchEndTick);
