#pragma once
// The step tables of the pieces on the 0x88 board, in the order generation and
// move reading walk them. Black uses White's table mirrored top to bottom
// (16 * df + dr becomes 16 * df - dr), so both colours list the "same" move first.

#include <cstdint>

#include "rules/move.h"

struct CDirections {
    int8_t delta[8];
    uint8_t count; // how many deltas a ray piece walks; steppers use all 8
};

namespace directions_detail {
constexpr int8_t mirror(int delta) {
    const int rank = ((delta % 16) + 16 + 8) % 16 - 8; // -8..7, the rank part of 16*df + dr
    const int file = (delta - rank) / 16;
    return int8_t(file * 16 - rank);
}
constexpr CDirections mirrored(CDirections white) {
    CDirections black = white;
    for (int i = 0; i < 8; ++i)
        black.delta[i] = mirror(white.delta[i]);
    return black;
}
constexpr CDirections KING_STEPS = {{16, -16, -17, -1, 15, 17, 1, -15}, 8};
constexpr CDirections BISHOP_RAYS = {{17, -15, 15, -17, 0, 0, 0, 0}, 4};
constexpr CDirections KNIGHT_JUMPS = {{-31, 33, -33, 31, -14, 18, -18, 14}, 8};
constexpr CDirections ROOK_RAYS = {{1, 16, -16, -1, 0, 0, 0, 0}, 4};
constexpr CDirections QUEEN_RAYS = {{17, -15, 1, 15, -17, -1, 16, -16}, 8};
constexpr CDirections NONE = {{0, 0, 0, 0, 0, 0, 0, 0}, 0};
} // namespace directions_detail

// Indexed by piece code 0..13; pawns and the two non-pieces have no table.
constexpr CDirections PIECE_DIRECTIONS[14] = {
    directions_detail::KING_STEPS,
    directions_detail::BISHOP_RAYS,
    directions_detail::KNIGHT_JUMPS,
    directions_detail::ROOK_RAYS,
    directions_detail::NONE,
    directions_detail::QUEEN_RAYS,
    directions_detail::NONE,
    directions_detail::NONE,
    directions_detail::mirrored(directions_detail::KING_STEPS),
    directions_detail::mirrored(directions_detail::BISHOP_RAYS),
    directions_detail::mirrored(directions_detail::KNIGHT_JUMPS),
    directions_detail::mirrored(directions_detail::ROOK_RAYS),
    directions_detail::NONE,
    directions_detail::mirrored(directions_detail::QUEEN_RAYS),
};

static_assert(PIECE_DIRECTIONS[BLACK_KING].delta[2] == -15 &&
                  PIECE_DIRECTIONS[BLACK_KING].delta[7] == -17,
              "black king: +16, -16, -15, +1, +17, +15, -1, -17");
static_assert(PIECE_DIRECTIONS[BLACK_KNIGHT].delta[0] == -33 &&
                  PIECE_DIRECTIONS[BLACK_KNIGHT].delta[7] == 18,
              "black knight: -33, +31, -31, +33, -18, +14, -14, +18");
