#include "board/animation.h"

#include <cmath>
#include <new>

#include "app/app_state.h"
#include "board/board_view.h"
#include "board/drag.h"
#include "board/geometry.h"
#include "board/move_sound.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

// Base frames per 64 pixels, by the move's length in whole squares: short moves
// glide slower than long ones.
constexpr int32_t STEP_TABLE[13] = {32, 32, 28, 24, 20, 16, 15, 15, 14, 13, 12, 12, 12};

void endAnimation(Window* window, CMoveAnimation* animation) {
    killTimer(window, ANIMATION_TIMER);
    dragRender(window, DragPhase::end, animation->piece, animation->endX, animation->endY);
    appState.animation = nullptr;
    delete animation;
}

// A drag of the user's own gives way: the piece goes back to its square.
void returnDraggedPiece(Window* window) {
    if (appState.dragging && !appState.animation.load()) {
        const Point home = squareCentre(appState.dragFrom);
        dragRender(window, DragPhase::end, appState.dragPiece, home.x, home.y);
    }
}

} // namespace

CAnimationPace animationPace(int dx, int dy, int speed, bool slow) {
    const int length = int(std::hypot(double(dx), double(dy)));
    const int index = length / 30;
    const int32_t base = index < 13 ? length * STEP_TABLE[index] / 64 : length * 12 / 64;
    if (slow) speed = 1;
    switch (speed) {
    case 1:
        return {2 * base, 8};
    case 2:
        return {3 * base / 2, 4};
    case 3:
        return {2 * base / 3, 5};
    default:
        return {base, 20};
    }
}

void finishAnimation(Window* window) {
    if (CMoveAnimation* animation = appState.animation.load()) endAnimation(window, animation);
}

void settleBoard(Window* window) {
    if (CMoveAnimation* animation = appState.animation.load()) {
        // The glide's arrow and sound belong to a position about to be left.
        animation->playSound = false;
        animation->highlight = false;
        endAnimation(window, animation);
    }
    returnDraggedPiece(window);
}

void startAnimation(Window* window, CMove move, bool playSound, bool slow, bool highlight) {
    finishAnimation(window);
    // The animation needs the drag state.
    returnDraggedPiece(window);
    auto* animation = new (std::nothrow) CMoveAnimation{};
    if (!animation) return;
    animation->move = move;
    animation->piece = move.isPromotion() ? Piece((move.piece & 8) | WHITE_PAWN) : move.piece;
    animation->playSound = playSound;
    animation->highlight = highlight;
    const Rect from = squareRect(move.from);
    const Rect to = squareRect(move.to);
    animation->startX = from.left + 15;
    animation->startY = from.top + 15;
    animation->endX = to.left + 15;
    animation->endY = to.top + 15;
    animation->dx = to.left - from.left;
    animation->dy = to.top - from.top;
    animation->step = 0;
    const CAnimationPace pace =
        animationPace(animation->dx, animation->dy, appState.animationSpeed, slow);
    animation->steps = pace.steps;
    appState.animation = animation;
    dragRender(window, DragPhase::start, animation->piece, animation->startX, animation->startY);
    setTimer(window, ANIMATION_TIMER, pace.periodMs);
}

void animationStep(Window* window) {
    CMoveAnimation* animation = appState.animation.load();
    if (!animation) {
        killTimer(window, ANIMATION_TIMER);
        return;
    }
    ++animation->step;
    if (animation->step < animation->steps) {
        dragRender(window, DragPhase::moveTo, animation->piece,
                   animation->startX + animation->dx * animation->step / animation->steps,
                   animation->startY + animation->dy * animation->step / animation->steps);
        return;
    }
    endAnimation(window, animation);
}

void showMove(Window* window, CMove move, bool animate, bool playSound, bool highlight) {
    if (animate && appState.animationSpeed != 0) {
        startAnimation(window, move, playSound, false, highlight);
        return;
    }
    // Shown at once: a drag's copy of the board would bring the old position back.
    finishAnimation(window);
    returnDraggedPiece(window);
    eraseLastMoveMarking();
    if (appState.highlightLastMove && highlight) {
        appState.highlightedMove = move;
        const Rect area = moveRect(move);
        invalidateRect(window, &area, false);
    } else {
        invalidateSquare(move.from);
        invalidateSquare(move.to);
    }
    invalidateExtraSquares(move);
    if (playSound) playMoveSound(move);
}

void showMoveBack(Window* window, CMove move) {
    if (appState.animationSpeed != 0) {
        const CMove reversed(move.to, move.piece, move.from, move.flags);
        startAnimation(window, reversed, false, false, false);
        return;
    }
    finishAnimation(window);
    returnDraggedPiece(window);
    eraseLastMoveMarking();
    invalidateSquare(move.to);
    invalidateSquare(move.from);
    invalidateExtraSquares(move);
}
