#include "app/dialog_game_list.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/background_index.h"
#include "app/commands.h"
#include "app/dialog_modal.h"
#include "database/database.h"
#include "database/game_filter.h"
#include "database/game_rows.h"
#include "platform/kernel/clock.h"
#include "platform/ui/dialog.h"
#include "platform/ui/listview.h"
#include "platform/ui/progress.h"

using namespace platform;

namespace {

constexpr unsigned WM_INDEX_BATCH = WM_USER + 40;
constexpr unsigned WM_INDEX_DONE = WM_USER + 41; // wParam: 1 when the whole file was indexed
constexpr uintptr_t WORK_TIMER = 1;
// A search or a sort of many games runs in slices of about this long, between which
// the dialog takes the user's keys; each slice is made of steps of STEP_SIZE entries.
constexpr uint32_t SLICE_MS = 15;
constexpr size_t STEP_SIZE = 4096;

// The result choices, in the order of the drop-down list; the first asks for none.
constexpr const char* RESULT_CHOICES[] = {"Any result", "1-0", "1/2-1/2", "0-1", "*"};

constexpr GameOrder COLUMN_ORDERS[] = {GameOrder::FILE,   GameOrder::WHITE, GameOrder::BLACK,
                                       GameOrder::RESULT, GameOrder::DATE,  GameOrder::EVENT,
                                       GameOrder::ECO,    GameOrder::MOVES};
static_assert(std::size(COLUMN_ORDERS) == COLUMN_COUNT, "an order for every column");

struct GameList {
    const std::vector<GameIndexEntry>* entries = nullptr;
    std::string path;
    std::unique_ptr<CGameRows> rows;
    // The rows the view shows, as places in entries: the view asks for cells by row
    // while the search works on rows of its own.
    std::vector<int32_t> shown;
    uint32_t shownLayout = 0;
    int wanted = -1; // the game to select when it shows
    int sortColumn = -1;
    bool ascending = true;
    int chosen = -1;

    // While a file is indexed: the worker, the entries it has handed over so far.
    CBackgroundIndex* indexing = nullptr;
    std::vector<GameIndexEntry>* built = nullptr;
    bool running = false;
    bool complete = false;
    bool stopped = false;
    bool failed = false;
    int pendingOpen = -1; // opened while the indexing ran
};

GameList list;

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
    if (row < 0 || size_t(row) >= list.shown.size()) return {};
    const GameIndexEntry& entry = (*list.entries)[size_t(list.shown[size_t(row)])];
    if (column == COLUMN_NUMBER) return std::to_string(entry.number + 1);
    if (column == COLUMN_MOVES)
        return entry.plies < 0 ? "" : std::to_string(fullMoves(entry.plies));
    return columnText(entry, column).c_str();
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
    return row < 0 || row >= int(list.shown.size()) ? -1 : list.shown[size_t(row)];
}

// Selects the game where it shows, else the first row.
void select(Window* dialog, int game) {
    const auto found = std::find(list.shown.begin(), list.shown.end(), game);
    listViewSetCurSel(dialog, IDC_LIST_GAMES,
                      found != list.shown.end() ? int(found - list.shown.begin())
                      : list.shown.empty()      ? -1
                                                : 0);
}

void showCount(Window* dialog) {
    std::string count;
    if (list.pendingOpen >= 0) {
        count = "Game " + std::to_string(list.pendingOpen + 1) + " opens once the file is indexed";
    } else {
        const size_t matches = list.rows->isDone() ? list.shown.size() : list.rows->matches();
        count = std::to_string(matches) + " of " + std::to_string(list.entries->size()) + " games";
        if (list.running)
            count += " so far";
        else if (list.stopped)
            count += ", indexing stopped";
        else if (!list.rows->isDone())
            count += ", searching";
    }
    setDlgItemText(dialog, IDC_LIST_COUNT, count.c_str());
}

// Brings the view up to the rows found: rows the search added at the end are added to
// the view, which keeps its selection and scrolling; other rows replace the view's,
// keeping the game that was selected when it still shows.
void refresh(Window* dialog) {
    const std::vector<int32_t>& rows = list.rows->rows();
    if (list.rows->layout() != list.shownLayout || rows.size() < list.shown.size()) {
        const int selected = selectedGame(dialog);
        list.shown = rows;
        list.shownLayout = list.rows->layout();
        listViewSetRows(dialog, IDC_LIST_GAMES, int(list.shown.size()), cellText);
        select(dialog, selected >= 0 ? selected : list.wanted);
    } else if (rows.size() > list.shown.size()) {
        const size_t before = list.shown.size();
        list.shown.insert(list.shown.end(), rows.begin() + long(before), rows.end());
        listViewAddRows(dialog, IDC_LIST_GAMES, int(list.shown.size() - before));
        if (listViewCurSel(dialog, IDC_LIST_GAMES) < 0) select(dialog, list.wanted);
    }
    showCount(dialog);
    enableDlgItem(dialog, IDOK, !list.shown.empty());
}

// One slice of the search or the sort; the timer brings the next while work is left.
void work(Window* dialog) {
    const uint32_t start = tickCount();
    bool done = false;
    do {
        done = list.rows->step(STEP_SIZE);
    } while (!done && tickCount() - start < SLICE_MS);
    refresh(dialog);
    if (done)
        killTimer(dialog, WORK_TIMER);
    else
        setTimer(dialog, WORK_TIMER, 0);
}

void applyFilter(Window* dialog) {
    list.rows->setFilter(filterOfFields(dialog));
    work(dialog);
}

void sortBy(Window* dialog, int column) {
    list.ascending = column == list.sortColumn ? !list.ascending : true;
    list.sortColumn = column;
    list.rows->setOrder(COLUMN_ORDERS[column], list.ascending);
    listViewSetSortColumn(dialog, IDC_LIST_GAMES, column, list.ascending);
    work(dialog);
}

void choose(Window* dialog, int game) {
    list.chosen = game;
    endDialog(dialog, IDOK);
}

void open(Window* dialog) {
    const int game = selectedGame(dialog);
    if (game < 0) return;
    if (!list.running) {
        choose(dialog, game);
        return;
    }
    // Loaded now, the file would have half an index: Next game would stop short of its
    // end and the list would miss the rest.
    list.pendingOpen = game;
    showCount(dialog);
}

void endIndexing(Window* dialog) {
    list.running = false;
    list.indexing->stop();
    list.indexing->take(*list.built);
    showDlgItem(dialog, IDC_LIST_PROGRESS, false);
    showDlgItem(dialog, IDC_LIST_STOP, false);
    work(dialog);
}

void onIndexDone(Window* dialog, bool complete) {
    if (!list.running) return; // stopped by the user before
    list.complete = complete;
    list.stopped = !complete;
    endIndexing(dialog);
    if (list.pendingOpen >= 0)
        choose(dialog, list.pendingOpen);
    else if (list.built->empty())
        endDialog(dialog, IDCANCEL);
    else if (complete && list.built->size() == 1)
        choose(dialog, 0); // a file of one game opens it, as Load game does
}

void stopIndexing(Window* dialog) {
    if (!list.running) return;
    list.stopped = true;
    endIndexing(dialog);
    if (list.pendingOpen >= 0) choose(dialog, list.pendingOpen);
}

void initialise(Window* dialog) {
    const std::string name = list.path.substr(list.path.find_last_of('/') + 1);
    setDialogTitle(dialog, ("Games in " + name).c_str());
    for (const char* choice : RESULT_CHOICES)
        listAddString(dialog, IDC_LIST_RESULT, choice);
    listSetCurSel(dialog, IDC_LIST_RESULT, 0);
    // Names and events get the room; a result, a date, a code and a count need little.
    listViewSetColumns(dialog, IDC_LIST_GAMES,
                       {"#", "White", "Black", "Result", "Date", "Event", "ECO", "Moves"},
                       {6, 20, 20, 7, 10, 16, 5, 6});
    list.rows = std::make_unique<CGameRows>(*list.entries);
    list.shownLayout = list.rows->layout() - 1; // the first refresh sets the rows
    setDlgItemFocus(dialog, IDC_LIST_GAMES);
    if (list.indexing) {
        list.running = list.indexing->start(list.path, dialog, WM_INDEX_BATCH, WM_INDEX_DONE);
        if (!list.running) {
            list.failed = true;
            endDialog(dialog, IDCANCEL);
            return;
        }
        setDlgItemProgress(dialog, IDC_LIST_PROGRESS, 0);
    } else {
        showDlgItem(dialog, IDC_LIST_PROGRESS, false);
        showDlgItem(dialog, IDC_LIST_STOP, false);
    }
    work(dialog);
}

intptr_t onCommand(Window* dialog, int id, unsigned notification, intptr_t lParam) {
    switch (id) {
    case IDOK:
        open(dialog);
        return 1;
    case IDCANCEL:
        endDialog(dialog, IDCANCEL);
        return 1;
    case IDC_LIST_STOP:
        stopIndexing(dialog);
        return 1;
    case IDC_LIST_GAMES:
        if (notification == LVN_COLUMNCLICK && lParam >= 0 && lParam < COLUMN_COUNT)
            sortBy(dialog, int(lParam));
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
        initialise(dialog);
        return 1;
    case WM_COMMAND:
        return onCommand(dialog, loWord(wParam), hiWord(wParam), lParam);
    case WM_TIMER:
        if (wParam == WORK_TIMER) work(dialog);
        return 1;
    case WM_INDEX_BATCH:
        if (!list.running) return 1;
        list.indexing->take(*list.built);
        setDlgItemProgress(dialog, IDC_LIST_PROGRESS, list.indexing->perMille());
        work(dialog);
        return 1;
    case WM_INDEX_DONE:
        onIndexDone(dialog, wParam != 0);
        return 1;
    case WM_HELP:
        showHelpAt("GameList");
        return 1;
    case WM_DESTROY:
        // However the list ends, the worker that posts to it is done before it goes.
        killTimer(dialog, WORK_TIMER);
        if (list.running) {
            list.running = false;
            list.indexing->stop();
        }
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
    list.entries = &database.index();
    list.path = database.fileName().c_str();
    list.wanted = selected;
    dialogBox("gamelist", owner, gameListProc);
    const int chosen = list.chosen;
    list = GameList{};
    return chosen;
}

IndexedList gameListWhileIndexing(Window* owner, const std::string& path) {
    IndexedList result;
    CBackgroundIndex indexing;
    {
        const ModalScope modal;
        list = GameList{};
        list.entries = &result.entries;
        list.built = &result.entries;
        list.path = path;
        list.wanted = 0;
        list.indexing = &indexing;
        dialogBox("gamelist", owner, gameListProc);
    }
    result.chosen = list.chosen;
    result.complete = list.complete;
    result.failed = list.failed;
    list = GameList{};
    return result;
}
