#pragma once
// Time as the handheld offered it: a millisecond tick count, sleeping, and the local date and time.

#include <cstdint>

namespace platform {

struct DateTime {
    int year;
    int month;     // 1 to 12
    int day;       // 1 to 31
    int dayOfWeek; // 0 = Sunday
    int hour;
    int minute;
    int second;
    int millisecond;
};

// Milliseconds since an arbitrary start, wrapping at 2^32 like the handheld's counter.
uint32_t tickCount();
void sleepMs(uint32_t milliseconds);
DateTime localDateTime();

} // namespace platform
