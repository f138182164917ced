#include "rules/perft.h"

#include "rules/position.h"

uint64_t perft(CPosition& position, int depth) {
    if (depth <= 0) return 1;
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    // The last ply is counted, not made: each of its moves was already made and
    // taken back once by the legality test.
    if (depth == 1) return count;
    uint64_t leaves = 0;
    for (uint16_t i = 0; i < count; ++i) {
        position.makeMove(moves[i]);
        leaves += perft(position, depth - 1);
        position.takeBack();
    }
    return leaves;
}
