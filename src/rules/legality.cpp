#include <cassert>

#include "rules/attacks.h"
#include "rules/making.h"
#include "rules/position.h"

// A move is legal when, made on the board, it leaves its own king unattacked.
// There is no pin detection: every candidate is made and taken back, which the
// whole-board history entry makes one copy each way.

bool CPosition::isLegal(CMove move, Square kingSq) {
    if (!onBoard(kingSq)) return false;
    const Piece king = m_board[kingSq];
    if (king != WHITE_KING && king != BLACK_KING) return false;
    if (move == NULL_MOVE)
        return king == WHITE_KING ? !attackedBy<BLACK>(kingSq) : !attackedBy<WHITE>(kingSq);
    if (!pushHistory(move)) return false;
    // Only the board matters to the test: the counters, rights and side are left as
    // they are, and popBoard puts the board back from the entry just written.
    placeMove(move);
    const Square tested = move.from == kingSq ? move.to : kingSq;
    const bool legal = king == WHITE_KING ? !attackedBy<BLACK>(tested) : !attackedBy<WHITE>(tested);
    popBoard();
    return legal;
}

void CPosition::legalMovesFrom(Square square, CMove* list, uint16_t& count) {
    count = 0;
    if (!onBoard(square)) return;
    const Piece piece = m_board[square];
    if (piece > BLACK_QUEEN || piece == EMPTY || piece == OFF_BOARD) return;
    const Square king = kingSquare(isWhitePiece(piece) ? WHITE_KING : BLACK_KING);
    uint16_t generated = 0;
    generateMoves(square, list, generated);
    for (uint16_t i = 0; i < generated; ++i)
        if (isLegal(list[i], king)) list[count++] = list[i];
}

void CPosition::legalMoves(CMove* list, uint16_t& count) {
    count = 0;
    const bool white = m_sideToMove == WHITE;
    const Square king = kingSquare(white ? WHITE_KING : BLACK_KING);
    if (!onBoard(king)) return;
    CMove spill[MAX_SQUARE_MOVES];
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (!onBoard(square)) {
            square += 7; // to the next file
            continue;
        }
        const Piece piece = m_board[square];
        if (white ? piece > WHITE_QUEEN : (piece < BLACK_KING || piece > BLACK_QUEEN)) continue;
        // Generate straight into the caller's list while a square's worth of room is
        // left; near the end use a spill area so the list is never overrun.
        CMove* generated = count + MAX_SQUARE_MOVES <= MAX_MOVES ? list + count : spill;
        uint16_t generatedCount = 0;
        generateMoves(Square(square), generated, generatedCount);
        for (uint16_t i = 0; i < generatedCount; ++i) {
            const CMove move = generated[i];
            if (isLegal(move, king) && count < MAX_MOVES) list[count++] = move;
        }
    }
}

bool CPosition::hasLegalMove() {
    const bool white = m_sideToMove == WHITE;
    const Square king = kingSquare(white ? WHITE_KING : BLACK_KING);
    if (!onBoard(king)) return false;
    CMove moves[MAX_SQUARE_MOVES];
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (!onBoard(square)) continue;
        const Piece piece = m_board[square];
        if (white ? piece > WHITE_QUEEN : (piece < BLACK_KING || piece > BLACK_QUEEN)) continue;
        uint16_t count = 0;
        generateMoves(Square(square), moves, count);
        for (uint16_t i = 0; i < count; ++i)
            if (isLegal(moves[i], king)) return true;
    }
    return false;
}

CMove CPosition::findMove(Square from, Square to, Piece promotionPiece) {
    CMove moves[MAX_SQUARE_MOVES];
    uint16_t count = 0;
    legalMovesFrom(from, moves, count);
    for (uint16_t i = 0; i < count; ++i) {
        const CMove move = moves[i];
        if (move.to == to && (!move.isPromotion() || move.piece == promotionPiece)) return move;
    }
    return NO_MOVE;
}

namespace {

// Promotions count only as the queen: one tap cannot mean the under-promotions.
CMove uniqueMove(const CMove* moves, uint16_t count, bool (*fits)(CMove, Square), Square square) {
    CMove found = NO_MOVE;
    int matches = 0;
    for (uint16_t i = 0; i < count; ++i) {
        const CMove move = moves[i];
        if (!fits(move, square)) continue;
        if (move.isPromotion() && move.piece != WHITE_QUEEN && move.piece != BLACK_QUEEN) continue;
        found = move;
        ++matches;
    }
    if (matches == 0) return NO_MOVE;
    return matches == 1 ? found : AMBIGUOUS_MOVE;
}

} // namespace

CMove CPosition::uniqueMoveTo(Square square) {
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    legalMoves(moves, count);
    return uniqueMove(
        moves, count, [](CMove move, Square to) { return move.to == to; }, square);
}

CMove CPosition::uniqueMoveFrom(Square square) {
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    legalMoves(moves, count);
    return uniqueMove(
        moves, count, [](CMove move, Square from) { return move.from == from; }, square);
}
