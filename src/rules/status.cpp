#include <cstring>
#include <initializer_list>

#include "rules/attacks.h"
#include "rules/making.h"
#include "rules/position.h"

namespace {

bool samePosition(CHistoryEntry& entry, const CHistoryEntry& now) {
    // The square that differed last time usually still differs: look there first.
    const uint8_t hint = entry.hint & 0x7F;
    if (entry.board[hint] != now.board[hint]) return false;
    if (entry.sideToMove != now.sideToMove) return false;
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (entry.board[square] != now.board[square]) {
            entry.hint = uint8_t(square);
            return false;
        }
    }
    return entry.castling == now.castling && entry.enPassant == now.enPassant;
}

// No sequence of moves can mate with a lone knight against a bare king, or with
// bishops alone that all stand on squares of one colour (whichever sides they
// belong to): the king always has a square of the other colour. Any other material
// can mate, if only with the help of the losing side.
// bishopColours: bit 0 a bishop on a dark square, bit 1 one on a light square.
bool deadByMaterial(const int pieces[16], int bishopColours) {
    for (Piece heavyOrPawn :
         {WHITE_QUEEN, WHITE_ROOK, WHITE_PAWN, BLACK_QUEEN, BLACK_ROOK, BLACK_PAWN})
        if (pieces[heavyOrPawn]) return false;
    const int knights = pieces[WHITE_KNIGHT] + pieces[BLACK_KNIGHT];
    const int bishops = pieces[WHITE_BISHOP] + pieces[BLACK_BISHOP];
    if (knights == 0) return bishopColours != 3;
    return knights == 1 && bishops == 0;
}

} // namespace

bool CPosition::inCheck() {
    if (m_sideToMove == WHITE) return attackedBy<BLACK>(kingSquare(WHITE_KING));
    return attackedBy<WHITE>(kingSquare(BLACK_KING));
}

CHistoryEntry* CPosition::snapshot() {
    if (m_historyCount >= m_historyCapacity && !growHistory()) return nullptr;
    CHistoryEntry& entry = m_history[m_historyCount];
    std::memcpy(entry.board, m_board, BOARD_SIZE);
    entry.sideToMove = m_sideToMove;
    entry.castling = m_castling;
    entry.enPassant = m_enPassant;
    return &entry;
}

bool CPosition::gameStatus(int& reason) {
    reason = STATUS_ON;
    const bool check = inCheck();

    // One pass: whether the side to move has a legal move, and how many of each
    // piece stand on the board.
    const bool white = m_sideToMove == WHITE;
    const Square king = kingSquare(white ? WHITE_KING : BLACK_KING);
    int pieces[16] = {};
    int bishopColours = 0;
    bool canMove = false;
    CMove moves[MAX_SQUARE_MOVES];
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (!onBoard(square)) continue;
        const Piece piece = m_board[square];
        ++pieces[piece & 15];
        if (kindOf(piece) == BISHOP)
            bishopColours |= 1 << ((fileOf(Square(square)) + rankOf(Square(square))) & 1);
        const bool mine =
            white ? piece <= WHITE_QUEEN : (piece >= BLACK_KING && piece <= BLACK_QUEEN);
        if (!mine || canMove) continue;
        uint16_t count = 0;
        generateMoves(Square(square), moves, count);
        for (uint16_t i = 0; i < count && !canMove; ++i)
            canMove = isLegal(moves[i], king);
    }
    if (!canMove) {
        reason = check ? STATUS_CHECKMATE : STATUS_STALEMATE;
        return true;
    }

    // Repetition looks back only over quiet moves: a pawn move, capture or castling
    // makes every earlier position unreachable. The fifty-move rule counts on the
    // clock instead, which goes on through castling and from the clock of a FEN; a
    // repetition within its hundred half-moves is found first.
    CHistoryEntry local;
    CHistoryEntry* now = snapshot();
    if (!now) {
        now = &local;
        std::memcpy(local.board, m_board, BOARD_SIZE);
        local.sideToMove = m_sideToMove;
        local.castling = m_castling;
        local.enPassant = m_enPassant;
    }
    const bool fiftyMoves = m_halfMoveClock >= 100;
    bool seenOnce = false;
    int walked = 0;
    for (uint32_t index = m_historyCount; index > 0; --index) {
        CHistoryEntry& entry = m_history[index - 1];
        if (samePosition(entry, *now)) {
            if (seenOnce) {
                reason = STATUS_REPETITION;
                return true;
            }
            seenOnce = true;
        }
        if (!entry.move.isQuiet() || (fiftyMoves && ++walked >= 100)) break;
    }
    if (fiftyMoves) {
        reason = STATUS_FIFTY_MOVES;
        return true;
    }

    if (deadByMaterial(pieces, bishopColours)) {
        reason = STATUS_MATERIAL;
        return true;
    }
    return false;
}

bool CPosition::isValidSetup() {
    int pieces[16] = {};
    int white = 0, black = 0;
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (!onBoard(square)) continue;
        const Piece piece = m_board[square];
        // Only piece codes and the empty square belong on the board.
        if (piece > BLACK_QUEEN || piece == OFF_BOARD) return false;
        ++pieces[piece];
        if (piece <= WHITE_QUEEN) ++white;
        if (piece >= BLACK_KING) ++black;
    }

    if (m_enPassant != 0 && onBoard(m_enPassant)) {
        const Square ep = m_enPassant;
        const bool fits = m_sideToMove == WHITE ? rankOf(ep) == 5 && m_board[ep - 1] == BLACK_PAWN
                                                : rankOf(ep) == 2 && m_board[ep + 1] == WHITE_PAWN;
        if (!fits) return false;
    }

    // A castling right needs its own king and rook at home; a rook of the other
    // colour on the corner would be moved as if it were the king's own.
    if ((m_castling & CASTLE_K) && (m_board[0x40] != WHITE_KING || m_board[0x70] != WHITE_ROOK))
        return false;
    if ((m_castling & CASTLE_Q) && (m_board[0x40] != WHITE_KING || m_board[0x00] != WHITE_ROOK))
        return false;
    if ((m_castling & CASTLE_k) && (m_board[0x47] != BLACK_KING || m_board[0x77] != BLACK_ROOK))
        return false;
    if ((m_castling & CASTLE_q) && (m_board[0x47] != BLACK_KING || m_board[0x07] != BLACK_ROOK))
        return false;

    if (pieces[WHITE_KING] != 1 || pieces[BLACK_KING] != 1) return false;
    if (white > 16 || black > 16) return false;

    for (int colour : {0, 8}) {
        const int pawns = pieces[WHITE_PAWN | colour];
        if (pawns > 8) return false;
        if (pawns + pieces[WHITE_KNIGHT | colour] > 10 ||
            pawns + pieces[WHITE_BISHOP | colour] > 10 ||
            pawns + pieces[WHITE_ROOK | colour] > 10 || pawns + pieces[WHITE_QUEEN | colour] > 9)
            return false;
    }

    for (int file = 0; file < 8; ++file) {
        for (int rank : {0, 7}) {
            const Piece piece = m_board[makeSquare(file, rank)];
            if (piece == WHITE_PAWN || piece == BLACK_PAWN) return false;
        }
    }

    if (m_sideToMove == WHITE) return !attackedBy<WHITE>(kingSquare(BLACK_KING));
    return !attackedBy<BLACK>(kingSquare(WHITE_KING));
}

const char* CPosition::whyNotPlayable() {
    int whiteKings = 0, blackKings = 0;
    bool pawnAtEdge = false;
    for (int square = 0; square < BOARD_SIZE; ++square) {
        if (!onBoard(square)) continue;
        const Piece piece = m_board[square];
        if (piece == WHITE_KING) ++whiteKings;
        if (piece == BLACK_KING) ++blackKings;
        if (kindOf(piece) == PAWN && (rankOf(Square(square)) == 0 || rankOf(Square(square)) == 7))
            pawnAtEdge = true;
    }
    // The kings first: without exactly one each, the check test below means nothing.
    if (whiteKings == 0) return "White has no king";
    if (whiteKings > 1) return "White has more than one king";
    if (blackKings == 0) return "Black has no king";
    if (blackKings > 1) return "Black has more than one king";
    if (pawnAtEdge) return "A pawn stands on the first or last rank";
    if (m_sideToMove == WHITE && attackedBy<WHITE>(kingSquare(BLACK_KING)))
        return "Black is in check but White is to move";
    if (m_sideToMove == BLACK && attackedBy<BLACK>(kingSquare(WHITE_KING)))
        return "White is in check but Black is to move";
    return nullptr;
}
