#include "app/dialog_commands.h"

int loadGameCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}

int saveGameCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}

int gameMovesCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}

int optionsCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}

int setupBoardCommand(platform::Window*, int, intptr_t, unsigned) {
    return 0;
}
