// The whole program with Tarnwick, the real engine: the user taps 1. e4 and the engine
// answers within its level; the answer enters the game with its thinking time, glides to
// its square with the arrow, and the clocks agree with the times recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_ids.h"
#include "engine/clocks.h"
#include "engine/engine_report.h"
#include "link_fixture.h"

namespace {

class TarnwickTest : public EngineLinkTest {
protected:
    TarnwickTest() : EngineLinkTest(TARNWICK_FOLDER) {}
};

uint64_t timeOfSide(const CMoveNode* node, bool white) {
    uint64_t total = 0;
    for (; node && node->parent; node = node->parent) {
        if (isWhitePiece(node->move.piece) == white) total += uint64_t(node->thinkTime);
    }
    return total;
}

} // namespace

TEST_F(TarnwickTest, TheEngineAnswersOneE4WithinItsLevel) {
    EXPECT_EQ(std::string(appState.engineName.c_str()).rfind("Tarnwick", 0), 0u);
    appState.highlightLastMove = true;
    appState.animationSpeed = 3;
    appState.level.setFixed(2, NO_TIME_LIMIT); // Beginner
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    ASSERT_TRUE(runUntilEngineIdle());
    settle();

    const CMoveNode* reply = appState.currentNode;
    ASSERT_EQ(reply->ply, 1);
    EXPECT_TRUE(isBlackPiece(reply->move.piece));
    EXPECT_EQ(appState.highlightedMove, reply->move) << "the engine's move carries the arrow";
    const EngineReport report = engineReport.snapshot();
    EXPECT_LE(report.pvDepth, 2) << "a search of two plies";
    EXPECT_EQ(std::string(report.pvSan).rfind("1.." + std::string(reply->moveText.c_str()), 0), 0u)
        << report.pvSan;
    EXPECT_EQ(uint64_t(reply->thinkTime), uint64_t(report.searchEndTick - report.searchStartTick));
    EXPECT_EQ(appState.blackUsedMs, timeOfSide(reply, false));
    EXPECT_EQ(appState.whiteUsedMs, timeOfSide(reply, true));
    EXPECT_EQ(appState.plyNumber, 3);

    // The clocks of a game in five minutes show what is left of each side's time.
    appState.level.setBlitz(300, 0);
    appState.humanClockStart = 0;
    const ClockReadings readings = clocks(appState.level, clockInputs());
    const int64_t whiteLeft = 300 - int64_t(appState.whiteUsedMs / 1000);
    const int64_t blackLeft = 300 - int64_t(appState.blackUsedMs / 1000);
    EXPECT_EQ(readings.white.first * 60 + readings.white.second, whiteLeft);
    EXPECT_EQ(readings.black.first * 60 + readings.black.second, blackLeft);
}

TEST_F(TarnwickTest, MateIsAnnouncedAfterTheEnginesMove) {
    startFrom("r5k1/5ppp/8/8/8/8/6PP/7K b - - 0 1");
    appState.level.setFixed(2, NO_TIME_LIMIT);
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([this] { return !mainLine().empty(); }));
    ASSERT_TRUE(runUntilEngineIdle());
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"Ra1#"}));
    EXPECT_EQ(appState.currentNode->comment, "Black mates");
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "Checkmate");
}
