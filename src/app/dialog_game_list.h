#pragma once
// The game list: the games of an indexed PGN file in columns, sorted by a click on a
// heading and narrowed by search fields that drive the database's filter.

class CDatabase;

namespace platform {
struct Window;
}

// The dialog's controls, by the identifiers its template gives them.
enum : int {
    IDC_LIST_WHITE = 501,
    IDC_LIST_BLACK = 502,
    IDC_LIST_ANY_COLOUR = 503,
    IDC_LIST_EVENT = 504,
    IDC_LIST_ECO = 505,
    IDC_LIST_RESULT = 506,
    IDC_LIST_DATE_FROM = 507,
    IDC_LIST_DATE_TO = 508,
    IDC_LIST_COUNT = 509,
    IDC_LIST_GAMES = 510,
};

// The columns of the list, left to right.
enum GameListColumn : int {
    COLUMN_NUMBER,
    COLUMN_WHITE,
    COLUMN_BLACK,
    COLUMN_RESULT,
    COLUMN_DATE,
    COLUMN_EVENT,
    COLUMN_ECO,
    COLUMN_COUNT
};

// Shows the database's games with game `selected` (0-based) chosen; the game the user
// opens (0-based), or -1 when the list is closed without opening one.
int gameListDialog(platform::Window* owner, CDatabase& database, int selected);
