#include "app/commands.h"

#include <string>

#include "app/app_state.h"
#include "app/clipboard_commands.h"
#include "app/command_ids.h"
#include "app/dialog_commands.h"
#include "app/export_image.h"
#include "app/dialog_modal.h"
#include "app/engine_link.h"
#include "app/game_commands.h"
#include "app/shell.h"
#include "platform/ui/dialog.h"
#include "platform/ui/help.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

struct CommandEntry {
    int id;
    CommandHandler handler;
};

// Searched in this order.
constexpr CommandEntry COMMAND_TABLE[] = {
    {IDM_NEW_GAME, newGameCommand},
    {IDM_SAVE_GAME, saveGameCommand},
    {IDM_LOAD_GAME, loadGameCommand},
    {IDM_GAME_LIST, gameListCommand},
    {IDM_NEXT_GAME, stepGameCommand},
    {IDM_PREVIOUS_GAME, stepGameCommand},
    {IDM_GAME_MOVES, gameMovesCommand},
    {IDM_EXIT, exitCommand},
    {IDM_EXIT_AT_ONCE, exitCommand},
    {IDM_OPTIONS, optionsCommand},
    {IDM_FLIP_BOARD, flipBoard},
    {IDM_MOVE_NOW, moveNowCommand},
    {IDM_HELP, helpCommand},
    {IDM_ABOUT, aboutCommand},
    {IDM_BACK, stepBack},
    {IDM_FORWARD, stepForward},
    {IDM_HINT, hintCommand},
    {IDM_SETUP_BOARD, setupBoardCommand},
    {IDM_FAST_BACK, fastBack},
    {IDM_FAST_FORWARD, fastForward},
    {IDM_CANCEL, cancelCommand},
    {IDM_GAME_START, gameStart},
    {IDM_MAIN_LINE_END, mainLineEnd},
    {IDM_COPY_POSITION, copyPositionCommand},
    {IDM_COPY_GAME, copyGameCommand},
    {IDM_PASTE, pasteCommand},
    {IDM_EXPORT_IMAGE, exportImageCommand},
};

intptr_t aboutDialogProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_COMMAND:
        if (loWord(wParam) == IDOK || loWord(wParam) == IDCANCEL) {
            endDialog(dialog, loWord(wParam));
            return 1;
        }
        return 0;
    case WM_HELP:
        showHelpAt("About");
        return 1;
    default:
        return 0;
    }
}

} // namespace

intptr_t onCommand(Window* window, unsigned, uintptr_t wParam, intptr_t lParam) {
    const int id = loWord(wParam);
    for (const CommandEntry& entry : COMMAND_TABLE) {
        if (entry.id == id) return entry.handler(window, id, lParam, hiWord(wParam));
    }
    return 0;
}

void showHelpAt(const char* anchor) {
    showHelp((std::string("TallowmereChess.htm#") + anchor).c_str());
}

int helpCommand(Window*, int, intptr_t, unsigned) {
    showHelpAt("Main_Contents");
    return 0;
}

int aboutCommand(Window* window, int, intptr_t, unsigned) {
    const ModalScope modal;
    dialogBox("aboutbox", window, aboutDialogProc);
    return 0;
}
