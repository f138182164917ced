#pragma once
// The Options sheet: one page (412) with the level, chess set, board type, animation
// and five switches. OK writes them into the application state; the board's bitmaps
// are reloaded when the set or the board changed.

namespace platform {
struct Window;
}

void optionsDialog(platform::Window* window);
