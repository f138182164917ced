// Self-play for fitting the evaluation: how games end, which positions are kept, and that a
// seed always gives the same games.
#include "datagen.h"
#include "test_network.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

using tarnwick::GameResult;

tarnwick::Position positionFrom(const char* fen) {
    tarnwick::Position pos;
    EXPECT_TRUE(pos.setFen(fen)) << fen;
    return pos;
}

TEST(SelfPlay, EndsGamesByTheRules) {
    struct Case {
        const char* fen;
        GameResult result;
    };
    const Case CASES[] = {
        {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", GameResult::WHITE_WINS}, // mate in one
        {"r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1", GameResult::BLACK_WINS},    // mate in one
        {"6k1/8/8/8/8/8/5PPP/r5K1 w - - 0 1", GameResult::BLACK_WINS},    // mated already
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", GameResult::DRAW},             // stalemate
        {"8/8/4k3/8/8/8/8/3NK3 w - - 0 1", GameResult::DRAW},             // knight alone
        {"8/8/8/4k3/8/8/8/3QK3 w - - 0 1", GameResult::WHITE_WINS},       // adjudicated
        {"8/8/4k3/8/8/8/3P4/4K3 w - - 100 80", GameResult::DRAW},         // fifty moves
    };
    tarnwick::SelfPlay selfPlay(3000, 0, 1);
    for (const Case& c : CASES) {
        tarnwick::SelfPlayGame game = selfPlay.play(positionFrom(c.fen));
        EXPECT_EQ(game.result, c.result) << c.fen;
        EXPECT_LE(game.plies, 400) << c.fen;
    }
}

TEST(SelfPlay, KeepsOnlyQuietPositionsAfterTheRandomPlies) {
    tarnwick::Position start;
    start.setStart();
    tarnwick::SelfPlay selfPlay(500, 8, 3);
    int played = 0;
    for (int i = 0; i < 6; ++i) {
        tarnwick::SelfPlayGame game = selfPlay.play(start);
        if (game.result == GameResult::DISCARDED) {
            EXPECT_TRUE(game.positions.empty());
            continue;
        }
        ++played;
        EXPECT_GE(game.plies, 8);
        for (const tarnwick::RecordedPosition& recorded : game.positions) {
            const std::string& fen = recorded.fen;
            EXPECT_LT(std::abs(recorded.whiteScore), 2000) << fen;
            tarnwick::Position pos;
            ASSERT_TRUE(pos.setFen(fen)) << fen;
            EXPECT_FALSE(pos.inCheck()) << fen;
            EXPECT_EQ(pos.fen(), fen);
            EXPECT_GE(2 * (pos.fullmoveNumber() - 1) + int(pos.sideToMove()), 8) << fen;
        }
    }
    EXPECT_GT(played, 0);
}

TEST(SelfPlay, SameSeedSameGames) {
    tarnwick::Position start;
    start.setStart();
    auto play = [&](uint64_t seed, const tarnwick::nnue::Network* network = nullptr) {
        tarnwick::SelfPlay selfPlay(300, 8, seed);
        selfPlay.setNetwork(network);
        std::vector<std::string> all;
        for (int i = 0; i < 3; ++i) {
            tarnwick::SelfPlayGame game = selfPlay.play(start);
            all.push_back(std::to_string(int(game.result)));
            for (const tarnwick::RecordedPosition& recorded : game.positions)
                all.push_back(recorded.fen + std::to_string(recorded.whiteScore));
        }
        return all;
    };
    EXPECT_EQ(play(5), play(5));
    EXPECT_NE(play(5), play(6));
    // Games played with a network are its own: its scores, the same for the same seed.
    auto network = testNetwork(11);
    EXPECT_EQ(play(5, network.get()), play(5, network.get()));
    EXPECT_NE(play(5, network.get()), play(5));
}

TEST(SelfPlay, SeesRepetitionWithTheSameSideToMove) {
    struct Case {
        std::vector<tarnwick::Key> keys;
        int halfmoveClock;
        bool repeated;
    };
    const Case CASES[] = {
        {{1, 2, 3, 4, 1}, 4, true},
        {{1, 2, 3, 4, 1}, 3, false}, // a capture or pawn move came between
        {{9, 1, 2, 3, 4, 1}, 100, true},
        {{1, 2, 3, 1}, 3, false}, // the other side to move
        {{1, 2, 3, 4, 5, 6}, 5, false},
        {{1}, 0, false},
    };
    for (const Case& c : CASES)
        EXPECT_EQ(tarnwick::repeatsEarlierPosition(c.keys, c.halfmoveClock), c.repeated)
            << c.keys.size() << " keys, clock " << c.halfmoveClock;
}

TEST(SelfPlay, InsufficientMaterialAndTrainingLines) {
    struct Case {
        const char* fen;
        bool insufficient;
    };
    const Case CASES[] = {
        {"8/8/4k3/8/8/8/8/4K3 w - - 0 1", true},    {"8/8/4k3/8/8/8/8/3NK3 w - - 0 1", true},
        {"8/8/3bk3/8/8/8/8/4K3 b - - 0 1", true},   {"8/8/3bk3/8/8/8/8/3BK3 w - - 0 1", false},
        {"8/8/4k3/8/8/8/3P4/4K3 w - - 0 1", false}, {"8/8/4k3/8/8/8/8/3RK3 w - - 0 1", false},
    };
    for (const Case& c : CASES)
        EXPECT_EQ(tarnwick::insufficientMaterial(positionFrom(c.fen)), c.insufficient) << c.fen;

    const std::string fen = "8/8/4k3/8/8/8/8/3RK3 w - - 0 1";
    EXPECT_EQ(tarnwick::trainingLine({fen, 512}, GameResult::WHITE_WINS), fen + " | 512 | 1.0");
    EXPECT_EQ(tarnwick::trainingLine({fen, 0}, GameResult::DRAW), fen + " | 0 | 0.5");
    EXPECT_EQ(tarnwick::trainingLine({fen, -37}, GameResult::BLACK_WINS), fen + " | -37 | 0.0");
}

} // namespace
