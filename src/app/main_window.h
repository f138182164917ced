#pragma once
// The main window: its class, its creation with the menu bar and button row, and
// the window procedure that routes every message through the message table.

#include <cstdint>

namespace platform {
struct Window;
}

constexpr uintptr_t STATUS_TIMER = 100;

// Once per process; false when the class exists already or cannot be registered.
bool registerMainWindowClass();
// Null when the window could not be made (no menu, no menu bar).
platform::Window* createMainWindow();
intptr_t mainWindowProc(platform::Window* window, unsigned message, uintptr_t wParam,
                        intptr_t lParam);
