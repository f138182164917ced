#include "see.h"

#include "evaluate.h"

#include <algorithm>

namespace tarnwick {

namespace {

// The least valuable piece of colour side among attackers, or NO_TYPE.
PieceType leastValuable(const Position& pos, Bitboard attackers, Color side, int& square) {
    for (int t = PAWN; t <= KING; ++t) {
        Bitboard b = attackers & pos.pieces(side, PieceType(t));
        if (b) {
            square = lowestSquare(b);
            return PieceType(t);
        }
    }
    return NO_TYPE;
}

} // namespace

int staticExchange(const Position& pos, Move m) {
    const int from = moveFrom(m), to = moveTo(m);
    const MoveKind kind = moveKind(m);
    if (kind == CASTLING) return 0;
    int gain[34];
    int depth = 0;
    Piece target = pos.pieceOn(to);
    gain[0] = kind == EN_PASSANT   ? PIECE_VALUE[PAWN]
              : target == NO_PIECE ? 0
                                   : PIECE_VALUE[typeOf(target)];
    int onSquare = PIECE_VALUE[typeOf(pos.pieceOn(from))];
    if (kind == PROMOTION) {
        gain[0] += PIECE_VALUE[promotionType(m)] - PIECE_VALUE[PAWN];
        onSquare = PIECE_VALUE[promotionType(m)];
    }
    Bitboard occupied = pos.pieces() ^ bit(from);
    if (kind == EN_PASSANT) occupied ^= bit(to + (pos.sideToMove() == WHITE ? -8 : 8));
    const Bitboard diagonal = pos.pieces(BISHOP) | pos.pieces(QUEEN);
    const Bitboard straight = pos.pieces(ROOK) | pos.pieces(QUEEN);
    Bitboard attackers = pos.attackersTo(to, occupied) & occupied;
    Color side = ~pos.sideToMove();
    while (depth < 32) {
        int square = NO_SQUARE;
        PieceType type = leastValuable(pos, attackers & occupied, side, square);
        if (type == NO_TYPE) break;
        // A king may only take last: if the other side still attacks, it cannot.
        if (type == KING && (attackers & occupied & pos.pieces(~side))) break;
        ++depth;
        gain[depth] = onSquare - gain[depth - 1];
        onSquare = type == KING ? 10000 : PIECE_VALUE[type];
        occupied ^= bit(square);
        // Pieces behind the one that took may now see the square.
        attackers |=
            (bishopAttacks(to, occupied) & diagonal) | (rookAttacks(to, occupied) & straight);
        side = ~side;
    }
    while (depth > 0) {
        gain[depth - 1] = -std::max(-gain[depth - 1], gain[depth]);
        --depth;
    }
    return gain[0];
}

} // namespace tarnwick
