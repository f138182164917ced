#pragma once
// Message boxes with the program's caption. While one is open modalOpen is set, so that
// the engine does not play behind it, and the user's clock stands still.

namespace platform {
struct Window;
}

// An OK box owned by window (the main window when null).
void showMessage(platform::Window* window, const char* text);
void showMessage(const char* text);
// OK and Cancel; true for OK.
bool askOkCancel(const char* text);
