#pragma once
// Keys typed over a window, for the program to read before its accelerators do.

namespace platform {

struct Window;

// From now on a key typed over window without Ctrl, Alt or Meta reaches its procedure
// first: Return, Backspace and Escape as WM_KEYDOWN (VK_RETURN, VK_BACK, VK_ESCAPE),
// a printable character as WM_CHAR. A nonzero answer takes the key; otherwise it goes
// on to the accelerators and the widgets as before.
void deliverTypedKeys(Window* window);

} // namespace platform
