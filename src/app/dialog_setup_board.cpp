#include "app/dialog_setup_board.h"

#include <string>

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/commands.h"
#include "app/dialog_modal.h"
#include "app/dialog_setup_side.h"
#include "app/engine_link.h"
#include "app/shell.h"
#include "app/show_message.h"
#include "app/stored_state.h"
#include "board/animation.h"
#include "board/board_drawing.h"
#include "board/geometry.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"

using namespace platform;

namespace {

constexpr int IDD_SETUP_BOARD = 121;
enum : int { IDC_CLEAR = 1030, IDC_RESET = 1032, IDC_UNDO = 1033 };

const char NOT_LEGAL[] = "The position isn\xB4t legal !";

// The refusal, with the reason when the rules can name one.
void refuse(Window* owner, CPosition& position) {
    std::string message = NOT_LEGAL;
    if (const char* reason = position.whyNotPlayable()) message = message + "\n" + reason + ".";
    showMessage(owner, message.c_str());
}

constexpr int SQUARE_SIZE = 24;
constexpr int BOARD_LEFT = 16;
constexpr int BOARD_TOP = 14;
constexpr Rect BOARD_AREA{BOARD_LEFT, BOARD_TOP, BOARD_LEFT + 8 * SQUARE_SIZE,
                          BOARD_TOP + 8 * SQUARE_SIZE};

struct FramePart {
    int bitmapId;
    int x, y;
};
// The coordinates round the board: left, right, top and bottom strips.
constexpr FramePart FRAME[] = {{130, 0, 0}, {131, 208, 0}, {128, 16, 0}, {132, 16, 206}};

// The palette: the 24-pixel strip's white half above its black half, one piece per
// cell in strip order. Taps count a third row below, which picks white again.
constexpr int PALETTE_LEFT = 16;
constexpr int PALETTE_TOP = 214;
constexpr int BLACK_ROW_TOP = 237;
constexpr int BLACK_OUTLINE_TOP = 238;
constexpr int PALETTE_COLUMNS = 6;
constexpr int PALETTE_TAP_WIDTH = 7 * SQUARE_SIZE;
constexpr int PALETTE_TAP_HEIGHT = 2 * SQUARE_SIZE;
constexpr Rect PALETTE_AREA{PALETTE_LEFT, PALETTE_TOP, PALETTE_LEFT + PALETTE_TAP_WIDTH + 1,
                            PALETTE_TOP + PALETTE_TAP_HEIGHT + 1};
constexpr Piece PALETTE[2][PALETTE_COLUMNS] = {
    {WHITE_PAWN, WHITE_KNIGHT, WHITE_BISHOP, WHITE_ROOK, WHITE_QUEEN, WHITE_KING},
    {BLACK_PAWN, BLACK_KNIGHT, BLACK_BISHOP, BLACK_ROOK, BLACK_QUEEN, BLACK_KING},
};

Rect squareArea(Square square) {
    return squareRectAt(square, SQUARE_SIZE, false, BOARD_LEFT, BOARD_TOP);
}

Rect outlineArea(Piece piece) {
    const bool black = isBlackPiece(piece);
    for (int column = 0; column < PALETTE_COLUMNS; ++column) {
        if (PALETTE[black][column] == piece) {
            const int left = PALETTE_LEFT + column * SQUARE_SIZE;
            const int top = black ? BLACK_OUTLINE_TOP : PALETTE_TOP;
            return Rect{left, top, left + SQUARE_SIZE, top + SQUARE_SIZE};
        }
    }
    return Rect{0, 0, 0, 0};
}

void copyBitmap(Dc* dc, Bitmap* bitmap, int x, int y, bool transparent, int sourceX, int width) {
    if (!bitmap) return;
    Dc* source = createCompatibleDC(dc);
    selectBitmap(source, bitmap);
    const int height = bitmapHeight(bitmap);
    if (transparent) {
        transparentBlt(dc, x, y, width, height, source, sourceX, 0);
    } else {
        bitBlt(dc, x, y, width, height, source, sourceX, 0);
    }
    deleteDC(source);
}

void paintEditor(Window* dialog) {
    PaintInfo paint{};
    Dc* dc = beginPaint(dialog, &paint);
    for (const FramePart& part : FRAME) {
        Bitmap* bitmap = loadBitmap(part.bitmapId);
        copyBitmap(dc, bitmap, part.x, part.y, false, 0, bitmap ? bitmapWidth(bitmap) : 0);
        deleteBitmap(bitmap);
    }
    // The board drawing frames the main board's marked squares; this board has none.
    const uint8_t selected = appState.selectedSquare;
    const uint8_t target = appState.targetSquare;
    appState.selectedSquare = NO_MARK;
    appState.targetSquare = NO_MARK;
    drawBoard(dc, BOARD_AREA, SQUARE_SIZE, appState.setupPosition->board(), NOT_A_SQUARE,
              paint.area, false);
    appState.selectedSquare = selected;
    appState.targetSquare = target;

    const int half = PALETTE_COLUMNS * SQUARE_SIZE;
    copyBitmap(dc, shell.pieceStrip24, PALETTE_LEFT, PALETTE_TOP, true, 0, half);
    copyBitmap(dc, shell.pieceStrip24, PALETTE_LEFT, BLACK_ROW_TOP, true, half, half);
    drawSelectionFrame(dc, outlineArea(appState.setupPiece));
    endPaint(dialog, &paint);
}

void tapSquare(Window* dialog, Square square) {
    CPosition& position = *appState.setupPosition;
    position.put(square, position.at(square) == EMPTY ? appState.setupPiece : Piece(EMPTY));
    const Rect area = squareArea(square);
    invalidateRect(dialog, &area, false);
}

void tapPalette(Window* dialog, int x, int y) {
    const int column = (x - PALETTE_LEFT) / SQUARE_SIZE;
    const int row = (y - PALETTE_TOP) / SQUARE_SIZE;
    if (column >= PALETTE_COLUMNS) return;
    const Piece piece = PALETTE[row == 1][column];
    if (piece == appState.setupPiece) return;
    appState.setupPiece = piece;
    invalidateRect(dialog, &PALETTE_AREA, true);
}

void onTap(Window* dialog, int x, int y) {
    if (x >= BOARD_LEFT && y >= BOARD_TOP) {
        const int file = (x - BOARD_LEFT) / SQUARE_SIZE;
        const int row = (y - BOARD_TOP) / SQUARE_SIZE;
        if (file < 8 && row < 8) {
            tapSquare(dialog, makeSquare(file, 7 - row));
            return;
        }
    }
    if (x >= PALETTE_LEFT && x <= PALETTE_LEFT + PALETTE_TAP_WIDTH && y >= PALETTE_TOP &&
        y <= PALETTE_TOP + PALETTE_TAP_HEIGHT)
        tapPalette(dialog, x, y);
}

// The board may leave the editor when it would be legal for one side or the other,
// before the side page settles side, castling and en passant; otherwise the user is
// told why it may not.
bool boardCouldBeLegal(Window* dialog) {
    char fen[FEN_BUFFER_SIZE];
    appState.setupPosition->getFen(fen);
    CPosition trial;
    trial.setFen(fen);
    trial.setCastling(0);
    trial.setEnPassant(0);
    for (const int side : {BLACK, WHITE}) {
        trial.setSideToMove(side);
        if (trial.isValidSetup()) return true;
    }
    refuse(dialog, trial);
    return false;
}

intptr_t onCommand(Window* dialog, int id) {
    char fen[FEN_BUFFER_SIZE];
    switch (id) {
    case IDOK:
    case IDCANCEL:
        if (boardCouldBeLegal(dialog)) endDialog(dialog, id);
        return 1;
    case IDC_CLEAR:
        appState.setupPosition->clear();
        break;
    case IDC_RESET:
        appState.setupPosition->reset();
        break;
    case IDC_UNDO:
        appState.position->getFen(fen);
        appState.setupPosition->setFen(fen);
        break;
    default:
        return 0;
    }
    invalidateRect(dialog, nullptr, true);
    return 1;
}

intptr_t boardEditorProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG:
        appState.setupPiece = WHITE_KING;
        return 1;
    case WM_PAINT:
        paintEditor(dialog);
        return 0;
    case WM_LBUTTONUP:
        onTap(dialog, pointX(lParam), pointY(lParam));
        return 1;
    case WM_COMMAND:
        return onCommand(dialog, loWord(wParam));
    case WM_HELP:
        showHelpAt("SetupBoard");
        return 1;
    default:
        return 0;
    }
}

// The pair of dialogs until the position is legal; false when they cannot be shown.
bool editUntilLegal(Window* window) {
    for (;;) {
        {
            const ModalScope modal;
            if (dialogBox(IDD_SETUP_BOARD, window, boardEditorProc) < 0) return false;
            if (setupSideDialog(window) < 0) return false;
        }
        if (appState.setupPosition->isValidSetup()) return true;
        refuse(window, *appState.setupPosition);
    }
}

void newGameFrom(Window* window, const char* fen) {
    autosaveGame();
    appState.autoMove = false;
    stopSearch();
    clearEngineReport();
    finishAnimation(window);
    appState.newGame();
    appState.position = std::make_unique<CPosition>();
    appState.position->setFen(fen);
    appState.game->setTag("FEN", CText(fen));
    // The first move is numbered 1, as the FEN says: ply 0 is White's first move,
    // ply 1 Black's.
    appState.game->root()->ply = appState.position->sideToMove() == WHITE ? -1 : 0;
    clearHashtables();
    enableBackButton(false);
    enableForwardButton(false);
    invalidateRect(window, nullptr, true);
}

// The FEN up to its counters: what the dialogs let the user change.
std::string placement(const CPosition& position) {
    char fen[FEN_BUFFER_SIZE];
    position.getFen(fen);
    std::string text = fen;
    for (int counter = 0; counter < 2; ++counter) {
        const size_t blank = text.find_last_of(' ');
        if (blank == std::string::npos) break;
        text.erase(blank);
    }
    return text;
}

} // namespace

void setupBoardDialogs(Window* window) {
    char before[FEN_BUFFER_SIZE];
    appState.position->getFen(before);
    appState.setupPosition->setFen(before);
    if (!editUntilLegal(window)) return;
    CPosition& setup = *appState.setupPosition;
    if (placement(setup) == placement(*appState.position)) return;
    // A new game: no move towards the fifty yet, and the first move is move 1. The old
    // game's counters would have the engine treat it as nearly drawn.
    setup.setHalfMoveClock(0);
    setup.setMoveNumber(1);
    char after[FEN_BUFFER_SIZE];
    setup.getFen(after);
    newGameFrom(window, after);
}
