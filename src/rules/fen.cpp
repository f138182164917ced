#include <cstdio>
#include <cstring>

#include "rules/position.h"

// Reading is lenient: whatever a text holds, it yields some position. Every step
// looks at the current character before moving on, so a text that stops early,
// however early, is never read past its terminator.
namespace {

class CFenCursor {
public:
    explicit CFenCursor(const char* text) : m_at(text ? text : "") {}

    char peek() const { return *m_at; }
    char peekAfter() const { return *m_at ? m_at[1] : 0; }
    bool atEnd() const { return *m_at == 0; }
    void skip() {
        if (*m_at) ++m_at;
    }
    void skipBlanks() {
        while (*m_at == ' ')
            ++m_at;
    }
    void skipToBlank() {
        while (*m_at && *m_at != ' ')
            ++m_at;
    }
    // A decimal number with an optional sign, kept to 16 bits; 0 when none is there.
    int16_t readNumber() {
        bool negative = false;
        if (*m_at == '-' || *m_at == '+') {
            negative = *m_at == '-';
            ++m_at;
        }
        uint32_t value = 0;
        while (*m_at >= '0' && *m_at <= '9') {
            value = (value * 10 + uint32_t(*m_at - '0')) & 0xFFFF;
            ++m_at;
        }
        if (negative) value = (0x10000 - value) & 0xFFFF;
        return int16_t(uint16_t(value));
    }

private:
    const char* m_at;
};

} // namespace

// Keep an en-passant square only when the side to move really can capture there:
// the square lies behind a rival pawn that has just made a double step (so it and
// the square the pawn came from are empty), and a pawn of the mover stands beside
// that rival. A square that fails would let a pawn capture its own side or a piece
// twice; one nobody can use would make equal positions differ for repetition.
bool CPosition::enPassantFits(Square square) const {
    const bool white = m_sideToMove == WHITE;
    if (rankOf(square) != (white ? 5 : 2)) return false;
    const Square rivalAt = Square(white ? square - 1 : square + 1);
    const Square rivalFrom = Square(white ? square + 1 : square - 1);
    const Piece rivalPawn = white ? BLACK_PAWN : WHITE_PAWN;
    const Piece ownPawn = white ? WHITE_PAWN : BLACK_PAWN;
    if (m_board[square] != EMPTY || m_board[rivalFrom] != EMPTY || m_board[rivalAt] != rivalPawn)
        return false;
    const int file = fileOf(square);
    return (file > 0 && m_board[rivalAt - 16] == ownPawn) ||
           (file < 7 && m_board[rivalAt + 16] == ownPawn);
}

void CPosition::setFen(const char* text) {
    CFenCursor fen(text);
    m_historyCount = 0;
    for (int square = 0; square < BOARD_SIZE; ++square)
        m_board[square] = onBoard(square) ? EMPTY : OFF_BOARD;

    for (int rank = 7; rank >= 0 && !fen.atEnd(); --rank) {
        int file = 0;
        while (file < 8 && !fen.atEnd()) {
            const char c = fen.peek();
            if (c >= '1' && c <= '8') {
                file += c - '0';
            } else if (c == '/') {
                break;
            } else {
                m_board[makeSquare(file, rank)] = pieceFromLetter(c);
                ++file;
            }
            fen.skip();
        }
        fen.skip(); // the "/" or the blank that ends the field
    }

    const char side = fen.peek();
    if (side == 'w' || side == 'W') m_sideToMove = WHITE;
    if (side == 'b' || side == 'B') m_sideToMove = BLACK;
    fen.skip();
    fen.skip();

    m_castling = 0;
    while (!fen.atEnd() && fen.peek() != ' ') {
        switch (fen.peek()) {
        case 'K':
            if (m_board[0x40] == WHITE_KING && m_board[0x70] == WHITE_ROOK) m_castling |= CASTLE_K;
            break;
        case 'Q':
            if (m_board[0x40] == WHITE_KING && m_board[0x00] == WHITE_ROOK) m_castling |= CASTLE_Q;
            break;
        case 'k':
            if (m_board[0x47] == BLACK_KING && m_board[0x77] == BLACK_ROOK) m_castling |= CASTLE_k;
            break;
        case 'q':
            if (m_board[0x47] == BLACK_KING && m_board[0x07] == BLACK_ROOK) m_castling |= CASTLE_q;
            break;
        default:
            break;
        }
        fen.skip();
    }
    fen.skip();

    m_enPassant = 0;
    if (fen.peek() != '-' && !fen.atEnd() && fen.peekAfter() != 0) {
        char squareLetters[3] = {fen.peek(), fen.peekAfter(), 0};
        const Square square = squareFromText(squareLetters);
        if (onBoard(square) && enPassantFits(square)) m_enPassant = square;
    }
    fen.skipToBlank();

    fen.skipBlanks();
    const int16_t clock = fen.readNumber();
    m_halfMoveClock = clock < 0 ? 0 : clock;
    m_startClock = m_halfMoveClock;
    fen.skipToBlank();
    fen.skipBlanks();
    const int16_t number = fen.readNumber();
    m_moveNumber = number < 1 ? 1 : number;

    std::memset(m_kingCache, 0, sizeof m_kingCache);
}

// 64 squares and 7 slashes, " w ", "KQkq ", an en-passant square, and two counters
// of up to six characters each ("-32768") with their blanks, and the terminator.
static_assert(FEN_BUFFER_SIZE >= 64 + 7 + 3 + 5 + 2 + 2 * 7 + 1, "getFen never overruns");

void CPosition::getFen(char* buffer) const {
    char* out = buffer;
    for (int rank = 7; rank >= 0; --rank) {
        int empties = 0;
        for (int file = 0; file < 8; ++file) {
            const Piece piece = m_board[makeSquare(file, rank)];
            if (piece == EMPTY) {
                ++empties;
                continue;
            }
            if (empties) *out++ = char('0' + empties);
            empties = 0;
            *out++ = fenLetter(piece);
        }
        if (empties) *out++ = char('0' + empties);
        if (rank > 0) *out++ = '/';
    }
    *out++ = ' ';
    *out++ = m_sideToMove == BLACK ? 'b' : 'w';
    *out++ = ' ';
    if (m_castling & (CASTLE_K | CASTLE_Q | CASTLE_k | CASTLE_q)) {
        if (m_castling & CASTLE_K) *out++ = 'K';
        if (m_castling & CASTLE_Q) *out++ = 'Q';
        if (m_castling & CASTLE_k) *out++ = 'k';
        if (m_castling & CASTLE_q) *out++ = 'q';
    } else {
        *out++ = '-';
    }
    *out++ = ' ';
    if (m_enPassant != 0 && onBoard(m_enPassant)) {
        squareText(m_enPassant, out);
        out += 2;
    } else {
        *out++ = '-';
    }
    std::snprintf(out, size_t(FEN_BUFFER_SIZE - (out - buffer)), " %d %d", m_halfMoveClock,
                  m_moveNumber);
}
