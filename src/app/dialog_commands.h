#pragma once
// The commands that open the program's larger dialogs. Until those dialogs
// exist the commands do nothing.

#include <cstdint>

namespace platform {
struct Window;
}

int loadGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int saveGameCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int gameMovesCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int optionsCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
int setupBoardCommand(platform::Window* window, int id, intptr_t lParam, unsigned notification);
