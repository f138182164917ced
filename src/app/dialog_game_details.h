#pragma once
// The Game details dialog (113), shown by Save game: the players, event, site, date
// and result, and the game's other tags. OK writes the fields back to the game; Cancel
// leaves the game's tags as they were and cancels the save.

// The dialog's controls, by the identifiers its template gives them.
enum : int {
    IDC_WHITE = 350,
    IDC_BLACK = 252,
    IDC_EVENT = 254,
    IDC_DATE = 256,
    IDC_SITE = 258,
    IDC_TAG_NAME = 260,
    IDC_TAG_VALUE = 262,
    IDC_UNDO = 264,
    IDC_RESULT = 364,
};

namespace platform {
struct Window;
}

// True when closed with OK.
bool gameDetailsDialog(platform::Window* owner);
