// The fit of the evaluation's weights on a handful of positions: unreadable lines are skipped
// with a message, and the fit lowers the error.
#include "tune.h"
#include "types.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Positions where the side ahead in material won, plus lines no reader should accept.
const char* const DATA = R"(rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 | 0.5
rnbqkb1r/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 | 1.0
rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/R1BQKBNR b KQkq - 0 1 | 0.0
r1bqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1 | 1.0
rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq - 0 1 | 0.0
6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1 | 1.0
r5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1 | 0.0
6k1/5ppp/8/3P4/8/8/5PPP/6K1 w - - 0 1 | 85 | 1.0
8/8/8/4k3/8/8/8/3BK3 w - - 0 1 | 0.5
no result here
rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 | 2
rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 |
rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 | 1.0
| 1.0
8/8/8/8/8/8/8/8 w - - 0 1 | 0.5

)";

TEST(Tune, SkipsMalformedLinesWithAMessage) {
    std::istringstream in(DATA);
    tarnwick::TuningSet set;
    std::ostringstream errors;
    tarnwick::readTuningSet(in, set, errors);
    EXPECT_EQ(set.positions.size(), 8u);
    EXPECT_EQ(set.drawn, 1u);
    EXPECT_EQ(set.malformed, 6u);
    const std::string messages = errors.str();
    for (const char* expected :
         {"line 10:", "line 11:", "line 12:", "line 13:", "line 14:", "line 15:"})
        EXPECT_NE(messages.find(expected), std::string::npos) << expected << "\n" << messages;
    EXPECT_EQ(messages.find("line 16"), std::string::npos) << "a blank line is no error";
}

TEST(Tune, FittingLowersTheError) {
    std::istringstream in(DATA);
    tarnwick::TuningSet set;
    std::ostringstream errors;
    tarnwick::readTuningSet(in, set, errors);
    tarnwick::TuningWeights weights = tarnwick::currentWeights();
    double k = tarnwick::fitScalingConstant(set, weights);
    EXPECT_GT(k, 0.05);
    EXPECT_LT(k, 5.0);
    double before = tarnwick::meanError(set, weights, k);

    tarnwick::TuningOptions options;
    options.epochs = 50;
    int reports = 0;
    double first = 0, last = 0;
    options.report = [&](int epoch, double error, const tarnwick::TuningWeights&) {
        EXPECT_EQ(epoch, ++reports);
        if (epoch == 1) first = error;
        last = error;
    };
    double after = tarnwick::fitWeights(set, weights, k, options);
    EXPECT_EQ(reports, 50);
    EXPECT_DOUBLE_EQ(first, before);
    EXPECT_LT(last, first);
    EXPECT_LT(after, before);

    // Moving placement into material changes no evaluation.
    tarnwick::TuningWeights centred = weights;
    tarnwick::centrePieceSquares(centred);
    EXPECT_NEAR(tarnwick::meanError(set, centred, k), after, 1e-9);
    EXPECT_EQ(centred[tarnwick::term::MATERIAL + tarnwick::PAWN],
              weights[tarnwick::term::MATERIAL + tarnwick::PAWN]);

    std::ostringstream source;
    tarnwick::writeWeights(source, centred, {"test"});
    EXPECT_NE(source.str().find("// KING_DANGER"), std::string::npos);
}

} // namespace
