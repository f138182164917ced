#include "engine/think_time.h"

namespace {

constexpr uint64_t STOPPED_WITH_TIME = USER_CLOCK_PAUSED | USER_CLOCK_HELD;

uint32_t lowWord(uint64_t clock) {
    return uint32_t(clock);
}

} // namespace

void startUserClock(uint64_t& clock, uint32_t now) {
    clock = USER_CLOCK_RUNNING | now;
}

void pauseUserClock(uint64_t& clock, uint32_t now) {
    if (!userClockCounts(clock)) return;
    clock = USER_CLOCK_PAUSED | userClockElapsed(clock, now);
}

void resumeUserClock(uint64_t& clock, uint32_t now) {
    if (clock & USER_CLOCK_PAUSED) {
        startUserClock(clock, now - lowWord(clock));
    } else if (userClockCounts(clock)) {
        startUserClock(clock, now);
    }
}

void holdUserClock(uint64_t& clock, uint32_t elapsed) {
    clock = USER_CLOCK_HELD | elapsed;
}

uint32_t userClockElapsed(uint64_t clock, uint32_t now) {
    if (clock == 0) return 0;
    if (clock & STOPPED_WITH_TIME) return lowWord(clock);
    return now - lowWord(clock);
}

bool userClockCounts(uint64_t clock) {
    return clock != 0 && (clock & STOPPED_WITH_TIME) == 0;
}

uint32_t userMoveTime(uint64_t& clock, uint32_t moveTick) {
    const uint32_t time = userClockElapsed(clock, moveTick);
    startUserClock(clock, moveTick);
    return time;
}

uint32_t searchTime(uint32_t searchStartTick, uint32_t searchEndTick) {
    return searchEndTick - searchStartTick;
}
