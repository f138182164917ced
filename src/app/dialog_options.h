#pragma once
// The Options sheet: one page (412) with the level, chess set, board type, animation
// and five switches. OK writes them into the application state; the board's bitmaps
// are reloaded when the set or the board changed. The level is a preset, or a blitz or
// tournament level with the figures typed on the page.

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
    IDC_BLITZ_MINUTES = 1101,
    IDC_BLITZ_INCREMENT = 1102,
    IDC_PERIOD1_MOVES = 1103,
    IDC_PERIOD1_MINUTES = 1104,
    IDC_PERIOD2_MOVES = 1105,
    IDC_PERIOD2_MINUTES = 1106,
    IDC_PERIOD3_MOVES = 1107,
    IDC_PERIOD3_MINUTES = 1108,
};

// The Level list: the presets in their order, then these two.
enum : int {
    LEVEL_ROW_BLITZ = 11,
    LEVEL_ROW_TOURNAMENT = 12,
};

namespace platform {
struct Window;
}

void optionsDialog(platform::Window* window);
