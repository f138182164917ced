#include "app/dialog_moves.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/dialog_modal.h"
#include "platform/ui/dialog.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

using namespace platform;

namespace {

constexpr int IDD_MOVES = 112;
enum : int { IDC_MOVE_TEXT = 370, IDC_LINES = 372, IDC_COMMENTS = 373, IDC_INFO = 374 };

// Snaps a selection made by hand to the move at its end.
constexpr uintptr_t SELECTION_TIMER = 1;
constexpr uint32_t SELECTION_PERIOD_MS = 200;

// The text is written for the narrow box: no glyph numbers or symbols.
constexpr int32_t MOVES_LINE_WIDTH = 30;

// Scrolling brings the selected line to about the eighth line of the box while the
// text goes on far enough below it.
constexpr int PAGE_LINES = 15;
constexpr int LINES_ABOVE = 7;
constexpr int LINES_BELOW = 13;

struct DisplayBox {
    int id;
    const char* key;
};
// MOVES_DIALOG_KEYS are the keys of "Info", "Comments" and "Lines", in that order.
constexpr DisplayBox DISPLAY_BOXES[] = {{IDC_INFO, MOVES_DIALOG_KEYS[0]},
                                        {IDC_COMMENTS, MOVES_DIALOG_KEYS[1]},
                                        {IDC_LINES, MOVES_DIALOG_KEYS[2]}};

bool storedFlag(const char* key) {
    int32_t value = DISPLAY_KEY_DEFAULT;
    appState.settings->getInt(key, &value);
    return value != 0;
}

// A node has a range only when the last text showed it: not the root, nor a move
// inside a variation while "Lines" is off.
bool isShown(const CMoveNode* node) {
    return node && node->textEnd > node->textStart;
}

void selectNode(Window* dialog, const CMoveNode* node) {
    if (isShown(node)) {
        editSetSel(dialog, IDC_MOVE_TEXT, int(node->textStart), int(node->textEnd) - 1);
    } else {
        // Nothing selected: the timer leaves it so, and closing stays where the game is.
        editSetSel(dialog, IDC_MOVE_TEXT, 0, 0);
    }
}

void showText(Window* dialog) {
    CGame& game = *appState.game;
    game.setOptions(MOVES_LINE_WIDTH, isDlgButtonChecked(dialog, IDC_INFO),
                    isDlgButtonChecked(dialog, IDC_LINES), isDlgButtonChecked(dialog, IDC_COMMENTS),
                    false, false);
    setDlgItemText(dialog, IDC_MOVE_TEXT, game.toString().c_str());
    selectNode(dialog, appState.currentNode);
    int start = 0;
    editGetSel(dialog, IDC_MOVE_TEXT, &start, nullptr);
    int line = editLineFromChar(dialog, IDC_MOVE_TEXT, start);
    int lines = editLineCount(dialog, IDC_MOVE_TEXT);
    while (line - PAGE_LINES > LINES_ABOVE && lines - PAGE_LINES > LINES_BELOW) {
        editScrollLines(dialog, IDC_MOVE_TEXT, PAGE_LINES);
        line -= PAGE_LINES;
        lines -= PAGE_LINES;
    }
    while (line > LINES_ABOVE && lines > LINES_BELOW) {
        editScrollLines(dialog, IDC_MOVE_TEXT, 1);
        --line;
        --lines;
    }
}

bool nothingSelected(int start, int end) {
    return start == 0 && end == 0;
}

// A tap leaves an empty selection at the tapped character; the move is found a little
// after it, so that a tap on the blank or the number before a move takes that move.
void selectTappedMove(Window* dialog) {
    int start = 0;
    int end = 0;
    editGetSel(dialog, IDC_MOVE_TEXT, &start, &end);
    const uint32_t position = uint32_t(start == end ? end + 2 : end);
    CMoveNode* node = appState.game->nodeAtTextPosition(position);
    if (isShown(node)) selectNode(dialog, node);
}

void snapSelection(Window* dialog) {
    int start = 0;
    int end = 0;
    editGetSel(dialog, IDC_MOVE_TEXT, &start, &end);
    if (nothingSelected(start, end)) return;
    const CMoveNode* node = appState.game->nodeAtTextPosition(uint32_t(end));
    if (!isShown(node)) return;
    if (start != int(node->textStart) || end != int(node->textEnd) - 1) selectNode(dialog, node);
}

void goToSelectedMove(Window* dialog) {
    int start = 0;
    int end = 0;
    editGetSel(dialog, IDC_MOVE_TEXT, &start, &end);
    if (nothingSelected(start, end)) return;
    CMoveNode* node = appState.game->nodeAtTextPosition(uint32_t((start + end) / 2));
    if (isShown(node) && node != appState.currentNode) appState.goToNode(node);
}

void toggleDisplayBox(Window* dialog, const DisplayBox& box) {
    const bool checked = !isDlgButtonChecked(dialog, box.id);
    checkDlgButton(dialog, box.id, checked);
    appState.settings->setInt(box.key, checked ? 1 : 0);
    showText(dialog);
}

intptr_t onCommand(Window* dialog, int id, unsigned notification) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
        killTimer(dialog, SELECTION_TIMER);
        goToSelectedMove(dialog);
        endDialog(dialog, id);
        return 1;
    case IDC_MOVE_TEXT:
        if (notification != EN_SETFOCUS) return 0;
        selectTappedMove(dialog);
        return 1;
    default:
        for (const DisplayBox& box : DISPLAY_BOXES) {
            if (box.id == id) {
                toggleDisplayBox(dialog, box);
                return 1;
            }
        }
        return 0;
    }
}

intptr_t movesProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_INITDIALOG:
        for (const DisplayBox& box : DISPLAY_BOXES)
            checkDlgButton(dialog, box.id, storedFlag(box.key));
        showText(dialog);
        setTimer(dialog, SELECTION_TIMER, SELECTION_PERIOD_MS);
        return 1;
    case WM_COMMAND:
        return onCommand(dialog, loWord(wParam), hiWord(wParam));
    case WM_TIMER:
        if (wParam == SELECTION_TIMER) snapSelection(dialog);
        return 1;
    case WM_HELP:
        showHelpAt("GameMoves");
        return 1;
    default:
        return 0;
    }
}

} // namespace

void gameMovesDialog(Window* owner) {
    if (!appState.game) return;
    const CMoveNode* before = appState.currentNode;
    {
        const ModalScope modal;
        dialogBox(IDD_MOVES, owner, movesProc);
    }
    if (appState.currentNode != before) invalidateRect(owner, nullptr, false);
}
