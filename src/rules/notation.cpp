#include "rules/notation.h"

#include <cstring>
#include <initializer_list>

#include "rules/directions.h"
#include "rules/position.h"

namespace {

// The longest SAN is eight characters: e7xd8=Q# with both origin parts forced.
constexpr int SAN_BUFFER_SIZE = 16;

bool isPawnMove(CMove move) {
    return kindOf(move.piece) == PAWN || move.isPromotion();
}

Piece kingOf(Piece piece) {
    return isWhitePiece(piece) ? WHITE_KING : BLACK_KING;
}

bool isRival(CPosition& position, CMove move, CMove candidate, bool mustBeLegal) {
    if (candidate.to != move.to || candidate.from == move.from) return false;
    const bool bothPromote = candidate.isPromotion() && move.isPromotion();
    const bool samePiece =
        !candidate.isPromotion() && !move.isPromotion() && candidate.piece == move.piece;
    if (!bothPromote && !samePiece) return false;
    return !mustBeLegal ||
           position.isLegal(candidate, position.kingSquare(kingOf(candidate.piece)));
}

// Which origin parts tell the move apart from the rivals that reach the same square:
// rivals on other files ask for the file, rivals on the same file for the rank.
void disambiguate(CPosition& position, CMove move, const CMove* list, int listCount, bool& file,
                  bool& rank) {
    file = rank = false;
    // A king is never ambiguous, and neither is a pawn: its captures always name the
    // file, and a push has no rival that the destination does not already rule out.
    if (kindOf(move.piece) == KING || isPawnMove(move)) return;
    auto consider = [&](CMove candidate, bool mustBeLegal) {
        if (!isRival(position, move, candidate, mustBeLegal)) return;
        if (fileOf(candidate.from) != fileOf(move.from))
            file = true;
        else
            rank = true;
    };
    if (list) {
        for (int i = 0; i < listCount; ++i)
            consider(list[i], true);
        return;
    }
    // Without a list every pseudo-legal rival counts, so a pinned piece still asks
    // for disambiguation.
    CMove moves[MAX_SQUARE_MOVES];
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (!onBoard(square) || square == move.from || position.at(Square(square)) != move.piece)
            continue;
        uint16_t count = 0;
        position.generateMoves(Square(square), moves, count);
        for (uint16_t i = 0; i < count; ++i)
            consider(moves[i], false);
    }
}

void appendSquare(char*& out, Square square) {
    squareText(square, out);
    out += 2;
}

} // namespace

CText sanText(CPosition& position, CMove move, bool withSuffix, const CMove* list, int listCount,
              bool forceRank, bool forceFile) {
    if (!onBoard(move.from) || !onBoard(move.to) || move.piece > BLACK_QUEEN) return CText();
    char text[SAN_BUFFER_SIZE];
    char* out = text;
    if (move.isCastling()) {
        const char* castle = fileOf(move.to) == 6 ? "O-O" : "O-O-O";
        std::memcpy(out, castle, std::strlen(castle));
        out += std::strlen(castle);
    } else {
        const bool pawnMove = isPawnMove(move);
        if (!pawnMove) *out++ = SAN_LETTERS[move.piece];
        bool file = forceFile, rank = forceRank;
        if (!forceFile && !forceRank) disambiguate(position, move, list, listCount, file, rank);
        if (pawnMove && move.isCapture()) file = true;
        if (file) *out++ = char('a' + fileOf(move.from));
        if (rank) *out++ = char('1' + rankOf(move.from));
        if (move.isCapture()) *out++ = 'x';
        appendSquare(out, move.to);
        if (move.isPromotion()) {
            *out++ = '=';
            *out++ = SAN_LETTERS[move.piece];
        }
    }
    if (withSuffix) {
        const int16_t clock = position.halfMoveClock();
        if (position.makeMove(move)) {
            if (position.inCheck()) *out++ = position.hasLegalMove() ? '+' : '#';
            position.takeBack();
            position.setHalfMoveClock(clock);
        }
    }
    *out = 0;
    return CText(text);
}

void normalizeMoveText(const char* text, char* buffer) {
    int kept = 0;
    if (text) {
        for (int read = 0; read < MOVE_KEY_SIZE - 1 && text[read]; ++read) {
            const char c = text[read];
            if (std::strchr("!#+-=?x", c)) continue;
            if (c >= 'A' && c <= 'Z' && c != 'B')
                buffer[kept++] = char(c - 'A' + 'a');
            else
                buffer[kept++] = c == '0' ? 'o' : c;
        }
    }
    if (kept > 3 && buffer[kept - 2] == 'e' && buffer[kept - 1] == 'p') kept -= 2;
    buffer[kept] = 0;
}

namespace {

bool keyIs(const char* form, const char* key) {
    char normalized[MOVE_KEY_SIZE];
    normalizeMoveText(form, normalized);
    return std::strcmp(normalized, key) == 0;
}

// The fast paths below read the text as a legal game would have written it; what
// they find is kept only when the piece really has that move, so a text that does
// not come from a legal game falls through to the general search.
bool isLegalMoveOfItsPiece(CPosition& position, CMove move) {
    CMove moves[MAX_SQUARE_MOVES];
    uint16_t count = 0;
    position.legalMovesFrom(move.from, moves, count);
    for (uint16_t i = 0; i < count; ++i)
        if (moves[i] == move) return true;
    return false;
}

CMove pawnPush(CPosition& position, Square to) {
    if (!onBoard(to) || position.at(to) != EMPTY) return NO_MOVE;
    const bool white = position.sideToMove() == WHITE;
    const Piece pawn = white ? WHITE_PAWN : BLACK_PAWN;
    const int behind = white ? -1 : 1;
    Square from = Square(to + behind);
    if (onBoard(from) && position.at(from) == EMPTY) from = Square(from + behind);
    if (!onBoard(from) || position.at(from) != pawn) return NO_MOVE;
    const CMove push(from, pawn, to, EMPTY);
    return isLegalMoveOfItsPiece(position, push) ? push : NO_MOVE;
}

CMove pawnCapture(CPosition& position, char fileLetter, Square to) {
    const bool white = position.sideToMove() == WHITE;
    const Piece pawn = white ? WHITE_PAWN : BLACK_PAWN;
    const int letterFile = fileLetter - 'a';
    const int fromFile = letterFile >= fileOf(to) ? fileOf(to) + 1 : fileOf(to) - 1;
    const int fromRank = rankOf(to) + (white ? -1 : 1);
    if (fromFile < 0 || fromFile > 7 || fromRank < 0 || fromRank > 7) return NO_MOVE;
    const Square from = makeSquare(fromFile, fromRank);
    if (position.at(from) != pawn) return NO_MOVE;
    const Piece target = position.at(to);
    const uint8_t flags = target == EMPTY ? (white ? 0xCC : 0xC4) : uint8_t(FLAG_CAPTURE | target);
    const CMove capture(from, pawn, to, flags);
    return isLegalMoveOfItsPiece(position, capture) ? capture : NO_MOVE;
}

CMove pieceMove(CPosition& position, char letter, Square to) {
    int kind;
    switch (letter) {
    case 'B':
        kind = BISHOP;
        break;
    case 'k':
        kind = KING;
        break;
    case 'n':
        kind = KNIGHT;
        break;
    case 'q':
        kind = QUEEN;
        break;
    case 'r':
        kind = ROOK;
        break;
    default:
        return NO_MOVE;
    }
    const bool white = position.sideToMove() == WHITE;
    const Piece piece = Piece(kind | (white ? 0 : 8));
    const Piece target = position.at(to);
    const bool ownTarget =
        white ? target <= WHITE_QUEEN : (target >= BLACK_KING && target <= BLACK_QUEEN);
    if (ownTarget) return NO_MOVE;
    const uint8_t flags = target == EMPTY ? uint8_t(EMPTY) : uint8_t(FLAG_CAPTURE | target);
    const Square king = position.kingSquare(white ? WHITE_KING : BLACK_KING);
    const CDirections& directions = PIECE_DIRECTIONS[piece];
    const bool steps = kind == KING || kind == KNIGHT;
    const int count = steps ? 8 : directions.count;
    for (int i = 0; i < count; ++i) {
        const int step = directions.delta[i];
        Square from = Square(to + step);
        if (!steps)
            while (onBoard(from) && position.at(from) == EMPTY)
                from = Square(from + step);
        if (!onBoard(from) || position.at(from) != piece) continue;
        const CMove move(from, piece, to, flags);
        if (position.isLegal(move, king)) return move;
    }
    return NO_MOVE;
}

// Every SAN form of a move holds its destination square (castling: "oo"), and
// normalising keeps those characters together; a key without it cannot match, so
// the SAN need not be written at all.
bool sanCouldMatch(CMove move, const char* key) {
    if (move.isCastling()) return std::strstr(key, "oo") != nullptr;
    char destination[3];
    squareText(move.to, destination);
    return std::strstr(key, destination) != nullptr;
}

// Normalising folds every letter to lower case but "B", which keeps the bishop
// apart from the b-file. A form that names a bishop is therefore tried with the
// letter in both cases: "B" as SAN writes it, "b" as a black bishop's FEN letter or
// a coordinate promotion letter.
int letterCases(char letter, char (&cases)[2][2]) {
    cases[0][0] = letter;
    cases[0][1] = cases[1][1] = 0;
    if (letter != 'B' && letter != 'b') return 1;
    cases[1][0] = letter == 'B' ? 'b' : 'B';
    return 2;
}

// The looser forms other programs write. The search takes the first move with any
// matching form, so within one move the cheap forms are simply tried first.
bool matchesAlternativeForm(CPosition& position, CMove move, const char* key) {
    const bool white = position.sideToMove() == WHITE;
    char letters[2][2], promotions[2][2] = {{0}, {0}};
    const int letterCount =
        letterCases(move.isPromotion() ? (white ? 'P' : 'p') : fenLetter(move.piece), letters);
    const int promotionCount =
        move.isPromotion() ? letterCases(LOWER_LETTERS[move.piece], promotions) : 1;
    const char captured[2] = {move.isCapture() ? fenLetter(move.captured()) : char(0), 0};
    char origin[3], destination[3];
    squareText(move.from, origin);
    squareText(move.to, destination);
    char form[MOVE_KEY_SIZE * 2];
    auto matches = [&](std::initializer_list<const char*> parts) {
        form[0] = 0;
        for (const char* part : parts)
            std::strncat(form, part, sizeof form - std::strlen(form) - 1);
        return keyIs(form, key);
    };

    // Coordinates without a promotion letter select the first promotion, the queen.
    if (matches({origin, destination}) || matches({origin, captured, destination})) return true;
    for (int p = 0; p < promotionCount; ++p)
        if (move.isPromotion() && matches({origin, destination, promotions[p]})) return true;
    for (int l = 0; l < letterCount; ++l) {
        if (matches({letters[l], origin, destination}) ||
            matches({letters[l], origin, captured, destination}))
            return true;
        for (int p = 0; p < promotionCount; ++p)
            if (move.isPromotion() && matches({letters[l], origin, destination, promotions[p]}))
                return true;
    }
    if (!sanCouldMatch(move, key)) return false;
    const CText sans[3] = {sanText(position, move, false),
                           sanText(position, move, false, nullptr, 0, false, true),
                           sanText(position, move, false, nullptr, 0, true, false)};
    for (const CText& san : sans) {
        if (matches({san.c_str()})) return true;
        for (int l = 0; l < letterCount; ++l)
            if (matches({letters[l], san.c_str()})) return true;
    }
    return false;
}

} // namespace

CMove parseSan(CPosition& position, const char* text) {
    char key[MOVE_KEY_SIZE];
    normalizeMoveText(text, key);
    const size_t length = std::strlen(key);
    if (length < 2) return NO_MOVE;

    if (length == 2) {
        const CMove push = pawnPush(position, squareFromText(key));
        if (push != NO_MOVE) return push;
    }
    if (length == 3 && key[2] >= '1' && key[2] <= '8') {
        const Square to = squareFromText(key + 1);
        if (onBoard(to)) {
            const CMove move = key[0] >= 'a' && key[0] <= 'h' ? pawnCapture(position, key[0], to)
                                                              : pieceMove(position, key[0], to);
            if (move != NO_MOVE) return move;
        }
    }

    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    for (uint16_t i = 0; i < count; ++i)
        if (sanCouldMatch(moves[i], key) &&
            keyIs(sanText(position, moves[i], false, moves, count).c_str(), key))
            return moves[i];
    for (uint16_t i = 0; i < count; ++i)
        if (matchesAlternativeForm(position, moves[i], key)) return moves[i];
    return NO_MOVE;
}
