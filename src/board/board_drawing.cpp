#include "board/board_drawing.h"

#include "app/app_state.h"
#include "app/shell.h"
#include "board/geometry.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"

using namespace platform;

namespace {

constexpr Color SELECTION_RED = rgb(255, 0, 0);
constexpr int TEXTURE_DARK_X = 30;

// Pieces in strip order: pawn, knight, bishop, rook, queen, king; white, then black.
constexpr int STRIP_INDEX[14] = {5, 2, 1, 3, 0, 4, -1, -1, 11, 8, 7, 9, 6, 10};

bool isDark(Square square) {
    return (rankOf(square) & 1) == (fileOf(square) & 1);
}

bool cornerIn(int x, int y, const Rect& clip) {
    return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
}

} // namespace

int stripIndex(Piece piece) {
    return piece < 14 ? STRIP_INDEX[piece] : -1;
}

bool touchesClip(const Rect& square, const Rect& clip) {
    return cornerIn(square.left, square.top, clip) || cornerIn(square.left, square.bottom, clip) ||
           cornerIn(square.right, square.top, clip) || cornerIn(square.right, square.bottom, clip);
}

void drawBoard(Dc* dc, const Rect& area, int size, const uint8_t* board, Square skipSquare,
               const Rect& clip, bool flipped) {
    if (size != 24 && size != 30) return;
    if (area.height() / 8 < size || area.width() / 8 < size) return;
    Bitmap* strip = size == 30 ? shell.pieceStrip : shell.pieceStrip24;
    Dc* textureDc = createCompatibleDC(dc);
    Dc* stripDc = createCompatibleDC(dc);
    selectBitmap(textureDc, shell.boardTexture);
    selectBitmap(stripDc, strip);
    for (int square = 0; square < 0x78; ++square) {
        if (!onBoard(square)) continue;
        const Rect r = squareRectAt(Square(square), size, flipped, area.left, area.top);
        if (!touchesClip(r, clip)) continue;
        bitBlt(dc, r.left, r.top, size, size, textureDc,
               isDark(Square(square)) ? TEXTURE_DARK_X : 0, 0);
        const int image = stripIndex(board[square]);
        if (square != skipSquare && image >= 0)
            transparentBlt(dc, r.left, r.top, size, size, stripDc, image * size, 0);
    }
    deleteDC(stripDc);
    deleteDC(textureDc);
    for (const Square marked : {appState.selectedSquare, appState.targetSquare}) {
        if (!onBoard(marked)) continue;
        const Rect r = squareRectAt(marked, size, flipped, area.left, area.top);
        if (touchesClip(r, clip)) drawSelectionFrame(dc, r);
    }
}

void drawSquareTexture(Dc* dc, Square square, int x, int y) {
    // The texture is loaded afresh: the board's own handle may be in use by a drawing.
    Bitmap* texture = loadBitmap(appState.boardBitmapId);
    if (!texture) return;
    Dc* textureDc = createCompatibleDC(dc);
    selectBitmap(textureDc, texture);
    const int size = appState.squareSize;
    bitBlt(dc, x, y, size, size, textureDc, isDark(square) ? TEXTURE_DARK_X : 0, 0);
    deleteDC(textureDc);
    deleteBitmap(texture);
}

void drawPieceAt(Dc* dc, Piece piece, int x, int y) {
    const int image = stripIndex(piece);
    if (image < 0) return;
    Dc* stripDc = createCompatibleDC(dc);
    selectBitmap(stripDc, shell.pieceStripForSquares);
    const int size = appState.squareSize;
    transparentBlt(dc, x, y, size, size, stripDc, image * size, 0);
    deleteDC(stripDc);
}

void drawSelectionFrame(Dc* dc, const Rect& r) {
    const Pen previous = selectPen(dc, Pen{SELECTION_RED, false});
    const Point lines[4][2] = {{{r.left, r.top}, {r.left, r.bottom - 1}},
                               {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}},
                               {{r.right - 1, r.bottom - 1}, {r.right - 1, r.top}},
                               {{r.left, r.top}, {r.right - 1, r.top}}};
    for (const auto& line : lines)
        polyline(dc, line, 2);
    selectPen(dc, previous);
}
