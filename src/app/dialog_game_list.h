#pragma once
// The game list: the games of an indexed PGN file in columns, sorted by a click on a
// heading and narrowed by search fields that drive the database's filter. A large file
// shows in it while it is being indexed.

#include <string>
#include <vector>

#include "database/game_index_entry.h"

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
    IDC_LIST_PROGRESS = 511,
    IDC_LIST_STOP = 512, // the Cancel of the indexing
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
    COLUMN_MOVES,
    COLUMN_COUNT
};

// Shows the database's games with game `selected` (0-based) chosen; the game the user
// opens (0-based), or -1 when the list is closed without opening one.
int gameListDialog(platform::Window* owner, CDatabase& database, int selected);

// What became of a list shown while its file was indexed.
struct IndexedList {
    int chosen = -1;       // the game opened (0-based), or -1
    bool complete = false; // the whole file was indexed
    bool failed = false;   // the file could not be read
    // The index: all of the file, or what was indexed before the user stopped it.
    std::vector<GameIndexEntry> entries;
};

// Indexes the file at path on a worker while the list shows the games indexed so far,
// with a progress bar and a Cancel that stops the indexing and keeps what it found.
// A game opened while the indexing runs opens once it is complete (or stopped), so
// that the file is loaded with its whole index. A file found to hold one game opens it.
IndexedList gameListWhileIndexing(platform::Window* owner, const std::string& path);
