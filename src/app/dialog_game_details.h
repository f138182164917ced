#pragma once
// The Game details dialog (113), shown by Save game: the players, event, site, date
// and result, and the game's other tags. Whether closed with OK or Cancel, the fields
// are written back to the game.

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

void gameDetailsDialog(platform::Window* owner);
