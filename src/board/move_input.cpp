// Moves entered with the pointer: dragging a piece to its destination, or tapping
// a source and a target in either order. Marked squares carry a red frame; as
// soon as the marks form a legal move it is played.
#include "board/move_input.h"

#include "app/adjudication.h"
#include "app/app_state.h"
#include "app/engine_link.h"
#include "app/shell.h"
#include "board/animation.h"
#include "board/board_view.h"
#include "board/drag.h"
#include "board/geometry.h"
#include "board/move_sound.h"
#include "board/play_move.h"
#include "board/promotion_dialog.h"
#include "engine/think_time.h"
#include "platform/kernel/clock.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

bool belongsToSideToMove(Piece piece) {
    return appState.position->sideToMove() == WHITE ? isWhitePiece(piece) : isBlackPiece(piece);
}

bool hasMoveFrom(Square square) {
    return appState.position->uniqueMoveFrom(square) != NO_MOVE;
}

bool canBeReached(Square square) {
    return appState.position->uniqueMoveTo(square) != NO_MOVE;
}

// Pointer input meets the drag state an animation uses: the animation ends first.
void finishAnimationFirst(Window* window) {
    if (appState.animation.load()) finishAnimation(window);
}

void moveMark(uint8_t& mark, Square square) {
    if (mark == square) return;
    invalidateSquare(mark);
    invalidateSquare(square);
    mark = square;
}

} // namespace

intptr_t onLButtonDown(Window* window, unsigned, uintptr_t, intptr_t lParam) {
    if (engineBusy()) return 0;
    finishAnimationFirst(window);
    const int x = pointX(lParam);
    const int y = pointY(lParam);
    const Square square = pointToSquare(x, y);
    if (square == NOT_A_SQUARE) return 0;
    const Piece piece = appState.position->at(square);
    if (belongsToSideToMove(piece)) dragRender(window, DragPhase::start, piece, x, y);
    return 0;
}

intptr_t onMouseMove(Window* window, unsigned, uintptr_t, intptr_t lParam) {
    if (appState.dragging && !appState.animation.load())
        dragRender(window, DragPhase::moveTo, appState.dragPiece, pointX(lParam), pointY(lParam));
    return 0;
}

intptr_t onLButtonUp(Window* window, unsigned, uintptr_t, intptr_t lParam) {
    finishAnimationFirst(window);
    const int x = pointX(lParam);
    const int y = pointY(lParam);
    const Square square = pointToSquare(x, y);
    CPosition& position = *appState.position;

    Square from = appState.selectedSquare;
    Square to = appState.targetSquare;
    CMove move = NO_MOVE;
    const bool wasDragging = appState.dragging;
    bool dragMove = false;
    if (wasDragging) {
        dragMove = square != appState.dragFrom;
        if (dragMove) {
            from = appState.dragFrom;
            to = square;
        }
    }
    auto dropDrag = [&] {
        if (wasDragging) dragRender(window, DragPhase::end, appState.dragPiece, x, y);
    };

    if (engineBusy()) {
        dropDrag();
        return 0;
    }
    if (square == NOT_A_SQUARE) {
        clearMarks();
        dropDrag();
        return 0;
    }
    if (!dragMove && square == appState.selectedSquare) {
        invalidateSquare(square);
        appState.selectedSquare = NO_MARK;
        dropDrag();
        return 0;
    }
    if (!dragMove && square == appState.targetSquare) {
        invalidateSquare(square);
        appState.targetSquare = NO_MARK;
        dropDrag();
        return 0;
    }

    if (!dragMove) {
        if (belongsToSideToMove(position.at(square))) {
            if (hasMoveFrom(square)) from = square;
        } else if (canBeReached(square)) {
            to = square;
        }
    }
    if (from != NO_MARK && to != NO_MARK && belongsToSideToMove(position.at(from))) {
        const Piece queen = position.sideToMove() == WHITE ? WHITE_QUEEN : BLACK_QUEEN;
        move = position.findMove(from, to, queen);
        if (move == NO_MOVE) {
            if (from == square) to = NO_MARK;
            if (to == square) from = NO_MARK;
            if (from != NO_MARK && !hasMoveFrom(from)) from = NO_MARK;
            // A target holding a piece of the mover's that can move stays marked.
            if (to != NO_MARK && !hasMoveFrom(to)) to = NO_MARK;
        }
    }

    if (move == NO_MOVE) {
        dropDrag();
        moveMark(appState.selectedSquare, from);
        moveMark(appState.targetSquare, to);
        if (dragMove) playMoveSound(NO_MOVE);
        return 0;
    }

    if (move.from != appState.selectedSquare) paintSquareNow(appState.selectedSquare);
    if (move.to != appState.targetSquare) paintSquareNow(appState.targetSquare);
    appState.selectedSquare = NO_MARK;
    appState.targetSquare = NO_MARK;
    if (wasDragging) {
        const Point at = squareCentre(dragMove ? move.to : move.from);
        dragRender(window, DragPhase::place, appState.dragPiece, at.x, at.y);
    }
    if (move.isPromotion()) move.piece = askPromotionPiece(shell.mainWindow);
    playUserMove(window, move, !dragMove);
    return 0;
}

void playUserMove(Window* window, CMove move, bool animate) {
    appState.userMoveTick = tickCount();
    const uint32_t thinkTime =
        userMoveTime(appState.humanClockStart, uint32_t(appState.userMoveTick));
    if (!playMove(move, thinkTime, animate, false)) {
        // The game could not take the move: the board shows the position again.
        invalidateRect(window, nullptr, false);
        return;
    }
    afterUserMove(adjudicate().reason);
}
