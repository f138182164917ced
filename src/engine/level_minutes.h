#pragma once
// The figures of the blitz and tournament levels as the user reads and types them: times
// in whole minutes as "10", anything else as minutes and seconds, "0:30" or "2:05"; moves
// and increments as whole numbers.

#include <cstdint>

#include "base/text.h"

// seconds >= 0.
CText minutesText(int32_t seconds);

// "10", " 10 ", "0:30" or "2:05" into seconds; false, with seconds untouched, for
// anything else: no digits, a sign, seconds of more than two digits or above 59, a time
// beyond what the level can hold.
bool readMinutes(const char* text, int32_t* seconds);

// A whole number of moves or seconds, blanks around it allowed; false, with value
// untouched, for anything else or one beyond what the level can hold.
bool readCount(const char* text, int32_t* value);
