// Leaf counts against the published figures for the positions that exercise
// castling, en passant, promotions and pins. The deepest figures are checked by
// hand with the release tool (scripts/perft-deep.sh); these depths keep the suite quick.
#include <gtest/gtest.h>

#include "rules/perft.h"
#include "rules/position.h"

namespace {

constexpr const char* KIWIPETE =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
constexpr const char* ENDGAME = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
constexpr const char* PROMOTIONS =
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
constexpr const char* TRICKY = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";

struct PerftCase {
    const char* fen;
    int depth;
    uint64_t leaves;
};

const PerftCase PERFT_CASES[] = {
    {START_FEN, 1, 20},
    {START_FEN, 2, 400},
    {START_FEN, 3, 8902},
    {START_FEN, 4, 197281},
    {START_FEN, 5, 4865609},
    {KIWIPETE, 1, 48},
    {KIWIPETE, 2, 2039},
    {KIWIPETE, 3, 97862},
    {KIWIPETE, 4, 4085603},
    {ENDGAME, 1, 14},
    {ENDGAME, 2, 191},
    {ENDGAME, 3, 2812},
    {ENDGAME, 4, 43238},
    {ENDGAME, 5, 674624},
    {PROMOTIONS, 1, 6},
    {PROMOTIONS, 2, 264},
    {PROMOTIONS, 3, 9467},
    {PROMOTIONS, 4, 422333},
    {TRICKY, 1, 44},
    {TRICKY, 2, 1486},
    {TRICKY, 3, 62379},
    // En-passant squares that cannot be right: one on the mover's own side (the
    // "capture" would take White's own e2 pawn), one on an occupied square (exd6
    // would be counted twice). Checked against Stockfish.
    {"4k3/8/8/8/3pP3/8/3PP3/4K3 w - e3 0 1", 1, 6},
    {"4k3/8/8/8/3pP3/8/3PP3/4K3 w - e3 0 1", 4, 1815},
    {"4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", 1, 7},
    {"4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", 4, 7254},
    // The same positions with Black to move, mirrored, must count the same.
    {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
};

TEST(Perft, MatchesPublishedCounts) {
    CPosition position;
    for (const PerftCase& c : PERFT_CASES) {
        position.setFen(c.fen);
        char before[FEN_BUFFER_SIZE];
        position.getFen(before);
        EXPECT_EQ(perft(position, c.depth), c.leaves) << c.fen << " depth " << c.depth;
        char after[FEN_BUFFER_SIZE];
        position.getFen(after);
        EXPECT_STREQ(before, after) << "perft must leave the position as it was";
        EXPECT_EQ(position.historyCount(), 0u);
    }
}

} // namespace
