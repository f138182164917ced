#include "position.h"

#include <cctype>
#include <cstring>
#include <mutex>
#include <sstream>

namespace tarnwick {

ZobristKeys zobrist;

namespace {

constexpr char PIECE_LETTERS[] = "PNBRQKpnbrqk";

// A move off or onto these squares removes the matching castling rights.
int castlingMask[64];

void initTables() {
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    auto next = [&state] { // splitmix64
        uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    };
    for (auto& piece : zobrist.piece)
        for (auto& k : piece)
            k = next();
    for (auto& k : zobrist.castling)
        k = next();
    for (auto& k : zobrist.epFile)
        k = next();
    zobrist.side = next();
    for (int& m : castlingMask)
        m = 15;
    castlingMask[A1] = 15 & ~WHITE_OOO;
    castlingMask[H1] = 15 & ~WHITE_OO;
    castlingMask[E1] = 15 & ~(WHITE_OO | WHITE_OOO);
    castlingMask[A8] = 15 & ~BLACK_OOO;
    castlingMask[H8] = 15 & ~BLACK_OO;
    castlingMask[E8] = 15 & ~(BLACK_OO | BLACK_OOO);
}

} // namespace

void initZobrist() {
    static std::once_flag once;
    std::call_once(once, initTables);
}

std::string moveToText(Move m) {
    if (m == NO_MOVE) return "0000";
    std::string text;
    text += char('a' + fileOf(moveFrom(m)));
    text += char('1' + rankOf(moveFrom(m)));
    text += char('a' + fileOf(moveTo(m)));
    text += char('1' + rankOf(moveTo(m)));
    if (moveKind(m) == PROMOTION) text += "nbrq"[promotionType(m) - KNIGHT];
    return text;
}

Position::Position() {
    initAttacks();
    initZobrist();
    setStart();
}

void Position::setStart() {
    bool ok = setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    (void)ok;
}

void Position::putPiece(Piece p, int sq) {
    board_[sq] = p;
    byType_[typeOf(p)] |= bit(sq);
    byColor_[colorOf(p)] |= bit(sq);
}

void Position::removePiece(int sq) {
    Piece p = board_[sq];
    byType_[typeOf(p)] &= ~bit(sq);
    byColor_[colorOf(p)] &= ~bit(sq);
    board_[sq] = NO_PIECE;
}

void Position::movePiece(int from, int to) {
    Piece p = board_[from];
    Bitboard fromTo = bit(from) | bit(to);
    byType_[typeOf(p)] ^= fromTo;
    byColor_[colorOf(p)] ^= fromTo;
    board_[from] = NO_PIECE;
    board_[to] = p;
}

void Position::computeKeys() {
    key_ = 0;
    pawnKey_ = 0;
    for (int sq = 0; sq < 64; ++sq) {
        if (board_[sq] == NO_PIECE) continue;
        key_ ^= zobrist.piece[board_[sq]][sq];
        if (typeOf(board_[sq]) == PAWN || typeOf(board_[sq]) == KING)
            pawnKey_ ^= zobrist.piece[board_[sq]][sq];
    }
    key_ ^= zobrist.castling[castling_];
    if (epSquare_ != NO_SQUARE) key_ ^= zobrist.epFile[fileOf(epSquare_)];
    if (side_ == BLACK) key_ ^= zobrist.side;
}

bool Position::setFen(const std::string& fen) {
    std::istringstream in(fen);
    std::string placement, side, castle = "-", ep = "-";
    int halfmove = 0, fullmove = 1;
    if (!(in >> placement >> side)) return false;
    in >> castle >> ep;
    if (!(in >> halfmove)) halfmove = 0;
    if (!(in >> fullmove)) fullmove = 1;

    Position next(*this);
    std::memset(next.byType_, 0, sizeof next.byType_);
    std::memset(next.byColor_, 0, sizeof next.byColor_);
    for (Piece& p : next.board_)
        p = NO_PIECE;
    int rank = 7, file = 0;
    for (char c : placement) {
        if (c == '/') {
            if (file != 8 || rank == 0) return false;
            --rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 8) return false;
        } else {
            const char* letter = std::strchr(PIECE_LETTERS, c);
            if (!letter || c == '\0' || file > 7) return false;
            next.putPiece(Piece(letter - PIECE_LETTERS), makeSquare(file, rank));
            ++file;
        }
    }
    if (rank != 0 || file != 8) return false;
    if (popCount(next.pieces(WHITE, KING)) != 1 || popCount(next.pieces(BLACK, KING)) != 1)
        return false;
    if (next.pieces(PAWN) & (rankMask(0) | rankMask(7))) return false;
    if (side == "w")
        next.side_ = WHITE;
    else if (side == "b")
        next.side_ = BLACK;
    else
        return false;

    // Castling rights only where king and rook still stand at home.
    next.castling_ = 0;
    if (castle != "-") {
        for (char c : castle) {
            switch (c) {
            case 'K':
                next.castling_ |= WHITE_OO;
                break;
            case 'Q':
                next.castling_ |= WHITE_OOO;
                break;
            case 'k':
                next.castling_ |= BLACK_OO;
                break;
            case 'q':
                next.castling_ |= BLACK_OOO;
                break;
            default:
                return false;
            }
        }
    }
    auto stands = [&next](int sq, Piece p) { return next.board_[sq] == p; };
    if (!stands(E1, makePiece(WHITE, KING)) || !stands(H1, makePiece(WHITE, ROOK)))
        next.castling_ &= ~WHITE_OO;
    if (!stands(E1, makePiece(WHITE, KING)) || !stands(A1, makePiece(WHITE, ROOK)))
        next.castling_ &= ~WHITE_OOO;
    if (!stands(E8, makePiece(BLACK, KING)) || !stands(H8, makePiece(BLACK, ROOK)))
        next.castling_ &= ~BLACK_OO;
    if (!stands(E8, makePiece(BLACK, KING)) || !stands(A8, makePiece(BLACK, ROOK)))
        next.castling_ &= ~BLACK_OOO;

    // An en passant square counts only when a capture there is possible at all.
    next.epSquare_ = NO_SQUARE;
    if (ep != "-") {
        if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || (ep[1] != '3' && ep[1] != '6'))
            return false;
        int sq = makeSquare(ep[0] - 'a', ep[1] - '1');
        Color us = next.side_;
        int pawnSq = us == WHITE ? sq - 8 : sq + 8;
        if (rankOf(sq) == (us == WHITE ? 5 : 2) && next.board_[pawnSq] == makePiece(~us, PAWN) &&
            (pawnAttacks(~us, sq) & next.pieces(us, PAWN)))
            next.epSquare_ = sq;
    }
    next.halfmoveClock_ = halfmove < 0 ? 0 : (halfmove > 1000 ? 1000 : halfmove);
    next.fullmove_ = fullmove < 1 ? 1 : fullmove;
    next.history_.clear();
    next.computeKeys();
    // The side not to move must not be in check: such a position cannot be searched.
    if (next.isAttacked(next.kingSquare(~next.side_), next.side_)) return false;
    *this = next;
    return true;
}

std::string Position::fen() const {
    std::string out;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            Piece p = board_[makeSquare(file, rank)];
            if (p == NO_PIECE) {
                ++empty;
                continue;
            }
            if (empty) out += char('0' + empty);
            empty = 0;
            out += PIECE_LETTERS[p];
        }
        if (empty) out += char('0' + empty);
        if (rank) out += '/';
    }
    out += side_ == WHITE ? " w " : " b ";
    if (!castling_) out += '-';
    if (castling_ & WHITE_OO) out += 'K';
    if (castling_ & WHITE_OOO) out += 'Q';
    if (castling_ & BLACK_OO) out += 'k';
    if (castling_ & BLACK_OOO) out += 'q';
    out += ' ';
    if (epSquare_ == NO_SQUARE) {
        out += '-';
    } else {
        out += char('a' + fileOf(epSquare_));
        out += char('1' + rankOf(epSquare_));
    }
    out += ' ' + std::to_string(halfmoveClock_) + ' ' + std::to_string(fullmove_);
    return out;
}

Bitboard Position::attackersTo(int sq, Bitboard occupied) const {
    return (pawnAttacks(BLACK, sq) & pieces(WHITE, PAWN)) |
           (pawnAttacks(WHITE, sq) & pieces(BLACK, PAWN)) | (knightAttacks(sq) & pieces(KNIGHT)) |
           (kingAttacks(sq) & pieces(KING)) |
           (bishopAttacks(sq, occupied) & (pieces(BISHOP) | pieces(QUEEN))) |
           (rookAttacks(sq, occupied) & (pieces(ROOK) | pieces(QUEEN)));
}

bool Position::isAttacked(int sq, Color by) const {
    const Bitboard them = byColor_[by];
    if (pawnAttacks(~by, sq) & them & byType_[PAWN]) return true;
    if (knightAttacks(sq) & them & byType_[KNIGHT]) return true;
    if (kingAttacks(sq) & them & byType_[KING]) return true;
    Bitboard occupied = pieces();
    if (bishopAttacks(sq, occupied) & them & (byType_[BISHOP] | byType_[QUEEN])) return true;
    return rookAttacks(sq, occupied) & them & (byType_[ROOK] | byType_[QUEEN]);
}

void Position::makeMove(Move m, UndoInfo& undo) {
    undo.key = key_;
    undo.pawnKey = pawnKey_;
    undo.castling = castling_;
    undo.epSquare = epSquare_;
    undo.halfmoveClock = halfmoveClock_;
    history_.push_back(key_);

    const Color us = side_;
    const int from = moveFrom(m), to = moveTo(m);
    const MoveKind kind = moveKind(m);
    const Piece moving = board_[from];
    Piece captured = kind == EN_PASSANT ? makePiece(~us, PAWN) : board_[to];
    undo.captured = captured;

    if (epSquare_ != NO_SQUARE) key_ ^= zobrist.epFile[fileOf(epSquare_)];
    epSquare_ = NO_SQUARE;
    ++halfmoveClock_;

    if (captured != NO_PIECE) {
        int capSq = kind == EN_PASSANT ? (us == WHITE ? to - 8 : to + 8) : to;
        removePiece(capSq);
        key_ ^= zobrist.piece[captured][capSq];
        if (typeOf(captured) == PAWN) pawnKey_ ^= zobrist.piece[captured][capSq];
        halfmoveClock_ = 0;
    }

    if (kind == CASTLING) {
        bool kingSide = to > from;
        int rookFrom = kingSide ? from + 3 : from - 4;
        int rookTo = kingSide ? from + 1 : from - 1;
        Piece rook = board_[rookFrom];
        movePiece(rookFrom, rookTo);
        key_ ^= zobrist.piece[rook][rookFrom] ^ zobrist.piece[rook][rookTo];
    }

    movePiece(from, to);
    key_ ^= zobrist.piece[moving][from] ^ zobrist.piece[moving][to];

    if (typeOf(moving) == PAWN) {
        halfmoveClock_ = 0;
        pawnKey_ ^= zobrist.piece[moving][from] ^ zobrist.piece[moving][to];
        if (kind == PROMOTION) {
            Piece promoted = makePiece(us, promotionType(m));
            removePiece(to);
            putPiece(promoted, to);
            key_ ^= zobrist.piece[moving][to] ^ zobrist.piece[promoted][to];
            pawnKey_ ^= zobrist.piece[moving][to];
        } else if ((from ^ to) == 16) {
            int passed = (from + to) / 2;
            if (pawnAttacks(us, passed) & pieces(~us, PAWN)) {
                epSquare_ = passed;
                key_ ^= zobrist.epFile[fileOf(passed)];
            }
        }
    } else if (typeOf(moving) == KING) {
        pawnKey_ ^= zobrist.piece[moving][from] ^ zobrist.piece[moving][to];
    }

    int newCastling = castling_ & castlingMask[from] & castlingMask[to];
    if (newCastling != castling_) {
        key_ ^= zobrist.castling[castling_] ^ zobrist.castling[newCastling];
        castling_ = newCastling;
    }
    if (us == BLACK) ++fullmove_;
    side_ = ~us;
    key_ ^= zobrist.side;
}

void Position::unmakeMove(Move m, const UndoInfo& undo) {
    side_ = ~side_;
    const Color us = side_;
    if (us == BLACK) --fullmove_;
    const int from = moveFrom(m), to = moveTo(m);
    const MoveKind kind = moveKind(m);
    if (kind == PROMOTION) {
        removePiece(to);
        putPiece(makePiece(us, PAWN), to);
    }
    movePiece(to, from);
    if (kind == CASTLING) {
        bool kingSide = to > from;
        int rookFrom = kingSide ? from + 3 : from - 4;
        int rookTo = kingSide ? from + 1 : from - 1;
        movePiece(rookTo, rookFrom);
    }
    if (undo.captured != NO_PIECE) {
        int capSq = kind == EN_PASSANT ? (us == WHITE ? to - 8 : to + 8) : to;
        putPiece(undo.captured, capSq);
    }
    key_ = undo.key;
    castling_ = undo.castling;
    epSquare_ = undo.epSquare;
    halfmoveClock_ = undo.halfmoveClock;
    pawnKey_ = undo.pawnKey;
    history_.pop_back();
}

void Position::makeNullMove(UndoInfo& undo) {
    undo.key = key_;
    undo.pawnKey = pawnKey_;
    undo.castling = castling_;
    undo.epSquare = epSquare_;
    undo.halfmoveClock = halfmoveClock_;
    undo.captured = NO_PIECE;
    history_.push_back(key_);
    if (epSquare_ != NO_SQUARE) key_ ^= zobrist.epFile[fileOf(epSquare_)];
    epSquare_ = NO_SQUARE;
    ++halfmoveClock_;
    side_ = ~side_;
    key_ ^= zobrist.side;
}

void Position::unmakeNullMove(const UndoInfo& undo) {
    side_ = ~side_;
    key_ = undo.key;
    epSquare_ = undo.epSquare;
    halfmoveClock_ = undo.halfmoveClock;
    history_.pop_back();
}

void Position::clearHistory() {
    history_.clear();
}

bool Position::isDraw(int searchPly) const {
    if (halfmoveClock_ >= 100) return true;
    int n = int(history_.size());
    int reach = std::min(halfmoveClock_, n);
    int seen = 0;
    for (int back = 4; back <= reach; back += 2) {
        if (history_[n - back] == key_) {
            // A repetition inside the search tree is a draw at once; one that reaches back
            // into the game must be the third occurrence.
            if (back < searchPly + 1 || ++seen >= 2) return true;
        }
    }
    return false;
}

bool Position::isPseudoLegal(Move m) const {
    const int from = moveFrom(m), to = moveTo(m);
    if (m == NO_MOVE || from == to) return false;
    const Color us = side_;
    const Piece p = board_[from];
    if (p == NO_PIECE || colorOf(p) != us) return false;
    if (board_[to] != NO_PIECE && colorOf(board_[to]) == us) return false;
    const MoveKind kind = moveKind(m);
    const PieceType type = typeOf(p);
    const Bitboard occupied = pieces();
    if (kind == CASTLING) {
        if (type != KING || from != relative(us, E1)) return false;
        bool kingSide = to == from + 2;
        if (!kingSide && to != from - 2) return false;
        int right =
            us == WHITE ? (kingSide ? WHITE_OO : WHITE_OOO) : (kingSide ? BLACK_OO : BLACK_OOO);
        if (!(castling_ & right)) return false;
        int rookSq = kingSide ? from + 3 : from - 4;
        if (betweenSquares(from, rookSq) & occupied) return false;
        Color them = ~us;
        return !isAttacked(from, them) && !isAttacked((from + to) / 2, them);
    }
    if (type == PAWN) {
        int forward = us == WHITE ? 8 : -8;
        bool lastRank = rankOf(to) == (us == WHITE ? 7 : 0);
        if ((kind == PROMOTION) != lastRank) return false;
        if (kind == EN_PASSANT) return to == epSquare_ && (pawnAttacks(us, from) & bit(to));
        if (pawnAttacks(us, from) & bit(to)) return board_[to] != NO_PIECE;
        if (to == from + forward) return board_[to] == NO_PIECE;
        if (to == from + 2 * forward && rankOf(from) == (us == WHITE ? 1 : 6))
            return board_[to] == NO_PIECE && board_[from + forward] == NO_PIECE;
        return false;
    }
    if (kind != NORMAL) return false;
    Bitboard targets = 0;
    switch (type) {
    case KNIGHT:
        targets = knightAttacks(from);
        break;
    case BISHOP:
        targets = bishopAttacks(from, occupied);
        break;
    case ROOK:
        targets = rookAttacks(from, occupied);
        break;
    case QUEEN:
        targets = queenAttacks(from, occupied);
        break;
    case KING:
        targets = kingAttacks(from);
        break;
    default:
        return false;
    }
    return targets & bit(to);
}

bool Position::isLegal(Move m) {
    UndoInfo undo;
    makeMove(m, undo);
    bool legal = !leftKingInCheck();
    unmakeMove(m, undo);
    return legal;
}

} // namespace tarnwick
