// The engine's own move generator against the published perft counts. The deepest counts
// take minutes and are checked by hand with tarnwick-perft.
#include "movegen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PerftCase {
    const char* fen;
    std::vector<uint64_t> counts; // depth 1, 2, ...
};

const PerftCase PERFT_CASES[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {20, 400, 8902, 197281}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", {48, 2039, 97862}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238}},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", {6, 264, 9467}},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", {44, 1486, 62379}},
    // En passant that would expose the king, and promotions with check.
    {"8/8/8/KPp4r/8/8/8/7k w - c6 0 2", {4}},
    {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", {24, 496, 9483}},
};

TEST(EnginePerft, MatchesPublishedCounts) {
    for (const PerftCase& c : PERFT_CASES) {
        tarnwick::Position pos;
        ASSERT_TRUE(pos.setFen(c.fen)) << c.fen;
        for (size_t depth = 1; depth <= c.counts.size(); ++depth)
            EXPECT_EQ(tarnwick::perft(pos, int(depth)), c.counts[depth - 1])
                << c.fen << " depth " << depth;
        EXPECT_EQ(pos.fen(), tarnwick::Position(pos).fen()) << "perft must restore the position";
    }
}

TEST(EnginePosition, RefusesMalformedFen) {
    const char* const BAD[] = {
        "",
        "garbage",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",  // side
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",           // seven ranks
        "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",  // nine files
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNRR w KQkq - 0 1", // rank too long
        "rnbqqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",  // no black king
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQxq - 0 1",  // castling letter
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq z9 0 1", // en passant
        "rnbqkbnr/ppppzppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",  // piece letter
        "4k3/8/8/8/8/8/8/4K2R w K - 0 1 extra",                      // accepted: extra ignored
        "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1",                           // side not to move in check
        "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",                            // pawn on the last rank
    };
    for (const char* fen : BAD) {
        tarnwick::Position pos;
        std::string before = pos.fen();
        bool accepted = pos.setFen(fen);
        if (std::string(fen).find("extra") != std::string::npos) {
            EXPECT_TRUE(accepted) << fen;
            continue;
        }
        EXPECT_FALSE(accepted) << fen;
        EXPECT_EQ(pos.fen(), before) << "a refused FEN leaves the position as it was: " << fen;
    }
}

} // namespace
