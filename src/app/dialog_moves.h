#pragma once
// The Moves dialog (112): the game as PGN text, with the current move selected. A tap
// selects the whole move under it; closing goes to the selected move.

namespace platform {
struct Window;
}

void gameMovesDialog(platform::Window* owner);
