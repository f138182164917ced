// Every move the program writes must read back as itself: for every legal move in
// the first three plies from the perft positions, the SAN (with suffix, as shown
// and saved) and the coordinate text (as exchanged with the engine) both parse to
// the same move, and neither writing nor reading changes the position.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rules/notation.h"
#include "rules/position.h"

#include "../support/fen_text.h"

namespace {

const char* const POSITIONS[] = {
    START_FEN,
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
};

struct RoundTrip {
    long moves = 0;
    long failures = 0;
};

void checkMoves(CPosition& position, int depth, RoundTrip& tally) {
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    char before[FEN_BUFFER_SIZE];
    position.getFen(before);
    for (uint16_t i = 0; i < count; ++i) {
        const CMove move = moves[i];
        ++tally.moves;
        const CText san = sanText(position, move, true);
        const CMove fromSan = parseSan(position, san.c_str());
        const CText listed = sanText(position, move, false, moves, count);
        const CMove fromListed = parseSan(position, listed.c_str());
        char coordinates[6];
        coordinateText(move, coordinates);
        coordinates[4] = 0; // without a promotion letter: e7e8 means the queen
        const CMove fromCoordinates = parseSan(position, coordinates);
        const bool coordinatesFit =
            fromCoordinates == move || (move.isPromotion() && kindOf(move.piece) != QUEEN &&
                                        kindOf(fromCoordinates.piece) == QUEEN);
        if (fromSan != move || fromListed != move || !coordinatesFit) {
            if (++tally.failures <= 10)
                ADD_FAILURE() << before << ": " << coordinates << " written " << san.c_str()
                              << " / " << listed.c_str();
        }
        if (depth > 1) {
            position.makeMove(move);
            checkMoves(position, depth - 1, tally);
            position.takeBack();
        }
    }
    EXPECT_EQ(withoutCounters(before), withoutCounters(position));
}

TEST(RoundTrip, SanAndCoordinatesReadBackAsTheSameMove) {
    for (const char* fen : POSITIONS) {
        CPosition position;
        position.setFen(fen);
        RoundTrip tally;
        checkMoves(position, 3, tally);
        EXPECT_EQ(tally.failures, 0) << fen << " over " << tally.moves << " moves";
    }
}

} // namespace
