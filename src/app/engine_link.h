#pragma once
// What the window side asks of the engine link. Until the engine thread exists
// the engine is never busy and every request is answered at once.

#include <cstdint>

// True while the engine thread is inside a search; the board takes no input then.
bool engineBusy();
// Stops a running search and waits until it has ended; harmless when none runs.
void stopSearch();
// Forgets the engine's last line, depth and score.
void clearEngineReport();
// The user's move has been played and adjudicated with reason.
void afterUserMove(int reason);
// The next game starts with empty hash tables.
void clearHashtables();
// WM_ACTIVATE (not inactive) and WM_HIBERNATE.
void onActivate();
void onLowMemory();

namespace platform {
struct Window;
}
// Move now and Hint.
int moveNowCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int hintCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
