#include "board/board_view.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/shell.h"
#include "board/arrow.h"
#include "board/board_drawing.h"
#include "board/geometry.h"
#include "platform/ui/dc.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

constexpr Color ARROW_YELLOW = rgb(250, 250, 80);

void invalidate(const Rect& area) {
    invalidateRect(shell.mainWindow, &area, false);
}

// The rook squares of castling, by the king's destination.
struct CastlingSquares {
    Square key;
    Square rookFrom;
    Square rookTo;
};
constexpr CastlingSquares CASTLING_SQUARES[] = {
    {0x20, 0x00, 0x30}, // c1: a1, d1
    {0x27, 0x07, 0x37}, // c8: a8, d8
    {0x60, 0x70, 0x50}, // g1: h1, f1
    {0x67, 0x77, 0x57}, // g8: h8, f8
};

} // namespace

void paintBoard(Dc* dc, const Rect& updateArea) {
    if (updateArea.top < appState.statusRect.top) {
        drawBoard(dc, appState.clientRect, appState.squareSize, appState.position->board(),
                  NOT_A_SQUARE, appState.clientRect, appState.flipped);
    }
    drawLastMoveMarking(dc);
}

void paintSquareNow(Square square) {
    if (!onBoard(square)) return;
    Dc* dc = getDC(shell.mainWindow);
    if (!dc) return;
    const Rect r = squareRect(square);
    drawSquareTexture(dc, square, r.left, r.top);
    drawPieceAt(dc, appState.position->at(square), r.left, r.top);
    releaseDC(shell.mainWindow, dc);
}

void invalidateSquare(Square square) {
    if (onBoard(square)) invalidate(squareRect(square));
}

void clearMarks() {
    if (appState.selectedSquare != NO_MARK) {
        invalidateSquare(appState.selectedSquare);
        appState.selectedSquare = NO_MARK;
    }
    if (appState.targetSquare != NO_MARK) {
        invalidateSquare(appState.targetSquare);
        appState.targetSquare = NO_MARK;
    }
}

void eraseLastMoveMarking() {
    if (appState.highlightedMove == NO_MOVE) return;
    const CMove old = appState.highlightedMove;
    appState.highlightedMove = NO_MOVE;
    invalidate(moveRect(old));
}

void invalidateExtraSquares(CMove move) {
    if (move == NO_MOVE) return;
    if (move.isCastling()) {
        // Taken back, the move runs from the king's destination to e1 or e8.
        const Square key = fileOf(move.from) != 4 ? move.from : move.to;
        for (const CastlingSquares& castling : CASTLING_SQUARES) {
            if (castling.key != key) continue;
            invalidateSquare(castling.rookFrom);
            invalidateSquare(castling.rookTo);
        }
    }
    if (move.isEnPassant()) {
        const Square low =
            std::min(move.from, move.to, [](Square a, Square b) { return rankOf(a) < rankOf(b); });
        const Square high = low == move.from ? move.to : move.from;
        invalidateSquare(isBlackPiece(move.piece) ? Square(low + 1) : Square(high - 1));
    }
}

void drawLastMoveMarking(Dc* dc) {
    if (!appState.highlightLastMove || appState.highlightedMove == NO_MOVE) return;
    const CMove move = appState.highlightedMove;
    Point points[20];
    const int count = arrowPolygon(squareCentre(move.from), squareCentre(move.to),
                                   appState.squareSize, points, 20);
    if (count == 0) return;
    const Pen pen = selectPen(dc, BLACK_PEN);
    const Brush brush = selectBrush(dc, Brush{ARROW_YELLOW, false});
    polygon(dc, points, 8);
    selectPen(dc, pen);
    selectBrush(dc, brush);
}
