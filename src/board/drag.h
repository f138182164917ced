#pragma once
// One mechanism moves a piece across the board, whether the user drags it or a
// move is animated: a copy of the board without the piece is taken at the start,
// and each new position of the piece is composed on that copy and copied to the
// window together with the place it has just left, so nothing flickers.

#include "rules/move.h"

namespace platform {
struct Window;
}

enum class DragPhase {
    start,  // takes the copy and captures the pointer; nothing on screen changes
    moveTo, // shows the piece centred on (x, y)
    place,  // shows it there for good and ends the movement
    end,    // ends the movement and redraws the board where the piece was
};

void dragRender(platform::Window* window, DragPhase phase, Piece piece, int x, int y);
