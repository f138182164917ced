#include "rules/position.h"

#include <cassert>
#include <cstring>
#include <new>

#include "rules/making.h"

const char START_FEN[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

namespace {

constexpr uint32_t INITIAL_HISTORY = 16;

// Rights kept by a move touching the square, from or to: the kings' and rooks'
// home squares each take their rights away.
struct CCastlingMasks {
    uint8_t keep[BOARD_SIZE];
    constexpr CCastlingMasks() : keep() {
        for (int square = 0; square < BOARD_SIZE; ++square)
            keep[square] = 0x0F;
        keep[0x40] = uint8_t(~(CASTLE_K | CASTLE_Q) & 0x0F);
        keep[0x70] = uint8_t(~CASTLE_K & 0x0F);
        keep[0x00] = uint8_t(~CASTLE_Q & 0x0F);
        keep[0x47] = uint8_t(~(CASTLE_k | CASTLE_q) & 0x0F);
        keep[0x77] = uint8_t(~CASTLE_k & 0x0F);
        keep[0x07] = uint8_t(~CASTLE_q & 0x0F);
    }
};
constexpr CCastlingMasks CASTLING_MASKS;

CHistoryEntry* newHistoryBlock(uint32_t capacity) {
    auto* block = new (std::nothrow) CHistoryEntry[capacity];
    if (!block) return nullptr;
    for (uint32_t i = 0; i < capacity; ++i) {
        block[i].move = EMPTY_MOVE;
        block[i].hint = 0;
    }
    return block;
}

} // namespace

CPosition::CPosition() : m_kingCache() {
    static_assert(sizeof m_board == 128, "the 0x88 board has 128 bytes");
    static_assert(sizeof m_kingCache == 13, "one last-known square per piece code 0..12");
    m_history = newHistoryBlock(INITIAL_HISTORY);
    m_historyCount = 0;
    m_historyCapacity = m_history ? INITIAL_HISTORY : 0;
    reset();
}

CPosition::CPosition(const CPosition& other)
    : m_history(nullptr), m_historyCount(0), m_historyCapacity(0) {
    *this = other;
}

CPosition& CPosition::operator=(const CPosition& other) {
    if (this == &other) return *this;
    // A copy that cannot get its block keeps the position and loses the history.
    CHistoryEntry* block = newHistoryBlock(other.m_historyCapacity);
    delete[] m_history;
    m_history = block;
    m_historyCapacity = block ? other.m_historyCapacity : 0;
    m_historyCount = block ? other.m_historyCount : 0;
    if (block && other.m_historyCapacity > 0)
        std::memcpy(static_cast<void*>(block), other.m_history,
                    other.m_historyCapacity * sizeof(CHistoryEntry));
    std::memcpy(m_board, other.m_board, BOARD_SIZE);
    m_sideToMove = other.m_sideToMove;
    m_castling = other.m_castling;
    m_enPassant = other.m_enPassant;
    m_halfMoveClock = other.m_halfMoveClock;
    m_startClock = other.m_startClock;
    m_moveNumber = other.m_moveNumber;
    std::memcpy(m_kingCache, other.m_kingCache, sizeof m_kingCache);
    return *this;
}

CPosition::~CPosition() {
    delete[] m_history;
}

bool CPosition::growHistory() {
    const uint32_t capacity = m_historyCapacity ? m_historyCapacity * 2 : INITIAL_HISTORY;
    if (capacity <= m_historyCapacity || capacity > UINT32_MAX / sizeof(CHistoryEntry))
        return false;
    CHistoryEntry* block = newHistoryBlock(capacity);
    if (!block) return false;
    if (m_historyCapacity > 0)
        std::memcpy(static_cast<void*>(block), m_history,
                    m_historyCapacity * sizeof(CHistoryEntry));
    delete[] m_history;
    m_history = block;
    m_historyCapacity = capacity;
    return true;
}

void CPosition::reset() {
    setFen(START_FEN);
}

void CPosition::clear() {
    for (int square = 0; square < BOARD_SIZE; ++square)
        m_board[square] = onBoard(square) ? EMPTY : OFF_BOARD;
    m_sideToMove = WHITE;
    m_castling = 0;
    m_enPassant = 0;
    m_halfMoveClock = 0;
    m_startClock = 0;
    m_moveNumber = 1;
}

bool CPosition::makeMove(CMove move) {
    if (!pushHistory(move)) return false;
    if (move.resetsClock())
        m_halfMoveClock = 0;
    else if (m_halfMoveClock < INT16_MAX)
        ++m_halfMoveClock;
    if (m_sideToMove == BLACK && m_moveNumber < INT16_MAX) ++m_moveNumber;
    // Keep one spare entry above the top for the repetition test; a block that cannot
    // grow now is grown again by the next move, which fails if it still cannot.
    if (m_historyCount == m_historyCapacity) growHistory();

    if (move == NULL_MOVE) {
        m_enPassant = 0;
    } else {
        placeMove(move);
        const Square from = move.from;
        const Square to = move.to;
        m_enPassant = 0;
        if (kindOf(move.piece) == PAWN && (to == from + 2 || to + 2 == from)) {
            const Piece rivalPawn = move.piece ^ 8;
            const Square left = Square(to - 16);
            const Square right = Square(to + 16);
            if ((onBoard(left) && m_board[left] == rivalPawn) ||
                (onBoard(right) && m_board[right] == rivalPawn))
                m_enPassant = Square(move.piece == WHITE_PAWN ? to - 1 : to + 1);
        }
        m_castling &= CASTLING_MASKS.keep[from] & CASTLING_MASKS.keep[to];
        if ((move.piece == WHITE_KING || move.piece == BLACK_KING) && !move.isPromotion())
            m_kingCache[move.piece] = to;
    }
    m_sideToMove ^= 1;
    return true;
}

void CPosition::takeBack() {
    if (m_historyCount == 0) return;
    const CMove undone = m_history[m_historyCount - 1].move;
    popBoard();
    const int run = clockRun();
    const int clock = run >= 0 ? run : int(m_historyCount) + m_startClock;
    m_halfMoveClock = int16_t(clock < INT16_MAX ? clock : INT16_MAX);
    if (m_sideToMove == BLACK && m_moveNumber > 1) --m_moveNumber;
    if (undone != NULL_MOVE && (undone.piece == WHITE_KING || undone.piece == BLACK_KING) &&
        !undone.isPromotion())
        m_kingCache[undone.piece] = undone.from;
}

int CPosition::clockRun() const {
    for (uint32_t index = m_historyCount; index > 0; --index)
        if (m_history[index - 1].move.resetsClock()) return int(m_historyCount - index);
    return -1;
}

void CPosition::setHalfMoveClock(int16_t clock) {
    m_halfMoveClock = clock;
    // A clock counting since before the first move made puts the start back by as
    // many moves as have been made since.
    if (clockRun() < 0) {
        const int start = clock - int(m_historyCount);
        m_startClock = int16_t(start > 0 ? start : 0);
    }
}

CMove CPosition::lastMove() const {
    return m_historyCount > 0 ? m_history[m_historyCount - 1].move : NO_MOVE;
}

Square CPosition::kingSquare(Piece kingCode) {
    assert(kingCode == WHITE_KING || kingCode == BLACK_KING);
    if (kingCode >= sizeof m_kingCache) return NO_SQUARE;
    const Square cached = m_kingCache[kingCode];
    if (cached < BOARD_SIZE && m_board[cached] == kingCode) return cached;
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (onBoard(square) && m_board[square] == kingCode) {
            m_kingCache[kingCode] = Square(square);
            return Square(square);
        }
    }
    return NO_SQUARE;
}

bool CPosition::makeCoordinateMove(const char* text) {
    if (!text) return false;
    if (std::strcmp(text, "null") == 0) return makeMove(NULL_MOVE);
    if (text[0] == 0 || text[1] == 0 || text[2] == 0 || text[3] == 0) return false;
    const Square from = squareFromText(text);
    const Square to = squareFromText(text + 2);
    if (!onBoard(from) || !onBoard(to) || from == to) return false;
    const Piece mover = m_board[from];
    if (mover == EMPTY || mover > BLACK_QUEEN || mover == OFF_BOARD) return false;

    Piece placed = mover;
    uint8_t flags = EMPTY;
    if (text[4] != 0) {
        placed = pieceFromLetter(text[4]);
        if (placed == EMPTY) return false;
        // The destination rank decides the colour, whatever the letter's case.
        if (text[3] == '1' && isWhitePiece(placed)) placed += 8;
        if (text[3] == '8' && isBlackPiece(placed)) placed -= 8;
        flags |= FLAG_PROMOTION;
    }
    const Piece target = m_board[to];
    if (target != EMPTY) {
        flags = uint8_t((flags & ~FLAG_CAPTURED_MASK) | FLAG_CAPTURE | target);
    } else if (kindOf(mover) == PAWN && fileOf(from) != fileOf(to)) {
        const Piece takenPawn = mover == WHITE_PAWN ? BLACK_PAWN : WHITE_PAWN;
        flags = uint8_t((flags & ~FLAG_CAPTURED_MASK) | FLAG_CAPTURE | FLAG_EN_PASSANT | takenPawn);
    } else if (kindOf(mover) == KING && rankOf(from) == rankOf(to) &&
               (from == 0x40 || from == 0x47) && (to == from + 32 || to + 32 == from)) {
        flags |= FLAG_CASTLING;
    }
    return makeMove(CMove(from, placed, to, flags));
}
