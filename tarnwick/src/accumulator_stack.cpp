#include "accumulator_stack.h"

#include <cassert>

namespace tarnwick::nnue {

void AccumulatorStack::reset(const Network& net, const Position& root) {
    net_ = &net;
    refresh(net, root, entries_[0].sums);
    entries_[0].current = true;
}

void AccumulatorStack::recordMove(int childPly, const Position& before, Move m) {
    assert(childPly > 0 && childPly < PLIES);
    Entry& entry = entries_[childPly];
    entry.current = false;
    entry.addedCount = entry.removedCount = 0;
    auto add = [&entry](Piece p, int sq) { entry.added[entry.addedCount++] = {p, sq}; };
    auto remove = [&entry](Piece p, int sq) { entry.removed[entry.removedCount++] = {p, sq}; };

    const int from = moveFrom(m), to = moveTo(m);
    const MoveKind kind = moveKind(m);
    const Piece moving = before.pieceOn(from);
    const Color us = colorOf(moving);
    if (kind == CASTLING) {
        const bool kingSide = to > from;
        const Piece rook = makePiece(us, ROOK);
        remove(moving, from);
        remove(rook, kingSide ? from + 3 : from - 4);
        add(moving, to);
        add(rook, kingSide ? from + 1 : from - 1);
        return;
    }
    remove(moving, from);
    add(kind == PROMOTION ? makePiece(us, promotionType(m)) : moving, to);
    if (kind == EN_PASSANT)
        remove(makePiece(~us, PAWN), us == WHITE ? to - 8 : to + 8);
    else if (before.pieceOn(to) != NO_PIECE)
        remove(before.pieceOn(to), to);
}

void AccumulatorStack::recordNullMove(int childPly) {
    assert(childPly > 0 && childPly < PLIES);
    Entry& entry = entries_[childPly];
    entry.current = false;
    entry.addedCount = entry.removedCount = 0;
}

void AccumulatorStack::bringUpToDate(int ply) {
    int known = ply;
    while (!entries_[known].current) {
        // The root's sums are always known, so this stops at ply 0 at the latest.
        assert(known > 0);
        --known;
    }
    for (int next = known + 1; next <= ply; ++next) {
        Entry& entry = entries_[next];
        entry.sums = entries_[next - 1].sums;
        for (Color side : {WHITE, BLACK}) {
            int16_t* values = entry.sums.values[side];
            for (int i = 0; i < entry.removedCount; ++i)
                removeFeature(*net_, values,
                              featureIndex(side, entry.removed[i].piece, entry.removed[i].square));
            for (int i = 0; i < entry.addedCount; ++i)
                addFeature(*net_, values,
                           featureIndex(side, entry.added[i].piece, entry.added[i].square));
        }
        entry.current = true;
    }
}

const Accumulator& AccumulatorStack::accumulatorAt(int ply) {
    bringUpToDate(ply);
    return entries_[ply].sums;
}

int AccumulatorStack::evaluate(int ply, const Position& pos) {
    return output(*net_, accumulatorAt(ply), pos.sideToMove());
}

} // namespace tarnwick::nnue
