// The evaluation taken apart for the tuner must add up to the evaluation itself, and must not
// care which colour is which.
#include "evaluate.h"
#include "tune.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

const char* const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R b KQ - 3 8",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "6k1/5ppp/8/3P4/8/8/5PPP/6K1 b - - 0 40",
    "r4rk1/1pp2ppp/p1n5/3qN3/3P2b1/2P5/P3QPPP/R1B2RK1 w - - 0 17",
    "8/8/4k3/8/8/2B5/3NK3/8 w - - 0 60",  // no pawns: the side ahead is scaled down
    "8/5k2/8/8/8/3K4/4R3/5r2 b - - 0 70", // rook against rook
    "8/8/8/4k3/8/8/8/3BK3 w - - 0 1",     // a lone bishop cannot win: a dead draw
    "2kr3r/ppq2ppp/2n1b3/2bpP3/5B2/2PB1N2/PP3PPP/R2Q1RK1 w - - 1 14",
    "4r1k1/1q3ppp/p7/1p1Qp3/4P3/1P3P2/P5PP/3R2K1 b - - 0 30",
    "8/4bk2/8/3P4/2B5/4K3/8/8 w - - 0 50", // bishops of opposite colours
    "r1b2rk1/pp3ppp/2n5/q2Np3/2B1P1n1/5N2/PP1P1PPP/R2QK2R w KQ - 0 12", // checks in the air
};

// The same position with the colours swapped: board turned over, side to move, castling
// rights and en-passant square mirrored.
std::string mirrored(const std::string& fen) {
    std::istringstream in(fen);
    std::string placement, side, castling, ep, rest;
    in >> placement >> side >> castling >> ep;
    std::getline(in, rest);
    std::string ranks[8];
    int r = 0;
    for (char c : placement) {
        if (c == '/')
            ++r;
        else
            ranks[r] += std::isalpha(static_cast<unsigned char>(c))
                            ? char(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                               : std::toupper(c))
                            : c;
    }
    std::string out;
    for (int i = 7; i >= 0; --i)
        out += ranks[i] + (i ? "/" : "");
    std::string rights;
    for (char c : castling)
        rights += c == '-' ? c
                           : char(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                              : std::toupper(c));
    if (ep != "-") ep[1] = ep[1] == '3' ? '6' : '3';
    return out + (side == "w" ? " b " : " w ") + rights + " " + ep + rest;
}

TEST(EvalTrace, WeightsTimesCoefficientsGiveTheEvaluation) {
    const tarnwick::TuningWeights weights = tarnwick::currentWeights();
    for (const char* fen : POSITIONS) {
        std::istringstream line(std::string(fen) + " | 0.5");
        tarnwick::TuningSet set;
        std::ostringstream errors;
        tarnwick::readTuningSet(line, set, errors);
        ASSERT_EQ(set.malformed, 0u) << fen << errors.str();

        tarnwick::Position pos;
        ASSERT_TRUE(pos.setFen(fen)) << fen;
        tarnwick::EvalTrace trace;
        int traced = tarnwick::evaluateTraced(pos, trace);
        EXPECT_EQ(traced, tarnwick::evaluate(pos)) << fen;
        if (trace.drawn) {
            EXPECT_EQ(traced, 0) << fen;
            EXPECT_TRUE(set.positions.empty()) << fen;
            continue;
        }
        ASSERT_EQ(set.positions.size(), 1u) << fen;
        double linear = tarnwick::tunedEvaluation(set, set.positions[0], weights);
        if (pos.sideToMove() == tarnwick::BLACK) linear = -linear;
        // The engine rounds twice (the phase blend, then the scale); the sum does not.
        EXPECT_NEAR(linear, traced, 2.0) << fen;
    }
}

TEST(EvalTrace, MirroredPositionsScoreTheSameForTheSideToMove) {
    for (const char* fen : POSITIONS) {
        tarnwick::Position pos, mirror;
        ASSERT_TRUE(pos.setFen(fen)) << fen;
        ASSERT_TRUE(mirror.setFen(mirrored(fen))) << mirrored(fen);
        EXPECT_EQ(tarnwick::evaluate(pos), tarnwick::evaluate(mirror)) << fen;
        tarnwick::EvalTrace trace, mirrorTrace;
        tarnwick::evaluateTraced(pos, trace);
        tarnwick::evaluateTraced(mirror, mirrorTrace);
        EXPECT_EQ(trace.phase, mirrorTrace.phase) << fen;
        EXPECT_EQ(trace.scaleWhite, mirrorTrace.scaleBlack) << fen;
        for (int i = 0; i < tarnwick::EVAL_PARAM_COUNT; ++i)
            EXPECT_EQ(trace.coefficient[i], -mirrorTrace.coefficient[i]) << fen << " weight " << i;
    }
}

TEST(EvalTrace, OnlyBishopsOfOppositeColoursHalveTheScore) {
    struct Case {
        const char* fen;
        int scale;
    };
    const Case cases[] = {
        {"8/4bk2/8/3P4/2B5/4K3/8/8 w - - 0 50", 2},    // light against dark
        {"8/3b1k2/8/3P4/2B5/4K3/8/8 w - - 0 50", 4},   // both light
        {"8/4bk2/8/3P4/2B5/4K3/8/4R2r w - - 0 50", 4}, // rooks too
        {"8/4bk2/8/3P4/2BB4/4K3/8/8 w - - 0 50", 4},   // a pair against one
    };
    for (const Case& c : cases) {
        tarnwick::Position pos;
        ASSERT_TRUE(pos.setFen(c.fen)) << c.fen;
        tarnwick::EvalTrace trace;
        tarnwick::evaluateTraced(pos, trace);
        EXPECT_EQ(trace.scaleWhite, c.scale) << c.fen; // Black, without pawns, is scaled anyway
    }
}

} // namespace
