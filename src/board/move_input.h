#pragma once
// The three pointer messages of the main window: WM_LBUTTONDOWN, WM_MOUSEMOVE and
// WM_LBUTTONUP, with the point in lParam. While the engine searches the board
// takes no input.

#include <cstdint>

namespace platform {
struct Window;
}

intptr_t onLButtonDown(platform::Window* window, unsigned message, uintptr_t wParam,
                       intptr_t lParam);
intptr_t onMouseMove(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
intptr_t onLButtonUp(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
