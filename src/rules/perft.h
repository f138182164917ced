#pragma once
// Counting the leaves of the legal move tree: the standard check of a move
// generator against published figures, and its speed measure.

#include <cstdint>

class CPosition;

// Leaves at `depth` plies below the position (1 at depth 0). The position is left
// as it was found.
uint64_t perft(CPosition& position, int depth);
