#pragma once
// Command ids of the menus, the button row and the accelerator keys.

enum : int {
    IDM_EXIT = 40001,
    IDM_LOAD_GAME = 40003,
    IDM_SAVE_GAME = 40004,
    IDM_GAME_LIST = 40070,
    IDM_NEXT_GAME = 40071,
    IDM_PREVIOUS_GAME = 40072,
    IDM_NEW_GAME = 40006,
    IDM_OPTIONS = 40012,
    IDM_FLIP_BOARD = 40014,
    IDM_MOVE_NOW = 40016,
    IDM_GAME_MOVES = 40020,
    IDM_ABOUT = 40024,
    IDM_HINT = 40041,
    IDM_BACK = 40044,
    IDM_FORWARD = 40045,
    IDM_SETUP_BOARD = 40049,
    IDM_HELP = 40055,
    IDM_FAST_BACK = 397,
    IDM_FAST_FORWARD = 398,
    IDM_CANCEL = 40060, // Escape: ends a hint under way
    // The program's own additions.
    IDM_EXIT_AT_ONCE = 40090, // Exit without the closing animation: a signal, the session's end
    IDM_GAME_START = 40091,
    IDM_MAIN_LINE_END = 40092,
    IDM_COPY_POSITION = 40093,
    IDM_COPY_GAME = 40094,
    IDM_PASTE = 40095,
    IDM_EXPORT_IMAGE = 40096,
};

// Resources the shell loads by id.
enum : int {
    IDR_ACCELERATORS = 101,
    IDR_MENU = 102,
    IDB_BUTTONS = 115,
    IDD_PROMOTION = 126,
};
