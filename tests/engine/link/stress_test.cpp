// Two hundred engine moves at one ply with Tarnwick while the user presses Back, Forward,
// New game and Move now at random moments: no crash, no deadlock, and after every step the
// game, the position, the ply number and the clocks agree with each other.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "link_fixture.h"
#include "rules/position.h"

namespace {

// TALLOWMERE_STRESS_ENGINE_MOVES asks for more (or fewer) engine moves, for runs by hand.
int engineMovesWanted() {
    const char* wanted = std::getenv("TALLOWMERE_STRESS_ENGINE_MOVES");
    const int moves = wanted ? std::atoi(wanted) : 0;
    return moves > 0 ? moves : 200;
}

class StressTest : public EngineLinkTest {
protected:
    StressTest() : EngineLinkTest(TARNWICK_FOLDER) {}

    // The position the moves from the root to the current node lead to, the ply number
    // and the clocks must be the program's own.
    ::testing::AssertionResult gameIsConsistent() {
        std::vector<const CMoveNode*> path;
        for (const CMoveNode* node = appState.currentNode; node->parent; node = node->parent) {
            path.insert(path.begin(), node);
        }
        CPosition replayed;
        const CText fen = appState.game->tag("FEN");
        if (fen.isEmpty()) {
            replayed.reset();
        } else {
            replayed.setFen(fen.c_str());
        }
        uint64_t white = 0, black = 0;
        for (const CMoveNode* node : path) {
            if (!replayed.makeMove(node->move)) return ::testing::AssertionFailure() << "no move";
            (isBlackPiece(node->move.piece) ? black : white) += uint64_t(node->thinkTime);
        }
        char expected[FEN_BUFFER_SIZE], shown[FEN_BUFFER_SIZE];
        replayed.getFen(expected);
        appState.position->getFen(shown);
        if (std::string(expected) != shown) {
            return ::testing::AssertionFailure()
                   << "position " << shown << ", moves give " << expected;
        }
        if (appState.plyNumber != int32_t(path.size()) + 1) {
            return ::testing::AssertionFailure()
                   << "ply number " << appState.plyNumber << " at depth " << path.size();
        }
        if (appState.whiteUsedMs != white || appState.blackUsedMs != black) {
            return ::testing::AssertionFailure()
                   << "clocks " << appState.whiteUsedMs << "/" << appState.blackUsedMs
                   << ", moves give " << white << "/" << black;
        }
        return ::testing::AssertionSuccess();
    }

    // A legal move of the side to move that is no promotion, chosen at random; false when
    // there is none.
    bool randomMove(std::mt19937& random, CMove& chosen) {
        CMove moves[MAX_MOVES];
        uint16_t count = 0;
        appState.position->legalMoves(moves, count);
        std::vector<CMove> plain;
        for (uint16_t i = 0; i < count; ++i) {
            if (!moves[i].isPromotion()) plain.push_back(moves[i]);
        }
        if (plain.empty()) return false;
        chosen = plain[std::uniform_int_distribution<size_t>(0, plain.size() - 1)(random)];
        return true;
    }

    void tapMove(CMove move) {
        char from[3], to[3];
        squareText(move.from, from);
        squareText(move.to, to);
        tap(from);
        tap(to);
    }
};

} // namespace

TEST_F(StressTest, TwoHundredEngineMovesWithCommandsAtRandomMoments) {
    std::mt19937 random(20240611);
    const int interruptions[] = {IDM_BACK,     IDM_FORWARD,   IDM_NEW_GAME,
                                 IDM_MOVE_NOW, IDM_FAST_BACK, IDM_FAST_FORWARD};
    appState.highlightLastMove = true;
    int engineMoves = 0;
    int steps = 0;
    const int wanted = engineMovesWanted();
    while (engineMoves < wanted && steps < 15 * wanted) {
        ++steps;
        ASSERT_TRUE(runUntilEngineIdle()) << "step " << steps << ": the engine never came back";
        ASSERT_TRUE(gameIsConsistent()) << "step " << steps;
        int reason = 0;
        CMove move;
        if (appState.position->gameStatus(reason) || appState.plyNumber > 160 ||
            !randomMove(random, move)) {
            command(IDM_NEW_GAME);
            continue;
        }
        // Some moves glide, so that the engine also waits for animations.
        appState.animationSpeed = std::uniform_int_distribution<int>(0, 4)(random) == 0 ? 3 : 0;
        const CMoveNode* userNode = nullptr;
        tapMove(move);
        if (appState.currentNode->move == move) userNode = appState.currentNode;
        // Now and then a command while the engine thinks or its move is being played.
        if (std::uniform_int_distribution<int>(0, 3)(random) == 0) {
            runFor(std::uniform_int_distribution<int>(0, 6)(random));
            const int which = interruptions[std::uniform_int_distribution<int>(0, 5)(random)];
            // A new tree may reuse the old nodes' memory: its moves are not counted.
            if (which == IDM_NEW_GAME) userNode = nullptr;
            command(which);
        }
        ASSERT_TRUE(runUntilEngineIdle()) << "step " << steps << ": the engine never came back";
        settle();
        if (userNode && appState.currentNode->parent == userNode) ++engineMoves;
    }
    EXPECT_GE(engineMoves, wanted) << "in " << steps << " steps";
    std::printf("%d engine moves in %d steps\n", engineMoves, steps);
    ASSERT_TRUE(gameIsConsistent());
}
