// Bitboard helpers and the attack tables of every piece.
#pragma once

#include "types.h"

namespace tarnwick {

constexpr Bitboard bit(int sq) {
    return Bitboard(1) << sq;
}
constexpr Bitboard FILE_A = 0x0101010101010101ULL;
constexpr Bitboard RANK_1 = 0xFFULL;
constexpr Bitboard fileMask(int file) {
    return FILE_A << file;
}
constexpr Bitboard rankMask(int rank) {
    return RANK_1 << (8 * rank);
}

inline int popCount(Bitboard b) {
    return __builtin_popcountll(b);
}
inline int lowestSquare(Bitboard b) {
    return __builtin_ctzll(b);
}
inline int highestSquare(Bitboard b) {
    return 63 - __builtin_clzll(b);
}
inline int popLowest(Bitboard& b) {
    int sq = lowestSquare(b);
    b &= b - 1;
    return sq;
}
inline bool moreThanOne(Bitboard b) {
    return b & (b - 1);
}

inline Bitboard shiftNorth(Bitboard b) {
    return b << 8;
}
inline Bitboard shiftSouth(Bitboard b) {
    return b >> 8;
}
inline Bitboard shiftEast(Bitboard b) {
    return (b & ~fileMask(7)) << 1;
}
inline Bitboard shiftWest(Bitboard b) {
    return (b & ~FILE_A) >> 1;
}
inline Bitboard pawnPush(Color c, Bitboard b) {
    return c == WHITE ? b << 8 : b >> 8;
}

// Filled in once by initAttacks(); read-only afterwards, so threads may share them.
struct AttackTables {
    Bitboard pawn[2][64];
    Bitboard knight[64];
    Bitboard king[64];
    Bitboard between[64][64]; // squares strictly between two aligned squares
    Bitboard line[64][64];    // the whole line through two aligned squares
};
extern AttackTables attackTables;

void initAttacks();

Bitboard bishopAttacks(int sq, Bitboard occupied);
Bitboard rookAttacks(int sq, Bitboard occupied);
inline Bitboard queenAttacks(int sq, Bitboard occupied) {
    return bishopAttacks(sq, occupied) | rookAttacks(sq, occupied);
}
inline Bitboard pawnAttacks(Color c, int sq) {
    return attackTables.pawn[c][sq];
}
inline Bitboard knightAttacks(int sq) {
    return attackTables.knight[sq];
}
inline Bitboard kingAttacks(int sq) {
    return attackTables.king[sq];
}
inline Bitboard betweenSquares(int a, int b) {
    return attackTables.between[a][b];
}

} // namespace tarnwick
