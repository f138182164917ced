// Pseudo-legal move generation; the search rejects moves that leave the king attacked.
#pragma once

#include "position.h"

namespace tarnwick {

struct MoveList {
    Move moves[256];
    int size = 0;
    void add(Move m) { moves[size++] = m; }
    Move* begin() { return moves; }
    Move* end() { return moves + size; }
};

enum class GenType { ALL, CAPTURES, QUIETS };

// CAPTURES holds captures and queen promotions; QUIETS holds the rest.
void generateMoves(const Position& pos, GenType type, MoveList& list);
void generateLegalMoves(Position& pos, MoveList& list);

uint64_t perft(Position& pos, int depth);

} // namespace tarnwick
