#pragma once
// Whether a side attacks a square, inlined where the generator and the legality
// test need it on every move. Rays start at the square and stop at the first
// occupied square; off-board squares (bit 0x88) end them.

#include "rules/position.h"

template <int Side> inline bool CPosition::attackedBy(Square square) const {
    constexpr Piece colour = Side == WHITE ? 0 : 8;
    constexpr Piece knight = WHITE_KNIGHT | colour;
    constexpr Piece bishop = WHITE_BISHOP | colour;
    constexpr Piece rook = WHITE_ROOK | colour;
    constexpr Piece queen = WHITE_QUEEN | colour;
    constexpr Piece king = WHITE_KING | colour;
    constexpr Piece pawn = WHITE_PAWN | colour;
    constexpr int knightJumps[8] = {18, -14, -31, 33, -33, 31, -18, 14};
    constexpr int diagonals[4] = {-15, 17, -17, 15};
    constexpr int lines[4] = {1, -16, 16, -1};
    constexpr int kingSteps[8] = {1, -1, 16, -16, 15, -15, 17, -17};
    // A white pawn attacks from one rank below, a black pawn from one rank above.
    constexpr int pawnFrom[2] = {Side == WHITE ? -17 : -15, Side == WHITE ? 15 : 17};

    if (!onBoard(square)) return false;
    const uint8_t* board = m_board;
    for (int jump : knightJumps) {
        const Square from = Square(square + jump);
        if (onBoard(from) && board[from] == knight) return true;
    }
    for (int step : diagonals) {
        Square at = Square(square + step);
        while (onBoard(at)) {
            const Piece piece = board[at];
            if (piece != EMPTY) {
                if (piece == bishop || piece == queen) return true;
                break;
            }
            at = Square(at + step);
        }
    }
    for (int step : lines) {
        Square at = Square(square + step);
        while (onBoard(at)) {
            const Piece piece = board[at];
            if (piece != EMPTY) {
                if (piece == rook || piece == queen) return true;
                break;
            }
            at = Square(at + step);
        }
    }
    for (int step : kingSteps) {
        const Square from = Square(square + step);
        if (onBoard(from) && board[from] == king) return true;
    }
    for (int step : pawnFrom) {
        const Square from = Square(square + step);
        if (onBoard(from) && board[from] == pawn) return true;
    }
    return false;
}
