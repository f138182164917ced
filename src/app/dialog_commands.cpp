#include "app/dialog_commands.h"

#include "app/command_ids.h"
#include "app/dialog_game_file.h"
#include "app/dialog_moves.h"
#include "app/dialog_options.h"
#include "app/dialog_setup_board.h"

int loadGameCommand(platform::Window* window, int, intptr_t, unsigned) {
    loadGame(window);
    return 0;
}

int gameListCommand(platform::Window* window, int, intptr_t, unsigned) {
    gameList(window);
    return 0;
}

int stepGameCommand(platform::Window* window, int id, intptr_t, unsigned) {
    stepGame(window, id == IDM_NEXT_GAME ? 1 : -1);
    return 0;
}

int saveGameCommand(platform::Window* window, int, intptr_t, unsigned) {
    saveGame(window);
    return 0;
}

int gameMovesCommand(platform::Window* window, int, intptr_t, unsigned) {
    gameMovesDialog(window);
    return 0;
}

int optionsCommand(platform::Window* window, int, intptr_t, unsigned) {
    optionsDialog(window);
    return 0;
}

int setupBoardCommand(platform::Window* window, int, intptr_t, unsigned) {
    setupBoardDialogs(window);
    return 0;
}
