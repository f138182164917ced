#include "rules/move.h"

// Indexed by piece code 0..14: 6 is the off-board marker, 7 an empty square, 14 spare.
const char FEN_LETTERS[] = "KBNRPQ# kbnrpq%";
const char SAN_LETTERS[] = "KBNRPQ# KBNRPQ%";
const char LOWER_LETTERS[] = "kbnrpq# kbnrpq%";
static_assert(sizeof(FEN_LETTERS) == 16 && sizeof(SAN_LETTERS) == 16 && sizeof(LOWER_LETTERS) == 16,
              "the letter tables cover the piece codes 0..14");

char fenLetter(Piece piece) {
    return piece > BLACK_QUEEN ? '?' : FEN_LETTERS[piece];
}

Piece pieceFromLetter(char letter) {
    switch (letter) {
    case 'K':
        return WHITE_KING;
    case 'B':
        return WHITE_BISHOP;
    case 'N':
        return WHITE_KNIGHT;
    case 'R':
        return WHITE_ROOK;
    case 'P':
        return WHITE_PAWN;
    case 'Q':
        return WHITE_QUEEN;
    case 'k':
        return BLACK_KING;
    case 'b':
        return BLACK_BISHOP;
    case 'n':
        return BLACK_KNIGHT;
    case 'r':
        return BLACK_ROOK;
    case 'p':
        return BLACK_PAWN;
    case 'q':
        return BLACK_QUEEN;
    default:
        return EMPTY;
    }
}

Square squareFromText(const char* text) {
    // A text that ends before its second character names no square.
    if (text[0] == 0 || text[1] == 0) return 0x88;
    int letter = static_cast<unsigned char>(text[0]);
    if (letter >= 'a' && letter <= 'z') letter -= 'a' - 'A';
    const int digit = static_cast<unsigned char>(text[1]);
    return Square((letter - 'A') * 16 + (digit - '1'));
}

void squareText(Square square, char* buffer) {
    buffer[0] = char('a' + fileOf(square));
    buffer[1] = char('1' + rankOf(square));
    buffer[2] = 0;
}

void coordinateText(CMove move, char* buffer) {
    if (move == NULL_MOVE) {
        std::memcpy(buffer, "null", 5);
        return;
    }
    squareText(move.from, buffer);
    squareText(move.to, buffer + 2);
    if (move.isPromotion() && move.piece <= BLACK_QUEEN) {
        buffer[4] = LOWER_LETTERS[move.piece];
        buffer[5] = 0;
    }
}
