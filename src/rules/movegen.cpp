#include <cassert>
#include <initializer_list>

#include "rules/attacks.h"
#include "rules/directions.h"
#include "rules/position.h"

// Generation order matters to every caller that takes the first match: kings
// castle first (short, then long), pieces walk their direction tables in order,
// pawns push before they capture, and promotions come as queen, knight, rook, bishop.

bool CPosition::isAttackedByWhite(Square square) const {
    return attackedBy<WHITE>(square);
}

bool CPosition::isAttackedByBlack(Square square) const {
    return attackedBy<BLACK>(square);
}

namespace {

class CMoveSink {
public:
    explicit CMoveSink(CMove* list) : m_list(list) {}
    void add(Square from, Piece piece, Square to, uint8_t flags) {
        assert(m_count < MAX_SQUARE_MOVES);
        m_list[m_count++] = CMove(from, piece, to, flags);
    }
    // A pawn reaching the last rank becomes one of four pieces, queen first.
    void addPromotions(Square from, Piece colour, Square to, uint8_t flags) {
        for (Piece kind : {WHITE_QUEEN, WHITE_KNIGHT, WHITE_ROOK, WHITE_BISHOP})
            add(from, Piece(kind | colour), to, uint8_t(flags | FLAG_PROMOTION));
    }
    uint16_t count() const { return m_count; }

private:
    CMove* m_list;
    uint16_t m_count = 0;
};

constexpr bool isWhiteCode(Piece piece) {
    return piece <= WHITE_QUEEN;
}
constexpr bool isBlackCode(Piece piece) {
    return piece >= BLACK_KING && piece <= BLACK_QUEEN;
}

} // namespace

void CPosition::generateMoves(Square square, CMove* list, uint16_t& count) const {
    count = 0;
    if (!onBoard(square)) return;
    const Piece piece = m_board[square];
    const bool white = isWhiteCode(piece);
    if (!white && !isBlackCode(piece)) return;
    auto isRival = [white](Piece target) {
        return white ? isBlackCode(target) : isWhiteCode(target);
    };
    CMoveSink moves(list);
    const Square from = square;

    switch (kindOf(piece)) {
    case PAWN: {
        // An en-passant square set by hand may be one no capture can use: honour it
        // only for the side to move and behind a rival pawn, or a pawn would take
        // its own side or the same piece twice.
        const bool moverPawn = white == (m_sideToMove == WHITE);
        const Square ep =
            m_enPassant && onBoard(m_enPassant) && moverPawn && enPassantFits(m_enPassant)
                ? m_enPassant
                : 0;
        if (white) {
            const bool promotes = rankOf(from) == 6;
            auto emit = [&](Square to, uint8_t flags) {
                if (promotes)
                    moves.addPromotions(from, 0, to, flags);
                else
                    moves.add(from, WHITE_PAWN, to, flags);
            };
            const Square push = Square(from + 1);
            if (m_board[push] == EMPTY) {
                emit(push, EMPTY);
                if (rankOf(from) == 1 && m_board[from + 2] == EMPTY) emit(Square(from + 2), EMPTY);
            }
            for (int step : {-15, 17}) {
                const Square to = Square(from + step);
                if (onBoard(to) && isBlackCode(m_board[to]))
                    emit(to, uint8_t(FLAG_CAPTURE | m_board[to]));
            }
            if (ep) {
                if (ep == Square(from + 17)) moves.add(from, WHITE_PAWN, ep, 0xCC);
                if (ep == Square(from - 15)) moves.add(from, WHITE_PAWN, ep, 0xCC);
            }
        } else {
            const bool promotes = rankOf(from) == 1;
            auto emit = [&](Square to, uint8_t flags) {
                if (promotes)
                    moves.addPromotions(from, 8, to, flags);
                else
                    moves.add(from, BLACK_PAWN, to, flags);
            };
            const Square push = Square(from - 1);
            if (onBoard(push) && m_board[push] == EMPTY) {
                emit(push, EMPTY);
                if (rankOf(from) == 6 && m_board[from - 2] == EMPTY) emit(Square(from - 2), EMPTY);
            }
            for (int step : {-17, 15}) {
                const Square to = Square(from + step);
                if (onBoard(to) && isWhiteCode(m_board[to]))
                    emit(to, uint8_t(FLAG_CAPTURE | m_board[to]));
            }
            if (ep) {
                if (ep == Square(from + 15)) moves.add(from, BLACK_PAWN, ep, 0xC4);
                if (ep == Square(from - 17)) moves.add(from, BLACK_PAWN, ep, 0xC4);
            }
        }
        break;
    }
    case KING:
        // Castling is only ever generated from the king's home square: a right held
        // anywhere else (a hand-edited position) cannot be honoured.
        if (white && from == 0x40 && (m_castling & (CASTLE_K | CASTLE_Q))) {
            if ((m_castling & CASTLE_K) && m_board[0x50] == EMPTY && m_board[0x60] == EMPTY &&
                !attackedBy<BLACK>(0x40) && !attackedBy<BLACK>(0x50) && !attackedBy<BLACK>(0x60))
                moves.add(0x40, WHITE_KING, 0x60, CASTLE_WHITE_SHORT.flags);
            if ((m_castling & CASTLE_Q) && m_board[0x30] == EMPTY && m_board[0x20] == EMPTY &&
                m_board[0x10] == EMPTY && !attackedBy<BLACK>(0x40) && !attackedBy<BLACK>(0x30) &&
                !attackedBy<BLACK>(0x20))
                moves.add(0x40, WHITE_KING, 0x20, CASTLE_WHITE_LONG.flags);
        } else if (!white && from == 0x47 && (m_castling & (CASTLE_k | CASTLE_q))) {
            if ((m_castling & CASTLE_k) && m_board[0x57] == EMPTY && m_board[0x67] == EMPTY &&
                !attackedBy<WHITE>(0x47) && !attackedBy<WHITE>(0x57) && !attackedBy<WHITE>(0x67))
                moves.add(0x47, BLACK_KING, 0x67, CASTLE_BLACK_SHORT.flags);
            if ((m_castling & CASTLE_q) && m_board[0x37] == EMPTY && m_board[0x27] == EMPTY &&
                m_board[0x17] == EMPTY && !attackedBy<WHITE>(0x47) && !attackedBy<WHITE>(0x37) &&
                !attackedBy<WHITE>(0x27))
                moves.add(0x47, BLACK_KING, 0x27, CASTLE_BLACK_LONG.flags);
        }
        [[fallthrough]];
    case KNIGHT: {
        const CDirections& steps = PIECE_DIRECTIONS[piece];
        for (int i = 0; i < 8; ++i) {
            const Square to = Square(from + steps.delta[i]);
            if (!onBoard(to)) continue;
            const Piece target = m_board[to];
            if (target == EMPTY)
                moves.add(from, piece, to, EMPTY);
            else if (isRival(target))
                moves.add(from, piece, to, uint8_t(FLAG_CAPTURE | target));
        }
        break;
    }
    case BISHOP:
    case ROOK:
    case QUEEN: {
        const CDirections& rays = PIECE_DIRECTIONS[piece];
        for (int i = 0; i < rays.count; ++i) {
            const int step = rays.delta[i];
            for (Square to = Square(from + step); onBoard(to); to = Square(to + step)) {
                const Piece target = m_board[to];
                if (target == EMPTY) {
                    moves.add(from, piece, to, EMPTY);
                    continue;
                }
                if (isRival(target)) moves.add(from, piece, to, uint8_t(FLAG_CAPTURE | target));
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    count = moves.count();
}
