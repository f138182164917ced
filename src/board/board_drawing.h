#pragma once
// Drawing a board: squares from the two-square texture, pieces from a strip with
// silver as the transparent colour, and red frames round the marked squares.

#include <cstdint>

#include "platform/ui/geometry.h"
#include "rules/move.h"

namespace platform {
struct Dc;
}

// The image of a piece code in a piece strip, or -1 for codes without one.
int stripIndex(Piece piece);

// A rectangle touches clip when one of its four corners lies in clip; clip's left
// and top count as inside, its right and bottom as outside.
bool touchesClip(const platform::Rect& square, const platform::Rect& clip);

// Draws the squares (size 24 or 30) that touch clip with their pieces, leaving out
// the piece on skipSquare, then the frames of the marked squares. area's left and
// top are the board's origin; an area smaller than the board draws nothing.
void drawBoard(platform::Dc* dc, const platform::Rect& area, int size, const uint8_t* board,
               Square skipSquare, const platform::Rect& clip, bool flipped);
// The square's texture half at (x, y), 30 pixels.
void drawSquareTexture(platform::Dc* dc, Square square, int x, int y);
// The piece's 30-pixel image at (x, y); nothing for codes without an image.
void drawPieceAt(platform::Dc* dc, Piece piece, int x, int y);
// One-pixel red frame just inside the square's rectangle.
void drawSelectionFrame(platform::Dc* dc, const platform::Rect& square);
