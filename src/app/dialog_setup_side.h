#pragma once
// The Setup board side page (119): side to move, castling rights and en-passant file
// of the position being set up.

#include <cstdint>

namespace platform {
struct Window;
}

// OK writes the choices into the set-up position; Cancel leaves it as it was.
intptr_t setupSideDialog(platform::Window* owner);
