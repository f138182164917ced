#pragma once
// Start-up figures on request: with TALLOWMERE_START_REPORT set, the program prints
// to standard error how long after its start the first frame was on the screen and
// how much memory it then held. With the value "quit" it then exits.

#include <cstdint>

namespace platform {
struct Window;
}

constexpr uintptr_t START_REPORT_TIMER = 103;

void startReportWhenShown(platform::Window* window);
// Timer 103: reports once the window has been shown.
void startReportTick(platform::Window* window);
