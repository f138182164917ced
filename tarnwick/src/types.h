// Basic vocabulary of the engine: squares, pieces, moves and scores.
#pragma once

#include <cstdint>

namespace tarnwick {

using Bitboard = uint64_t;
using Key = uint64_t;

// Squares run a1 = 0, b1 = 1, ... h8 = 63.
enum Square : int { A1 = 0, E1 = 4, H1 = 7, A8 = 56, E8 = 60, H8 = 63, NO_SQUARE = 64 };
enum Color : int { WHITE = 0, BLACK = 1 };
enum PieceType : int { PAWN = 0, KNIGHT, BISHOP, ROOK, QUEEN, KING, NO_TYPE };
// A piece is colour * 6 + type; NO_PIECE marks an empty square.
enum Piece : int { NO_PIECE = 12 };

constexpr Color operator~(Color c) {
    return Color(c ^ 1);
}
constexpr Piece makePiece(Color c, PieceType t) {
    return Piece(c * 6 + t);
}
constexpr PieceType typeOf(Piece p) {
    return PieceType(p % 6);
}
constexpr Color colorOf(Piece p) {
    return Color(p / 6);
}
constexpr int fileOf(int sq) {
    return sq & 7;
}
constexpr int rankOf(int sq) {
    return sq >> 3;
}
constexpr int makeSquare(int file, int rank) {
    return rank * 8 + file;
}
// The square as seen from White's side: rank mirrored for Black.
constexpr int relative(Color c, int sq) {
    return c == WHITE ? sq : sq ^ 56;
}

// Castling rights, one bit each.
enum CastlingRight : int { WHITE_OO = 1, WHITE_OOO = 2, BLACK_OO = 4, BLACK_OOO = 8 };

// A move in 16 bits: from (0-5), to (6-11), kind (12-13), promotion piece (14-15:
// knight, bishop, rook, queen). Castling is encoded as the king's two-square step.
using Move = uint16_t;
constexpr Move NO_MOVE = 0;
enum MoveKind : int { NORMAL = 0, PROMOTION = 1, EN_PASSANT = 2, CASTLING = 3 };

constexpr Move makeMove(int from, int to, MoveKind kind = NORMAL, PieceType promo = KNIGHT) {
    return Move(from | (to << 6) | (kind << 12) | ((promo - KNIGHT) << 14));
}
constexpr int moveFrom(Move m) {
    return m & 63;
}
constexpr int moveTo(Move m) {
    return (m >> 6) & 63;
}
constexpr MoveKind moveKind(Move m) {
    return MoveKind((m >> 12) & 3);
}
constexpr PieceType promotionType(Move m) {
    return PieceType(((m >> 14) & 3) + KNIGHT);
}

// Scores in centipawns. A mate in p plies scores MATE - p.
constexpr int MATE = 30000;
constexpr int INFINITE_SCORE = 32000;
constexpr int MATE_BOUND = MATE - 1000;
constexpr int MAX_PLY = 120;

} // namespace tarnwick
