#pragma once
// The commands of the command table that open the program's larger dialogs: Load
// game, Save game, Game moves, Options and Setup board.

#include <cstdint>

namespace platform {
struct Window;
}

int loadGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int gameListCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
// Next game and Previous game, by the command's id.
int stepGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int saveGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int gameMovesCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int optionsCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int setupBoardCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
