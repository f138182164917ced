#pragma once
// Export board image: the position as a PNG file, at a size chosen from a list
// (480 x 480 unless the user picks another), written as safely as a saved game.

#include <cstdint>

namespace platform {
struct Window;
}

int exportImageCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
