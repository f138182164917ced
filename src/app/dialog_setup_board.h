#pragma once
// Setup board: the board editor (121), where pieces are placed by tapping, then the
// side page, repeated until the position is legal; a position that differs from the
// game's starts a new game.

namespace platform {
struct Window;
}

void setupBoardDialogs(platform::Window* window);
// A new game from a whole FEN (pasted), after the checks the dialogs make; a position
// that fails them is refused with the dialogs' message and changes nothing.
bool startGameFromFen(platform::Window* window, const char* fen);
