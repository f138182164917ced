#pragma once
// The Engine row of the Options page: Tarnwick, or a UCI engine given by its command
// line, typed or chosen with Browse. The choice takes effect when the sheet has closed.

#include <cstdint>

namespace platform {
struct Window;
}

enum : int {
    IDC_ENGINE = 429,
    IDC_ENGINE_COMMAND = 1109,
    IDC_ENGINE_BROWSE = 1110,
};

// WM_INITDIALOG: the list and the stored command.
void fillEngine(platform::Window* page);
// WM_COMMAND from the row's controls; false for others.
bool engineRowCommand(platform::Window* page, uintptr_t wParam);
// OK: the choice is kept for applyEngineChoice.
void readBackEngine(platform::Window* page);
// After the sheet: a changed choice is stored and the engine replaced.
void applyEngineChoice();
