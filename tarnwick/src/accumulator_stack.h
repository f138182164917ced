// The network's hidden sums along the search's current line, one entry per ply. Making a move
// only notes which pieces it takes off and puts on; the sums are brought up to date when a
// position is evaluated, from the nearest ply above whose sums are known. Nodes cut off before
// their evaluation cost nothing.
#pragma once

#include "nnue.h"

namespace tarnwick::nnue {

class AccumulatorStack {
public:
    static constexpr int PLIES = MAX_PLY + 2;

    // The root's sums, from the whole board.
    void reset(const Network& net, const Position& root);
    // Notes what m, about to be made in before (the position at childPly - 1), changes.
    void recordMove(int childPly, const Position& before, Move m);
    void recordNullMove(int childPly);
    // Centipawns for the side to move of pos, the position at ply on the recorded line.
    int evaluate(int ply, const Position& pos);
    // The sums at ply as the incremental path made them (for checking it against a refresh).
    const Accumulator& accumulatorAt(int ply);

private:
    struct PlacedPiece {
        Piece piece;
        int square;
    };
    struct Entry {
        Accumulator sums;
        bool current = false;
        PlacedPiece added[2];
        PlacedPiece removed[2];
        int addedCount = 0;
        int removedCount = 0;
    };
    void bringUpToDate(int ply);

    const Network* net_ = nullptr;
    Entry entries_[PLIES];
};

} // namespace tarnwick::nnue
