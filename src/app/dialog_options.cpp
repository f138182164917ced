#include "app/dialog_options.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/dialog_modal.h"
#include "app/dialog_options_engine.h"
#include "app/dialog_options_level.h"
#include "app/shell.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/propertysheet.h"

using namespace platform;

namespace {

struct NamedValue {
    const char* name;
    int32_t value;
};

// In list order.
constexpr NamedValue ANIMATIONS[] = {{"Fast", 3}, {"Medium", 2}, {"Slow", 1}, {"Off", 0}};
constexpr NamedValue BOARD_TYPES[] = {
    {"Ash", 150},         {"Oak", 151},          {"Mahogany", 152},
    {"Red Marble", 141},  {"Green Marble", 139}, {"Blue Marble", 138},
    {"Grey Marble", 140}, {"Slate", 148},        {"Tiled", 149},
};

struct ChessSet {
    const char* name;
    int32_t bitmapId24;
    int32_t bitmapId30;
};
constexpr ChessSet CHESS_SETS[] = {
    {"Deluxe", 135, 116}, {"Classic", 142, 144}, {"Modern", 145, 146}};

struct Switch {
    int id;
    bool CAppState::*field;
};
constexpr Switch SWITCHES[] = {
    {IDC_AUTO_ANSWER, &CAppState::autoAnswer},
    {IDC_HIGHLIGHT_LAST_MOVE, &CAppState::highlightLastMove},
    {IDC_SHOW_THINKING, &CAppState::showThinking},
    {IDC_SOUND, &CAppState::sound},
    {IDC_COACH, &CAppState::coach},
};

template <typename Entry, size_t N> void addNames(Window* page, int id, const Entry (&entries)[N]) {
    for (const Entry& entry : entries)
        listAddString(page, id, entry.name);
}

// Entries are selected by their text; a value in no entry selects nothing.
template <typename Entry, size_t N, typename Matches>
void selectEntry(Window* page, int id, const Entry (&entries)[N], Matches matches) {
    for (const Entry& entry : entries) {
        if (matches(entry)) {
            listSetCurSel(page, id, listFindStringExact(page, id, entry.name));
            return;
        }
    }
    listSetCurSel(page, id, -1);
}

// The entry whose text the list shows, exactly, or null.
template <typename Entry, size_t N>
const Entry* shownEntry(Window* page, int id, const Entry (&entries)[N]) {
    const std::string shown = getDlgItemText(page, id);
    for (const Entry& entry : entries) {
        if (shown == entry.name) return &entry;
    }
    return nullptr;
}

void fill(Window* page) {
    fillLevel(page);
    addNames(page, IDC_ANIMATION, ANIMATIONS);
    selectEntry(page, IDC_ANIMATION, ANIMATIONS,
                [](const NamedValue& entry) { return entry.value == appState.animationSpeed; });
    addNames(page, IDC_BOARD_TYPE, BOARD_TYPES);
    addNames(page, IDC_CHESS_SET, CHESS_SETS);
    selectEntry(page, IDC_BOARD_TYPE, BOARD_TYPES,
                [](const NamedValue& entry) { return entry.value == appState.boardBitmapId; });
    selectEntry(page, IDC_CHESS_SET, CHESS_SETS,
                [](const ChessSet& entry) { return entry.bitmapId24 == appState.pieceBitmapId24; });
    for (const Switch& box : SWITCHES)
        checkDlgButton(page, box.id, appState.*box.field);
    fillEngine(page);
}

void readBack(Window* page) {
    readBackLevel(page);
    readBackEngine(page);
    for (const Switch& box : SWITCHES)
        appState.*box.field = isDlgButtonChecked(page, box.id);
    if (const NamedValue* animation = shownEntry(page, IDC_ANIMATION, ANIMATIONS))
        appState.animationSpeed = animation->value;
    if (const NamedValue* board = shownEntry(page, IDC_BOARD_TYPE, BOARD_TYPES))
        appState.boardBitmapId = board->value;
    if (const ChessSet* set = shownEntry(page, IDC_CHESS_SET, CHESS_SETS)) {
        appState.pieceBitmapId24 = set->bitmapId24;
        appState.pieceBitmapId30 = set->bitmapId30;
    }
}

intptr_t optionsPageProc(Window* page, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG:
        fill(page);
        return 1;
    case WM_COMMAND:
        if (loWord(wParam) == IDC_LEVEL && hiWord(wParam) == CBN_SELCHANGE) {
            levelRowChosen(page);
            return 1;
        }
        if (engineRowCommand(page, wParam)) return 1;
        // The switches do not toggle themselves.
        for (const Switch& box : SWITCHES) {
            if (box.id == loWord(wParam)) {
                checkDlgButton(page, box.id, !isDlgButtonChecked(page, box.id));
                return 1;
            }
        }
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
        if (header->code == PSN_KILLACTIVE) {
            readBack(page);
        } else if (header->code == PSN_HELP) {
            showHelpAt("Options");
        }
        return 1;
    }
    default:
        return 0;
    }
}

void reloadBitmap(Bitmap** handle, int32_t resourceId) {
    deleteBitmap(*handle);
    *handle = loadBitmap(resourceId);
}

} // namespace

void optionsDialog(Window* window) {
    const int32_t boardBefore = appState.boardBitmapId;
    const int32_t piecesBefore = appState.pieceBitmapId24;
    {
        const ModalScope modal;
        const PropertyPage page{"412", optionsPageProc, 0};
        propertySheet(window, "Tallowmere Chess", &page, 1);
    }
    if (appState.boardBitmapId != boardBefore) {
        reloadBitmap(&shell.boardTexture, appState.boardBitmapId);
        invalidateRect(window, nullptr, false);
    }
    if (appState.pieceBitmapId24 != piecesBefore) {
        reloadBitmap(&shell.pieceStrip24, appState.pieceBitmapId24);
        reloadBitmap(&shell.pieceStrip24ForSquares, appState.pieceBitmapId24);
        reloadBitmap(&shell.pieceStrip, appState.pieceBitmapId30);
        reloadBitmap(&shell.pieceStripForSquares, appState.pieceBitmapId30);
        invalidateRect(window, nullptr, false);
    }
    if (!appState.showThinking) invalidateRect(window, &appState.statusRect, false);
    applyEngineChoice();
}
