#pragma once
// The engine link on the interface thread: loading the engine module, its thread,
// asking it for moves, stopping it, and playing its move when a search ends.
//
// The engine thread only searches. When a search ends it posts WM_SEARCH_ENDED; the move
// is played here, once no move is being animated and no dialog is open, and only if the
// game still stands where the search began. The hint's search ends the same way, and its
// move is shown then; the window goes on meanwhile.
//
// The interface never waits for the engine for long: an engine that does not start within
// ten seconds, or does not stop within two seconds of being told to, is given up. The
// status panel says so, and the program carries on without an engine; the thread that
// hangs is left where it is, with its module loaded under it.

#include <cstdint>
#include <string>

#include "app/engine_note.h"
#include "engine/clocks.h"
#include "platform/ui/messages.h"

namespace platform {
struct Window;
}

// Posted by the engine thread: wParam names the search, lParam is its length in ms.
constexpr unsigned WM_SEARCH_ENDED = platform::WM_USER + 1;
// Polls, while an animation or a dialog holds the engine's move back.
constexpr uintptr_t ENGINE_MOVE_TIMER = 104;

// Start-up: a stale "Tarnwick.dll" goes; the module is loaded (false, after a message
// naming the file or the missing export, when it cannot be); the thread is started.
void deleteStaleEngineModule();
bool loadEngineModule();
void startEngineThread();
// Exit: the search is stopped, its move dropped, and the thread ends (before the main
// window goes, since it posts to it). The module stays loaded until the process ends.
void endEngineThread();
// Collects the threads of engines given up on that have ended since (their engine
// returned after all); returns how many still run. Never waits.
int reapAbandonedEngines();
// The engine chosen now replaces the one playing: its thread ends, its module goes, and the
// chosen one is loaded and started (Tarnwick, after a message, when it does not start).
void switchEngineModule();

// True while the engine searches, or its move is still to be played: the board takes
// no input then.
bool engineBusy();
// Stops a running search and waits until it has ended (or the engine is given up);
// harmless when none runs. Its move is played unless autoMove was cleared first. A hint
// under way ends unshown.
void stopSearch();
// Forgets the engine's last line, depth and score; a move not yet played is dropped, and
// a hint under way ends unshown.
void clearEngineReport();
// What the status panel is to say about the engine instead of its first line.
EngineNote engineNote();
// The user's move has been played and adjudicated with reason.
void afterUserMove(int reason);
// The engine searches the current position for the side to move.
void startEngineMove();
// The next game starts with empty hash tables.
void clearHashtables();
// WM_ACTIVATE (not inactive) and WM_HIBERNATE.
void onActivate();
void onLowMemory();

// WM_SEARCH_ENDED and ENGINE_MOVE_TIMER.
intptr_t onSearchEnded(platform::Window* window, unsigned message, uintptr_t wParam,
                       intptr_t lParam);
void engineMoveTimer(platform::Window* window);

// What the two clocks are read from now.
ClockInputs clockInputs();

// Move now, Hint, and Escape, which ends a hint under way.
int moveNowCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int hintCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int cancelCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);

enum class HintSearch {
    started,
    noEngine,     // no engine thread runs to search
    engineSilent, // the engine was given up; the panel says so
};
// Starts the hint's search of the current position: five seconds at any level. When it
// ends, showHintMove gets its move, unless the position has changed or the hint was
// ended before. The engine must be idle.
HintSearch startHintSearch();
// True from the hint's request until its move is shown or the hint is ended.
bool hintUnderway();

// Where the module is looked for, ending with "/"; empty (the default) means the
// executable's folder. Tests load their own engines this way.
void setEngineFolder(const std::string& folder);
