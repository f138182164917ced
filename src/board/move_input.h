#pragma once
// The three pointer messages of the main window: WM_LBUTTONDOWN, WM_MOUSEMOVE and
// WM_LBUTTONUP, with the point in lParam. While the engine searches the board
// takes no input.

#include <cstdint>

#include "rules/move.h"

namespace platform {
struct Window;
}

intptr_t onLButtonDown(platform::Window* window, unsigned message, uintptr_t wParam,
                       intptr_t lParam);
intptr_t onMouseMove(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
intptr_t onLButtonUp(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// A legal move of the user's, promotion piece chosen: the clock, the game, the engine's turn.
void playUserMove(platform::Window* window, CMove move, bool animate);
