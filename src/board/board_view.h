#pragma once
// The main window's board: its part of WM_PAINT, and the requests that redraw
// single squares, the squares of a move, or the last-move arrow.

#include "platform/ui/geometry.h"
#include "rules/move.h"

namespace platform {
struct Dc;
}

// The board part of WM_PAINT, for an update area that is not empty: the squares
// when the area reaches above the status panel, then the last-move arrow.
void paintBoard(platform::Dc* dc, const platform::Rect& updateArea);

// Draws the square's texture and piece straight into the window.
void paintSquareNow(Square square);
// Asks for the square to be redrawn; off-board squares ask nothing.
void invalidateSquare(Square square);
// Unmarks the marked squares and asks for them to be redrawn.
void clearMarks();
// Takes the arrow off the board.
void eraseLastMoveMarking();
// Asks for the squares a move changes besides its own two: the rook's of castling,
// the captured pawn's of en passant.
void invalidateExtraSquares(CMove move);
// The arrow of highlightedMove, when the option is on.
void drawLastMoveMarking(platform::Dc* dc);
