#include "app/user_clock.h"

#include "app/app_state.h"
#include "engine/think_time.h"
#include "platform/kernel/clock.h"

void startUsersClock() {
    startUserClock(appState.humanClockStart, platform::tickCount());
}

void pauseUsersClock() {
    pauseUserClock(appState.humanClockStart, platform::tickCount());
}

void resumeUsersClock() {
    resumeUserClock(appState.humanClockStart, platform::tickCount());
}
