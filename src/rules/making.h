#pragma once
// Making a move on the board, shared by makeMove and the legality test. Internal
// to the rules: callers outside use makeMove and takeBack.

#include <cassert>
#include <cstring>

#include "rules/position.h"

inline bool CPosition::pushHistory(CMove move) {
    if (m_historyCount >= m_historyCapacity && !growHistory()) return false;
    CHistoryEntry& entry = m_history[m_historyCount++];
    std::memcpy(entry.board, m_board, BOARD_SIZE);
    entry.sideToMove = m_sideToMove;
    entry.castling = m_castling;
    entry.enPassant = m_enPassant;
    entry.move = move;
    return true;
}

inline void CPosition::placeMove(CMove move) {
    const Square from = move.from;
    const Square to = move.to;
    assert(onBoard(from) && onBoard(to));
    if (move.flags & FLAG_EN_PASSANT) {
        const Square taken = Square(move.piece == WHITE_PAWN ? to - 1 : to + 1);
        if (onBoard(taken)) m_board[taken] = EMPTY;
    }
    m_board[from] = EMPTY;
    m_board[to] = move.piece;
    if (move.flags & FLAG_CASTLING) {
        Square rookFrom = 0x88, rookTo = 0x88;
        if (to == from + 32) {
            rookFrom = Square(to + 16);
            rookTo = Square(from + 16);
        } else if (to + 32 == from) {
            rookFrom = Square(to - 32);
            rookTo = Square(from - 16);
        }
        if (onBoard(rookFrom) && onBoard(rookTo)) {
            m_board[rookTo] = m_board[rookFrom];
            m_board[rookFrom] = EMPTY;
        }
    }
}

inline void CPosition::popBoard() {
    assert(m_historyCount > 0);
    const CHistoryEntry& entry = m_history[--m_historyCount];
    std::memcpy(m_board, entry.board, BOARD_SIZE);
    m_sideToMove = entry.sideToMove;
    m_castling = entry.castling;
    m_enPassant = entry.enPassant;
}
