#include "app/dialog_setup_side.h"

#include "app/app_state.h"
#include "app/commands.h"
#include "app/show_message.h"
#include "platform/ui/dialog.h"

using namespace platform;

namespace {

constexpr int IDD_SETUP_SIDE = 119;
enum : int {
    IDC_WHITE_TO_MOVE = 1025,
    IDC_BLACK_TO_MOVE = 1027,
    IDC_EN_PASSANT_FILE = 1029,
};

constexpr const char* FILE_NAMES[] = {"None", "A", "B", "C", "D", "E", "F", "G", "H"};

struct CastlingBox {
    int id;
    uint8_t right;
    Square kingHome;
    Piece king;
    Square rookHome;
    Piece rook;
};
// The order of the boxes is the order of the rights in a FEN: K, Q, k, q.
constexpr CastlingBox CASTLING_BOXES[] = {
    {1021, CASTLE_K, makeSquare(4, 0), WHITE_KING, makeSquare(7, 0), WHITE_ROOK},
    {1022, CASTLE_Q, makeSquare(4, 0), WHITE_KING, makeSquare(0, 0), WHITE_ROOK},
    {1023, CASTLE_k, makeSquare(4, 7), BLACK_KING, makeSquare(7, 7), BLACK_ROOK},
    {1024, CASTLE_q, makeSquare(4, 7), BLACK_KING, makeSquare(0, 7), BLACK_ROOK},
};

bool atHome(const CPosition& position, const CastlingBox& box) {
    return position.at(box.kingHome) == box.king && position.at(box.rookHome) == box.rook;
}

void fill(Window* dialog) {
    const CPosition& position = *appState.setupPosition;
    for (const char* name : FILE_NAMES)
        listAddString(dialog, IDC_EN_PASSANT_FILE, name);
    const Square enPassant = position.enPassant();
    const bool hasEnPassant = enPassant != 0 && onBoard(enPassant);
    listSetCurSel(dialog, IDC_EN_PASSANT_FILE, hasEnPassant ? fileOf(enPassant) + 1 : 0);
    for (const CastlingBox& box : CASTLING_BOXES) {
        const bool possible = atHome(position, box);
        enableDlgItem(dialog, box.id, possible);
        checkDlgButton(dialog, box.id, possible && (position.castling() & box.right) != 0);
    }
    checkDlgButton(dialog, position.sideToMove() == WHITE ? IDC_WHITE_TO_MOVE : IDC_BLACK_TO_MOVE,
                   true);
}

// False, with the user told, when no side to move is chosen.
bool accept(Window* dialog) {
    int side = WHITE;
    if (isDlgButtonChecked(dialog, IDC_WHITE_TO_MOVE)) {
        side = WHITE;
    } else if (isDlgButtonChecked(dialog, IDC_BLACK_TO_MOVE)) {
        side = BLACK;
    } else {
        showMessage(dialog, "Please set side to move !");
        return false;
    }
    CPosition& position = *appState.setupPosition;
    position.setSideToMove(side);
    // The square behind a pawn that has just made its double step: on rank 6 when that
    // was Black's pawn, on rank 3 when it was White's.
    const int file = listCurSel(dialog, IDC_EN_PASSANT_FILE);
    position.setEnPassant(file >= 1 && file <= 8 ? makeSquare(file - 1, side == WHITE ? 5 : 2) : 0);
    uint8_t rights = 0;
    for (const CastlingBox& box : CASTLING_BOXES) {
        if (isDlgButtonChecked(dialog, box.id)) rights |= box.right;
    }
    position.setCastling(rights);
    return true;
}

intptr_t setupSideProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_INITDIALOG:
        fill(dialog);
        return 1;
    case WM_COMMAND:
        if (loWord(wParam) == IDOK) {
            if (accept(dialog)) endDialog(dialog, IDOK);
            return 1;
        }
        if (loWord(wParam) == IDCANCEL) {
            endDialog(dialog, IDCANCEL);
            return 1;
        }
        return 0;
    case WM_HELP:
        showHelpAt("SetupBoard");
        return 1;
    default:
        return 0;
    }
}

} // namespace

intptr_t setupSideDialog(Window* owner) {
    return dialogBox(IDD_SETUP_SIDE, owner, setupSideProc);
}
