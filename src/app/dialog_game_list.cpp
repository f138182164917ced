#include "app/dialog_game_list.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/dialog_modal.h"
#include "database/database.h"
#include "database/game_filter.h"
#include "platform/ui/dialog.h"
#include "platform/ui/listview.h"

using namespace platform;

namespace {

// The result choices, in the order of the drop-down list; the first asks for none.
constexpr const char* RESULT_CHOICES[] = {"Any result", "1-0", "1/2-1/2", "0-1", "*"};

struct GameList {
    CDatabase* database = nullptr;
    std::vector<int> rows; // the entries shown, as indexes into the database's index
    int sortColumn = -1;   // -1: in the file's order
    bool ascending = true;
    int chosen = -1;
};

GameList list;

const GameIndexEntry& entryOfRow(int row) {
    return list.database->index()[size_t(list.rows[size_t(row)])];
}

const CText& columnText(const GameIndexEntry& entry, int column) {
    switch (column) {
    case COLUMN_WHITE:
        return entry.white;
    case COLUMN_BLACK:
        return entry.black;
    case COLUMN_RESULT:
        return entry.result;
    case COLUMN_DATE:
        return entry.date;
    case COLUMN_EVENT:
        return entry.event;
    default:
        return entry.eco;
    }
}

std::string cellText(int row, int column) {
    const GameIndexEntry& entry = entryOfRow(row);
    if (column == COLUMN_NUMBER) return std::to_string(entry.number + 1);
    return columnText(entry, column).c_str();
}

int compareNoCase(const CText& a, const CText& b) {
    const uint32_t length = std::min(a.length(), b.length());
    for (uint32_t i = 0; i < length; ++i) {
        const char x = CText::lowerCase(a[i]);
        const char y = CText::lowerCase(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.length() == b.length() ? 0 : a.length() < b.length() ? -1 : 1;
}

// Equal texts keep the file's order, in either direction.
void sortRows() {
    const std::vector<GameIndexEntry>& index = list.database->index();
    const int column = list.sortColumn;
    const bool ascending = list.ascending || column < 0;
    std::stable_sort(list.rows.begin(), list.rows.end(), [&](int a, int b) {
        const int order = column <= COLUMN_NUMBER
                              ? (a < b   ? -1
                                 : a > b ? 1
                                         : 0)
                              : compareNoCase(columnText(index[size_t(a)], column),
                                              columnText(index[size_t(b)], column));
        return ascending ? order < 0 : order > 0;
    });
}

GameFilter filterOfFields(Window* dialog) {
    GameFilter filter;
    filter.playerA = getDlgItemText(dialog, IDC_LIST_WHITE).c_str();
    filter.playerB = getDlgItemText(dialog, IDC_LIST_BLACK).c_str();
    filter.anyColour = isDlgButtonChecked(dialog, IDC_LIST_ANY_COLOUR);
    filter.event = getDlgItemText(dialog, IDC_LIST_EVENT).c_str();
    filter.eco = getDlgItemText(dialog, IDC_LIST_ECO).c_str();
    filter.dateFrom = getDlgItemText(dialog, IDC_LIST_DATE_FROM).c_str();
    filter.dateTo = getDlgItemText(dialog, IDC_LIST_DATE_TO).c_str();
    switch (listCurSel(dialog, IDC_LIST_RESULT)) {
    case 1:
        filter.whiteWins = true;
        break;
    case 2:
        filter.draw = true;
        break;
    case 3:
        filter.blackWins = true;
        break;
    case 4:
        filter.unfinished = true;
        break;
    default:
        break;
    }
    return filter;
}

int selectedGame(Window* dialog) {
    const int row = listViewCurSel(dialog, IDC_LIST_GAMES);
    return row < 0 || row >= int(list.rows.size()) ? -1 : list.rows[size_t(row)];
}

// Shows the rows again, keeping the game that was selected when it is still shown.
void showRows(Window* dialog, int selected) {
    listViewSetRows(dialog, IDC_LIST_GAMES, int(list.rows.size()), cellText);
    const auto found = std::find(list.rows.begin(), list.rows.end(), selected);
    listViewSetCurSel(dialog, IDC_LIST_GAMES,
                      found != list.rows.end() ? int(found - list.rows.begin())
                      : list.rows.empty()      ? -1
                                               : 0);
    const std::string count = std::to_string(list.rows.size()) + " of " +
                              std::to_string(list.database->index().size()) + " games";
    setDlgItemText(dialog, IDC_LIST_COUNT, count.c_str());
    enableDlgItem(dialog, IDOK, !list.rows.empty());
}

void applyFilter(Window* dialog) {
    const int selected = selectedGame(dialog);
    const GameFilter filter = filterOfFields(dialog);
    const std::vector<GameIndexEntry>& index = list.database->index();
    list.rows.clear();
    for (size_t n = 0; n < index.size(); ++n)
        if (matchesFilter(filter, index[n])) list.rows.push_back(int(n));
    sortRows();
    showRows(dialog, selected);
}

void sortBy(Window* dialog, int column) {
    const int selected = selectedGame(dialog);
    list.ascending = column == list.sortColumn ? !list.ascending : true;
    list.sortColumn = column;
    sortRows();
    listViewSetSortColumn(dialog, IDC_LIST_GAMES, column, list.ascending);
    showRows(dialog, selected);
}

void open(Window* dialog) {
    const int game = selectedGame(dialog);
    if (game < 0) return;
    list.chosen = game;
    endDialog(dialog, IDOK);
}

void initialise(Window* dialog, int selected) {
    const std::string path = list.database->fileName().c_str();
    const std::string name = path.substr(path.find_last_of('/') + 1);
    setDialogTitle(dialog, ("Games in " + name).c_str());
    for (const char* choice : RESULT_CHOICES)
        listAddString(dialog, IDC_LIST_RESULT, choice);
    listSetCurSel(dialog, IDC_LIST_RESULT, 0);
    listViewSetColumns(dialog, IDC_LIST_GAMES,
                       {"#", "White", "Black", "Result", "Date", "Event", "ECO"});
    list.rows.clear();
    for (int n = 0; n < int(list.database->index().size()); ++n)
        list.rows.push_back(n);
    showRows(dialog, selected);
    setDlgItemFocus(dialog, IDC_LIST_GAMES);
}

intptr_t onCommand(Window* dialog, int id, unsigned notification, intptr_t lParam) {
    switch (id) {
    case IDOK:
        open(dialog);
        return 1;
    case IDCANCEL:
        endDialog(dialog, IDCANCEL);
        return 1;
    case IDC_LIST_GAMES:
        if (notification == LVN_COLUMNCLICK) sortBy(dialog, int(lParam));
        if (notification == LVN_ITEMACTIVATE) open(dialog);
        return 1;
    case IDC_LIST_WHITE:
    case IDC_LIST_BLACK:
    case IDC_LIST_EVENT:
    case IDC_LIST_ECO:
    case IDC_LIST_DATE_FROM:
    case IDC_LIST_DATE_TO:
        if (notification != EN_CHANGE) return 0;
        applyFilter(dialog);
        return 1;
    case IDC_LIST_ANY_COLOUR:
    case IDC_LIST_RESULT:
        applyFilter(dialog);
        return 1;
    default:
        return 0;
    }
}

intptr_t gameListProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, int(lParam));
        return 1;
    case WM_COMMAND:
        return onCommand(dialog, loWord(wParam), hiWord(wParam), lParam);
    case WM_HELP:
        showHelpAt("GameList");
        return 1;
    default:
        return 0;
    }
}

} // namespace

int gameListDialog(Window* owner, CDatabase& database, int selected) {
    if (!database.isOpen() || database.index().empty()) return -1;
    const ModalScope modal;
    list = GameList{};
    list.database = &database;
    dialogBox("gamelist", owner, gameListProc, selected);
    const int chosen = list.chosen;
    list = GameList{};
    return chosen;
}
