#pragma once
// The Options sheet: one page (412) with the level, chess set, board type, animation
// and five switches. OK writes them into the application state; the board's bitmaps
// are reloaded when the set or the board changed.

// The sheet's controls, by the identifiers its template gives them.
enum : int {
    IDC_AUTO_ANSWER = 413,
    IDC_HIGHLIGHT_LAST_MOVE = 414,
    IDC_ANIMATION = 422,
    IDC_BOARD_TYPE = 424,
    IDC_SHOW_THINKING = 425,
    IDC_CHESS_SET = 426,
    IDC_SOUND = 427,
    IDC_COACH = 428,
    IDC_LEVEL = 1100,
};

namespace platform {
struct Window;
}

void optionsDialog(platform::Window* window);
