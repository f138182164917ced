#pragma once
// The vocabulary every piece of chess code shares: squares, piece codes and the
// 4-byte move.
//
// A square is file * 16 + rank (a1 = 0x00, a8 = 0x07, h1 = 0x70); it is on the
// board exactly when (square & 0x88) == 0. One rank up adds 1, one file right adds 16.
//
// A piece code keeps the kind in its low three bits and black in bit 3:
//   0 K, 1 B, 2 N, 3 R, 4 P, 5 Q for white; 8..13 the same for black;
//   6 marks an off-board square, 7 an empty one.

#include <cstdint>
#include <cstring>

using Square = uint8_t;
using Piece = uint8_t;

constexpr Square NO_SQUARE = 0x78; // what kingSquare answers when there is no king
constexpr Square BOARD_SIZE = 128;

constexpr bool onBoard(int square) {
    return (square & 0x88) == 0;
}
constexpr Square makeSquare(int file, int rank) {
    return Square(file * 16 + rank);
}
constexpr int fileOf(Square square) {
    return square >> 4;
}
constexpr int rankOf(Square square) {
    return square & 7;
}

enum : Piece {
    WHITE_KING = 0,
    WHITE_BISHOP = 1,
    WHITE_KNIGHT = 2,
    WHITE_ROOK = 3,
    WHITE_PAWN = 4,
    WHITE_QUEEN = 5,
    OFF_BOARD = 6,
    EMPTY = 7,
    BLACK_KING = 8,
    BLACK_BISHOP = 9,
    BLACK_KNIGHT = 10,
    BLACK_ROOK = 11,
    BLACK_PAWN = 12,
    BLACK_QUEEN = 13,
};

enum : int { KING = 0, BISHOP = 1, KNIGHT = 2, ROOK = 3, PAWN = 4, QUEEN = 5 };
enum : int { WHITE = 0, BLACK = 1 };

constexpr int kindOf(Piece piece) {
    return piece & 7;
}
constexpr bool isWhitePiece(Piece piece) {
    return piece <= 5;
}
constexpr bool isBlackPiece(Piece piece) {
    return (piece & 8) != 0;
}

// Letter tables indexed by piece code 0..14.
extern const char FEN_LETTERS[];   // "KBNRPQ# kbnrpq%"
extern const char SAN_LETTERS[];   // "KBNRPQ# KBNRPQ%"
extern const char LOWER_LETTERS[]; // "kbnrpq# kbnrpq%"
// The FEN letter of a code; '?' above 13.
char fenLetter(Piece piece);
// The piece code a FEN letter names (KBNRPQ / kbnrpq), EMPTY for any other character.
Piece pieceFromLetter(char letter);

// Move flags, byte 3 of CMove: the low nibble holds the code that stood on the
// destination before the move (7 when empty; the pawn taken for en passant).
enum : uint8_t {
    FLAG_CAPTURED_MASK = 0x0F,
    FLAG_PROMOTION = 0x10,
    FLAG_CASTLING = 0x20,
    FLAG_EN_PASSANT = 0x40,
    FLAG_CAPTURE = 0x80,
};

// A move in four bytes. Files and the engine link compare moves as the
// little-endian 32-bit word from | piece << 8 | to << 16 | flags << 24.
struct CMove {
    uint8_t from;
    uint8_t piece; // the code standing on the destination after the move
    uint8_t to;
    uint8_t flags;

    constexpr CMove() : from(0x78), piece(0x0E), to(0x78), flags(0x0E) {}
    constexpr CMove(uint8_t fromSquare, uint8_t movedPiece, uint8_t toSquare, uint8_t moveFlags)
        : from(fromSquare), piece(movedPiece), to(toSquare), flags(moveFlags) {}

    constexpr uint32_t word() const {
        return uint32_t(from) | uint32_t(piece) << 8 | uint32_t(to) << 16 | uint32_t(flags) << 24;
    }
    static constexpr CMove fromWord(uint32_t word) {
        return CMove(uint8_t(word), uint8_t(word >> 8), uint8_t(word >> 16), uint8_t(word >> 24));
    }

    constexpr Piece captured() const { return flags & FLAG_CAPTURED_MASK; }
    constexpr bool isCapture() const { return (flags & FLAG_CAPTURE) != 0; }
    constexpr bool isPromotion() const { return (flags & FLAG_PROMOTION) != 0; }
    constexpr bool isCastling() const { return (flags & FLAG_CASTLING) != 0; }
    constexpr bool isEnPassant() const { return (flags & FLAG_EN_PASSANT) != 0; }
    // Quiet: no flag above bit 3 and not a pawn move. Castling is therefore not quiet:
    // no earlier position can come back after it.
    constexpr bool isQuiet() const { return (flags & 0xF0) == 0 && kindOf(piece) != PAWN; }
    // What the half-move clock of the fifty-move rule restarts at: a pawn move or a
    // capture (promotions and en passant are both). Castling is neither.
    constexpr bool resetsClock() const {
        return (flags & (FLAG_CAPTURE | FLAG_PROMOTION | FLAG_EN_PASSANT)) != 0 ||
               kindOf(piece) == PAWN;
    }

    friend constexpr bool operator==(CMove a, CMove b) { return a.word() == b.word(); }
    friend constexpr bool operator!=(CMove a, CMove b) { return a.word() != b.word(); }
};
static_assert(sizeof(CMove) == 4, "CMove is stored and exchanged as four bytes");

constexpr CMove NULL_MOVE = CMove(0x00, 0x00, 0x00, 0x00);
constexpr CMove NO_MOVE = CMove(0x88, 0x06, 0x88, 0x06);
constexpr CMove AMBIGUOUS_MOVE = CMove(0x00, 0x06, 0x00, 0x06);
constexpr CMove EMPTY_MOVE = CMove(0x78, 0x0E, 0x78, 0x0E);
constexpr CMove CASTLE_WHITE_SHORT = CMove(0x40, 0x00, 0x60, 0x27);
constexpr CMove CASTLE_WHITE_LONG = CMove(0x40, 0x00, 0x20, 0x27);
constexpr CMove CASTLE_BLACK_SHORT = CMove(0x47, 0x08, 0x67, 0x27);
constexpr CMove CASTLE_BLACK_LONG = CMove(0x47, 0x08, 0x27, 0x27);

// Capacities the callers' fixed lists must have.
constexpr int MAX_SQUARE_MOVES = 32;
constexpr int MAX_MOVES = 256;

// Reads a square from two characters (file letter of either case, rank digit); the
// value is (letter - 'A') * 16 + (digit - '1') kept to 8 bits: test it with onBoard.
Square squareFromText(const char* text);
// Writes the two characters of a square and a terminator.
void squareText(Square square, char* buffer);
// Coordinate text: e2e4, e7e8q; "null" for NULL_MOVE. At most 5 characters plus the terminator.
void coordinateText(CMove move, char* buffer);
