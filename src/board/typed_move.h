#pragma once
// Moves typed on the keyboard over the main window: letters, digits and "-", "x", "=",
// "+" collect a move text; Return plays it as a tap would (the promotion piece as the
// text names it), Backspace takes back its last character, Escape clears it. A text
// that is no legal move sounds the default sound and is named in the status panel.
// While the engine searches the keyboard takes no moves, as the board takes no taps.

#include <cstdint>

#include "base/text.h"

namespace platform {
struct Window;
}

// WM_CHAR: 1 when the character went into the text.
intptr_t onChar(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// WM_KEYDOWN: 1 when the key acted on the text; Return without a text is left to its
// accelerator (Move now).
intptr_t onKeyDown(platform::Window* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// The status panel's second line while a text is typed ("Move: Nf3") or after one was
// refused ("Not a legal move: Ke2"), for the position it was typed in; empty otherwise.
CText typedMoveLine();
