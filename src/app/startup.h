#pragma once
// Bringing the program up and down around its message loop.

#include <string>

namespace platform {
struct Window;
}

// The whole run: single-instance test, window, message loop, shutdown. The exit code:
// -1 when another instance runs (which is handed the game file of the command line), 1 when the window class cannot be registered,
// 16 when the window cannot be made or the engine module not loaded, else the code
// the loop ended with.
int winMain(const std::string& commandLine);

// Everything before the message loop: the main window with its menu bar, the status
// timer, the book the command line names, the board's bitmaps; the window is shown;
// the autosaved game, the levels, the engine module and its thread; the command line's game
// file is opened from the message loop once the window is on the screen. Null when the window could not
// be made or the engine module not loaded.
platform::Window* initInstance(const std::string& commandLine = std::string());
// Everything after it: the engine thread ended, timer and bitmaps released, the levels
// stored.
int exitInstance(int exitCode);
