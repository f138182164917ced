#pragma once
// WM_COMMAND: the command table and the small commands of the shell itself.

#include <cstdint>

namespace platform {
struct Window;
}

using CommandHandler = int (*)(platform::Window* window, int id, intptr_t lParam,
                               unsigned notification);

// The handler's result, or 0 when the id is not in the table.
intptr_t onCommand(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);

int helpCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int aboutCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int exitCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
// True while the Exit command closes the window.
bool exitUnderway();

// Shows the help file at an anchor such as "Main_Contents".
void showHelpAt(const char* anchor);
