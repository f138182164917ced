// The engine's board: bitboards per piece type and colour, a mailbox for lookups, and the
// history of hash keys that repetition needs (including the game's moves before the search).
#pragma once

#include "bitboard.h"
#include "types.h"

#include <string>
#include <vector>

namespace tarnwick {

// What makeMove cannot recompute when the move is taken back.
struct UndoInfo {
    Key key;
    Key pawnKey;
    Piece captured;
    int castling;
    int epSquare;
    int halfmoveClock;
};

class Position {
public:
    Position();

    // Reads a FEN; returns false (and leaves the position unchanged) if it is not one we
    // can search safely: bad fields, a missing king, or the side not to move in check.
    bool setFen(const std::string& fen);
    std::string fen() const;
    void setStart();

    Piece pieceOn(int sq) const { return board_[sq]; }
    Bitboard pieces() const { return byColor_[WHITE] | byColor_[BLACK]; }
    Bitboard pieces(Color c) const { return byColor_[c]; }
    Bitboard pieces(PieceType t) const { return byType_[t]; }
    Bitboard pieces(Color c, PieceType t) const { return byColor_[c] & byType_[t]; }
    Color sideToMove() const { return side_; }
    int castling() const { return castling_; }
    int epSquare() const { return epSquare_; }
    int halfmoveClock() const { return halfmoveClock_; }
    int fullmoveNumber() const { return fullmove_; }
    Key key() const { return key_; }
    Key pawnKey() const { return pawnKey_; }
    int kingSquare(Color c) const { return lowestSquare(pieces(c, KING)); }

    Bitboard attackersTo(int sq, Bitboard occupied) const;
    bool isAttacked(int sq, Color by) const;
    bool inCheck() const { return isAttacked(kingSquare(side_), ~side_); }
    Bitboard checkers() const {
        return attackersTo(kingSquare(side_), pieces()) & byColor_[~side_];
    }

    void makeMove(Move m, UndoInfo& undo);
    void unmakeMove(Move m, const UndoInfo& undo);
    void makeNullMove(UndoInfo& undo);
    void unmakeNullMove(const UndoInfo& undo);

    // True when the side that just moved left its own king attacked.
    bool leftKingInCheck() const { return isAttacked(kingSquare(~side_), side_); }
    // Pseudo-legality of a move from the hash table or killer slots in this position.
    bool isPseudoLegal(Move m) const;
    bool isLegal(Move m);
    bool givesCheckAfterMake() const { return inCheck(); }

    // Draw by the fifty-move rule or by repetition since the last irreversible move.
    // Inside the search one repetition is enough; the game's history counts as well.
    bool isDraw(int searchPly) const;
    bool hasNonPawnMaterial(Color c) const { return pieces(c) & ~pieces(PAWN) & ~pieces(KING); }

    // Forgets earlier positions for repetition: the current position becomes the root.
    void clearHistory();

private:
    void putPiece(Piece p, int sq);
    void removePiece(int sq);
    void movePiece(int from, int to);
    void computeKeys();

    Bitboard byType_[6];
    Bitboard byColor_[2];
    Piece board_[64];
    Color side_;
    int castling_;
    int epSquare_;
    int halfmoveClock_;
    int fullmove_;
    Key key_;
    Key pawnKey_;
    std::vector<Key> history_; // keys of the earlier positions, oldest first
};

// Zobrist keys, filled by initZobrist().
struct ZobristKeys {
    Key piece[12][64];
    Key castling[16];
    Key epFile[8];
    Key side;
};
extern ZobristKeys zobrist;
void initZobrist();

std::string moveToText(Move m);

} // namespace tarnwick
