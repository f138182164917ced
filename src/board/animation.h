#pragma once
// Move animation: the piece glides from its square to its destination, driven
// by timer 102, at the chosen speed.

#include <cstdint>

#include "rules/move.h"

namespace platform {
struct Window;
}

constexpr uintptr_t ANIMATION_TIMER = 102;

// The one running animation (the application state's animation).
struct CMoveAnimation {
    int32_t startX, startY; // centre of the from square
    int32_t endX, endY;     // centre of the to square
    int32_t dx, dy;         // to square's left and top minus the from square's
    int32_t step;           // frames shown so far
    int32_t steps;          // frames in all
    CMove move;
    uint8_t piece; // drawn while moving: a promotion moves its pawn
    bool playSound;
    bool highlight;
};

struct CAnimationPace {
    int32_t steps;
    uint32_t periodMs;
};

// Frames and timer period for a move of dx, dy pixels at an animation speed
// (0 off, 1 slow, 2 medium, 3 fast); slow forces the slow pace.
CAnimationPace animationPace(int dx, int dy, int speed, bool slow);

void startAnimation(platform::Window* window, CMove move, bool playSound, bool slow,
                    bool highlight);
// Timer 102: one frame, or the end of the animation.
void animationStep(platform::Window* window);
// Ends a running animation at once, with the piece on its destination.
void finishAnimation(platform::Window* window);
// Before a command changes the position: a running animation ends without its sound
// and arrow, a dragged piece goes back to its square, so the board shows the game.
void settleBoard(platform::Window* window);

// After a move has been played into the position: animated or not, with its
// sound, with or without the last-move arrow.
void showMove(platform::Window* window, CMove move, bool animate, bool playSound, bool highlight);
// After a move has been taken back.
void showMoveBack(platform::Window* window, CMove move);
