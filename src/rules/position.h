#pragma once
// CPosition: one chess position on a 0x88 board with the history of every
// position before each move made on it, for taking back and for repetitions.
//
// Each history entry keeps the whole 128-byte board: taking back is one copy,
// and the repetition test needs the old boards anyway.

#include <cstdint>

#include "rules/move.h"

struct CHistoryEntry {
    uint8_t board[BOARD_SIZE];
    uint8_t sideToMove;
    uint8_t castling;
    uint8_t enPassant;
    CMove move;   // the move made from this position
    uint8_t hint; // first differing square found by the repetition test last time
};
static_assert(sizeof(CHistoryEntry) == 136,
              "a history entry is the board, three bytes, a move, a hint");

// Castling rights, one bit each.
enum : uint8_t {
    CASTLE_K = 1, // white short
    CASTLE_Q = 2, // white long
    CASTLE_k = 4, // black short
    CASTLE_q = 8, // black long
};

// Reasons written by gameStatus.
enum : int {
    STATUS_ON = 0,
    STATUS_CHECKMATE = 1,
    STATUS_STALEMATE = 2,
    STATUS_REPETITION = 3,
    STATUS_FIFTY_MOVES = 4,
    STATUS_MATERIAL = 5,
};

// Longest FEN getFen can write, terminator included.
constexpr int FEN_BUFFER_SIZE = 96;

extern const char START_FEN[];

class CPosition {
public:
    CPosition();
    CPosition(const CPosition& other);
    CPosition& operator=(const CPosition& other);
    ~CPosition();

    void reset();
    void clear();
    void setFen(const char* text);
    void getFen(char* buffer) const; // buffer of FEN_BUFFER_SIZE bytes

    // False (and nothing changes) only when the history block could not grow.
    bool makeMove(CMove move);
    void takeBack();
    CMove lastMove() const; // NO_MOVE when the history is empty
    Square kingSquare(Piece kingCode);
    // Makes e2e4, e7e8q or "null"; false, with nothing made, for a text that names
    // no squares on the board, no piece on its origin or no known promotion piece.
    bool makeCoordinateMove(const char* text);

    // Move generation and legality. Lists are the caller's: MAX_SQUARE_MOVES
    // entries for one square, MAX_MOVES for the side to move.
    bool isAttackedByWhite(Square square) const;
    bool isAttackedByBlack(Square square) const;
    void generateMoves(Square square, CMove* list, uint16_t& count) const;
    bool isLegal(CMove move, Square kingSq);
    void legalMovesFrom(Square square, CMove* list, uint16_t& count);
    void legalMoves(CMove* list, uint16_t& count);
    CMove findMove(Square from, Square to, Piece promotionPiece);
    CMove uniqueMoveTo(Square square);
    CMove uniqueMoveFrom(Square square);
    bool hasLegalMove();

    // Game status and validity of a hand-made position.
    bool gameStatus(int& reason);
    bool isValidSetup();
    // Why no game can be played from this position, or null when one can: the
    // faults that make any game impossible, not the finer tests of isValidSetup.
    // Used for positions from the user or a file.
    const char* whyNotPlayable();
    bool inCheck(); // the side to move's king is attacked

    // Field access.
    Piece at(Square square) const {
        return square < BOARD_SIZE ? m_board[square] : Piece(OFF_BOARD);
    }
    void put(Square square, Piece piece) {
        if (onBoard(square)) m_board[square] = piece;
    }
    const uint8_t* board() const { return m_board; }
    int sideToMove() const { return m_sideToMove; }
    void setSideToMove(int side) { m_sideToMove = uint8_t(side); }
    uint8_t castling() const { return m_castling; }
    void setCastling(uint8_t rights) { m_castling = rights; }
    Square enPassant() const { return m_enPassant; }
    void setEnPassant(Square square) { m_enPassant = square; }
    int16_t halfMoveClock() const { return m_halfMoveClock; }
    void setHalfMoveClock(int16_t clock);
    int16_t moveNumber() const { return m_moveNumber; }
    void setMoveNumber(int16_t number) { m_moveNumber = number; }
    uint32_t historyCount() const { return m_historyCount; }
    uint32_t historyCapacity() const { return m_historyCapacity; }
    const CHistoryEntry& historyEntry(uint32_t index) const { return m_history[index]; }

private:
    // Doubles the history block; false (block unchanged) when memory ran out.
    bool growHistory();
    // The halves of making a move that the legality test needs: the history entry
    // with the whole board, and the pieces put on their new squares.
    bool pushHistory(CMove move);
    void placeMove(CMove move);
    // Puts back the board of the top entry and drops it; the counters are the caller's.
    void popBoard();
    // The moves at the top of the history that leave the clock counting; -1 when
    // every move in the history does, so the clock goes on from the one it was set to.
    int clockRun() const;
    template <int Side> bool attackedBy(Square square) const;
    // Whether the side to move could capture en passant onto the square.
    bool enPassantFits(Square square) const;
    // The spare entry above the top, filled with the current position; null when the
    // block could not grow to hold it.
    CHistoryEntry* snapshot();

    uint8_t m_board[BOARD_SIZE];
    uint8_t m_sideToMove;
    uint8_t m_castling;
    uint8_t m_enPassant;
    int16_t m_halfMoveClock;
    int16_t m_moveNumber;
    // The clock when the history was empty (a FEN's): taking back to the start
    // gives it back, so the fifty-move rule keeps counting from it.
    int16_t m_startClock;
    uint8_t m_kingCache[13];
    CHistoryEntry* m_history;
    uint32_t m_historyCount;
    uint32_t m_historyCapacity;
};
