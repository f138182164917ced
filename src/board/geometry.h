#pragma once
// Where squares are: the board's squares and pixels, flipped or not.
//
// A board of square size s has its origin at (left, top). Unflipped, a1 is at
// the bottom left; flipped, h8 is. Rectangles leave out their right and bottom.

#include "platform/ui/geometry.h"
#include "rules/move.h"

// What pointToSquare answers off the board.
constexpr Square NOT_A_SQUARE = 255;

platform::Rect squareRectAt(Square square, int size, bool flipped, int left, int top);
// The square's rectangle on the main window's board.
platform::Rect squareRect(Square square);
// The square under a point of the main window, or NOT_A_SQUARE.
Square pointToSquare(int x, int y);
// The smallest rectangle holding both squares of the move.
platform::Rect moveRect(CMove move);
platform::Point squareCentre(Square square);
