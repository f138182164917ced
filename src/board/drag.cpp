#include "board/drag.h"

#include <algorithm>
#include <cstdlib>

#include "app/app_state.h"
#include "app/shell.h"
#include "board/animation.h"
#include "board/board_drawing.h"
#include "board/board_view.h"
#include "board/geometry.h"
#include "board/move_sound.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

constexpr int BOARD_PIXELS = 240;
constexpr int HALF_SQUARE = 15;

// The board without the moving piece, from the start of a movement to its end.
Bitmap* background = nullptr;
Dc* backgroundDc = nullptr;
// The 30 x 30 pixels of the background under the piece while it is composed.
Bitmap* underPiece = nullptr;
Dc* underPieceDc = nullptr;
// Where the piece was last drawn: the top-left of its image, in window pixels.
Point lastPos{0, 0};
// Set while a call runs: a call meanwhile would compose on a half-made picture.
bool drawing = false;

void takeBackground(Dc* windowDc) {
    background = createBitmap(BOARD_PIXELS, BOARD_PIXELS);
    underPiece = createBitmap(appState.squareSize, appState.squareSize);
    if (!background || !underPiece) return;
    backgroundDc = createCompatibleDC(windowDc);
    selectBitmap(backgroundDc, background);
    underPieceDc = createCompatibleDC(windowDc);
    selectBitmap(underPieceDc, underPiece);
    const Rect client = appState.clientRect;
    bitBlt(backgroundDc, 0, 0, BOARD_PIXELS, BOARD_PIXELS, windowDc, client.left, client.top);
}

void dropBackground() {
    deleteDC(backgroundDc);
    deleteDC(underPieceDc);
    deleteBitmap(background);
    deleteBitmap(underPiece);
    backgroundDc = underPieceDc = nullptr;
    background = underPiece = nullptr;
}

bool hasBackground() {
    return backgroundDc && underPieceDc;
}

// The piece at pos (window pixels) on the background, copied to the window with the
// place it left. The background holds the board alone, from its origin.
void showPieceAt(Dc* windowDc, Piece piece, Point pos) {
    if (!hasBackground()) return;
    const int size = appState.squareSize;
    const Point origin{appState.clientRect.left, appState.clientRect.top};
    const Point at{pos.x - origin.x, pos.y - origin.y};
    bitBlt(underPieceDc, 0, 0, size, size, backgroundDc, at.x, at.y);
    drawPieceAt(backgroundDc, piece, at.x, at.y);
    const int left = std::min(pos.x, lastPos.x);
    const int top = std::min(pos.y, lastPos.y);
    bitBlt(windowDc, left, top, std::abs(pos.x - lastPos.x) + size,
           std::abs(pos.y - lastPos.y) + size, backgroundDc, left - origin.x, top - origin.y);
    bitBlt(backgroundDc, at.x, at.y, size, size, underPieceDc, 0, 0);
}

} // namespace

void dragRender(Window* window, DragPhase phase, Piece piece, int x, int y) {
    if (drawing) return;
    drawing = true;
    Dc* dc = getDC(window);
    if (!dc) {
        drawing = false;
        return;
    }
    const Point pos{x - HALF_SQUARE, y - HALF_SQUARE};
    if (phase == DragPhase::start && appState.dragging) phase = DragPhase::moveTo;

    if (phase == DragPhase::start) {
        setCapture(shell.mainWindow);
        appState.dragging = true;
        appState.dragPiece = piece;
        appState.dragFrom = pointToSquare(x, y);
        dropBackground();
        takeBackground(dc);
        const Square from = appState.dragFrom;
        if (onBoard(from)) {
            const Rect r = squareRect(from);
            const Rect client = appState.clientRect;
            if (hasBackground())
                drawSquareTexture(backgroundDc, from, r.left - client.left, r.top - client.top);
            lastPos = Point{r.left, r.top};
        } else {
            lastPos = pos;
        }
    }
    if (phase == DragPhase::moveTo || phase == DragPhase::place) {
        showPieceAt(dc, piece, pos);
        lastPos = pos;
    }
    const bool finishing = phase == DragPhase::place || phase == DragPhase::end;
    if (finishing) {
        dropBackground();
        releaseCapture();
    }
    if (phase == DragPhase::end) {
        const int size = appState.squareSize;
        const Rect clip{std::min(pos.x, lastPos.x), std::min(pos.y, lastPos.y),
                        std::max(pos.x, lastPos.x) + size, std::max(pos.y, lastPos.y) + size};
        drawBoard(dc, appState.clientRect, size, appState.position->board(), appState.dragFrom,
                  clip, appState.flipped);
        invalidateSquare(appState.dragFrom);
        eraseLastMoveMarking();
    }
    if (finishing) {
        if (const CMoveAnimation* animation = appState.animation.load()) {
            if (appState.highlightLastMove && animation->highlight) {
                appState.highlightedMove = animation->move;
                const Rect area = moveRect(animation->move);
                invalidateRect(window, &area, false);
            }
            invalidateExtraSquares(animation->move);
            if (animation->playSound) playMoveSound(animation->move);
        }
        appState.dragging = false;
        appState.dragPiece = EMPTY;
        appState.dragFrom = 120;
    }
    releaseDC(window, dc);
    drawing = false;
}
