#pragma once
// Asked by Save game when the chosen file already holds games: where the game goes.

#include <string>

namespace platform {
struct Window;
}

enum : int {
    IDC_SAVE_QUESTION = 601,
    IDC_SAVE_APPEND = 602,
    IDC_SAVE_REPLACE_GAME = 603,
    IDC_SAVE_REPLACE_FILE = 604,
};

// Apart from IDOK and IDCANCEL, so that a dialog ended any other way reads as a cancel.
enum class SaveChoice { cancel = 0, append = 10, replaceGame, replaceFile };

// games: how many the file holds; loadedGame: the game (0-based) the current game was
// loaded from in this file, or -1, which leaves replacing a game out.
SaveChoice saveChoiceDialog(platform::Window* owner, const std::string& fileName, int games,
                            int loadedGame);
