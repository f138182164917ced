#pragma once
// Copy position, Copy game and Paste: positions as FEN and games as PGN, through the
// desktop's clipboard.

#include <cstdint>

namespace platform {
struct Window;
}

// The FEN of the position on the board.
int copyPositionCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
// The game as Save game writes it.
int copyGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
// A FEN starts a new game from its position, after the setup dialog's checks; PGN text
// opens its first game as Load game does. Anything else is refused with a message.
int pasteCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
