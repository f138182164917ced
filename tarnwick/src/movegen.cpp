#include "movegen.h"

namespace tarnwick {

namespace {

void addPromotions(MoveList& list, int from, int to, GenType type) {
    if (type != GenType::QUIETS) list.add(makeMove(from, to, PROMOTION, QUEEN));
    if (type != GenType::CAPTURES) {
        list.add(makeMove(from, to, PROMOTION, ROOK));
        list.add(makeMove(from, to, PROMOTION, BISHOP));
        list.add(makeMove(from, to, PROMOTION, KNIGHT));
    }
}

void generatePawnMoves(const Position& pos, GenType type, MoveList& list) {
    const Color us = pos.sideToMove();
    const Bitboard pawns = pos.pieces(us, PAWN);
    const Bitboard enemies = pos.pieces(~us);
    const Bitboard empty = ~pos.pieces();
    const Bitboard lastRank = rankMask(us == WHITE ? 7 : 0);
    const Bitboard thirdRank = rankMask(us == WHITE ? 2 : 5);
    const int up = us == WHITE ? 8 : -8;

    Bitboard single = pawnPush(us, pawns) & empty;
    Bitboard promotions = single & lastRank;
    while (promotions) {
        int to = popLowest(promotions);
        addPromotions(list, to - up, to, type);
    }
    if (type != GenType::CAPTURES) {
        Bitboard quiet = single & ~lastRank;
        Bitboard twice = pawnPush(us, quiet & thirdRank) & empty;
        while (quiet) {
            int to = popLowest(quiet);
            list.add(makeMove(to - up, to));
        }
        while (twice) {
            int to = popLowest(twice);
            list.add(makeMove(to - 2 * up, to));
        }
    }
    if (type != GenType::QUIETS) {
        Bitboard from = pawns;
        while (from) {
            int sq = popLowest(from);
            Bitboard targets = pawnAttacks(us, sq) & enemies;
            while (targets) {
                int to = popLowest(targets);
                if (bit(to) & lastRank)
                    addPromotions(list, sq, to, type);
                else
                    list.add(makeMove(sq, to));
            }
        }
        if (pos.epSquare() != NO_SQUARE) {
            Bitboard takers = pawnAttacks(~us, pos.epSquare()) & pawns;
            while (takers)
                list.add(makeMove(popLowest(takers), pos.epSquare(), EN_PASSANT));
        }
    } else {
        // Under-promotions by capture belong with the quiet moves when captures are asked
        // for separately; the capture stage already gave the queen.
        Bitboard from = pawns & (us == WHITE ? rankMask(6) : rankMask(1));
        while (from) {
            int sq = popLowest(from);
            Bitboard targets = pawnAttacks(us, sq) & enemies;
            while (targets) {
                int to = popLowest(targets);
                list.add(makeMove(sq, to, PROMOTION, ROOK));
                list.add(makeMove(sq, to, PROMOTION, BISHOP));
                list.add(makeMove(sq, to, PROMOTION, KNIGHT));
            }
        }
    }
}

} // namespace

void generateMoves(const Position& pos, GenType type, MoveList& list) {
    const Color us = pos.sideToMove();
    const Bitboard occupied = pos.pieces();
    Bitboard targets = type == GenType::ALL        ? ~pos.pieces(us)
                       : type == GenType::CAPTURES ? pos.pieces(~us)
                                                   : ~occupied;
    generatePawnMoves(pos, type, list);
    for (PieceType pt : {KNIGHT, BISHOP, ROOK, QUEEN, KING}) {
        Bitboard from = pos.pieces(us, pt);
        while (from) {
            int sq = popLowest(from);
            Bitboard attacks = pt == KNIGHT   ? knightAttacks(sq)
                               : pt == BISHOP ? bishopAttacks(sq, occupied)
                               : pt == ROOK   ? rookAttacks(sq, occupied)
                               : pt == QUEEN  ? queenAttacks(sq, occupied)
                                              : kingAttacks(sq);
            attacks &= targets;
            while (attacks)
                list.add(makeMove(sq, popLowest(attacks)));
        }
    }
    if (type != GenType::CAPTURES) {
        const int king = relative(us, E1);
        const Color them = ~us;
        const int shortRight = us == WHITE ? WHITE_OO : BLACK_OO;
        const int longRight = us == WHITE ? WHITE_OOO : BLACK_OOO;
        if ((pos.castling() & shortRight) && !(betweenSquares(king, king + 3) & occupied) &&
            !pos.isAttacked(king, them) && !pos.isAttacked(king + 1, them))
            list.add(makeMove(king, king + 2, CASTLING));
        if ((pos.castling() & longRight) && !(betweenSquares(king, king - 4) & occupied) &&
            !pos.isAttacked(king, them) && !pos.isAttacked(king - 1, them))
            list.add(makeMove(king, king - 2, CASTLING));
    }
}

void generateLegalMoves(Position& pos, MoveList& list) {
    MoveList all;
    generateMoves(pos, GenType::ALL, all);
    for (Move m : all)
        if (pos.isLegal(m)) list.add(m);
}

uint64_t perft(Position& pos, int depth) {
    MoveList list;
    generateMoves(pos, GenType::ALL, list);
    uint64_t nodes = 0;
    for (Move m : list) {
        UndoInfo undo;
        pos.makeMove(m, undo);
        if (!pos.leftKingInCheck()) nodes += depth <= 1 ? 1 : perft(pos, depth - 1);
        pos.unmakeMove(m, undo);
    }
    return nodes;
}

} // namespace tarnwick
