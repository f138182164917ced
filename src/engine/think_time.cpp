#include "engine/think_time.h"

uint32_t userMoveTime(uint64_t& humanClockStart, uint32_t moveTick) {
    const uint32_t time = humanClockStart == 0 ? 0 : moveTick - uint32_t(humanClockStart);
    humanClockStart = moveTick;
    return time;
}

uint32_t searchTime(uint32_t searchStartTick, uint32_t searchEndTick) {
    return searchEndTick - searchStartTick;
}
