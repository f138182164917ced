#pragma once
// The promotion dialog: queen, rook, bishop and knight of the side to move, one tap
// to choose. OK or Cancel choose the queen.

#include "rules/move.h"

namespace platform {
struct Window;
}

// The piece code chosen for a promotion by the side to move; also left in the
// application state's promotionPiece.
Piece askPromotionPiece(platform::Window* owner);
