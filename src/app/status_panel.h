#pragma once
// The status panel below the board: the status part of WM_PAINT.

namespace platform {
struct Dc;
}

// Runs after the board part of a paint whose update area is not empty.
void paintStatusPanel(platform::Dc* dc);
