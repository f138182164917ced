// The whole program playing against an external UCI engine through the bridge module: the
// scripted UCI engine of the bridge's tests (it plays the first legal move in move text
// order) and, when installed, stockfish. Engines that do not start or fail in a game give
// a message, and Tarnwick plays instead.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/engine_choice.h"
#include "engine/engine_report.h"
#include "link_fixture.h"

namespace {

std::string scriptedCommand(const char* mode) {
    return std::string("'") + SCRIPTED_UCI_PATH + "' " + mode;
}

class UciEngineTest : public EngineLinkTest {
protected:
    explicit UciEngineTest(const char* mode = "normal")
        : EngineLinkTest(TARNWICK_FOLDER), m_command(scriptedCommand(mode)) {}
    void SetUp() override {
        setEngineCommandForRun(m_command);
        EngineLinkTest::SetUp();
    }
    void TearDown() override {
        EngineLinkTest::TearDown();
        setEngineCommandForRun(std::nullopt);
    }
    bool isTarnwick() const {
        return std::string(appState.engineName.c_str()).rfind("Tarnwick", 0) == 0;
    }

    std::string m_command;
};

class FailingUciEngineTest : public UciEngineTest {
protected:
    FailingUciEngineTest() : UciEngineTest("crash") {}
};

} // namespace

TEST_F(UciEngineTest, FiveMovesAgainstTheEngineWithItsNameAndLine) {
    EXPECT_STREQ(appState.engineName.c_str(), "Scripted UCI 1.0");
    EXPECT_TRUE(messages.empty());
    // The user's moves, and the answers the scripted engine is bound to give.
    const std::vector<std::pair<std::vector<const char*>, const char*>> GAME = {
        {{"e2", "e4"}, "a5"},   {{"d2", "d4"}, "a4"},   {{"g1", "f3"}, "a3"},
        {{"f1", "c4"}, "axb2"}, {{"c1", "b2"}, "Rxa2"},
    };
    size_t plies = 0;
    for (const auto& [user, answer] : GAME) {
        taps(user);
        plies += 2;
        ASSERT_TRUE(runUntil([&] { return mainLine().size() == plies; })) << answer;
        ASSERT_TRUE(runUntilEngineIdle());
        settle();
        EXPECT_EQ(mainLine().back(), answer);
    }
    // The engine's own line, read as the program's: the last answer in SAN.
    const EngineReport report = engineReport.snapshot();
    EXPECT_STREQ(report.pvSan, "5..Rxa2");
    EXPECT_TRUE(messages.empty());
}

TEST_F(UciEngineTest, ChoosingAnEngineTakesEffectAtOnceAndIsStored) {
    chooseEngine("");
    EXPECT_TRUE(isTarnwick()) << appState.engineName.c_str();
    EXPECT_EQ(storedEngineCommand(), "");
    chooseEngine(scriptedCommand("noid"));
    EXPECT_STREQ(appState.engineName.c_str(), "scripted_uci");
    EXPECT_EQ(storedEngineCommand(), scriptedCommand("noid"));
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([&] { return mainLine().size() == 2; }));
    EXPECT_EQ(mainLine().back(), "a5");
    // A choice that does not start is said so, and Tarnwick plays.
    ASSERT_TRUE(runUntilEngineIdle());
    chooseEngine("/nonexistent/engine --uci");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/nonexistent/engine --uci"), std::string::npos) << messages[0];
    EXPECT_TRUE(isTarnwick()) << appState.engineName.c_str();
    EXPECT_EQ(storedEngineCommand(), "/nonexistent/engine --uci") << "the user's choice stays";
    taps({"d2", "d4"});
    ASSERT_TRUE(runUntil([&] { return mainLine().size() == 4; }));
}

TEST_F(FailingUciEngineTest, AnEngineThatDiesInAGameIsReplacedByTarnwick) {
    EXPECT_STREQ(appState.engineName.c_str(), "Scripted UCI 1.0");
    appState.level.setFixed(1, NO_TIME_LIMIT);
    taps({"e2", "e4"});
    // Tarnwick makes the move the dead engine did not.
    ASSERT_TRUE(runUntil([&] { return mainLine().size() == 2; }));
    ASSERT_TRUE(runUntilEngineIdle());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("stopped working"), std::string::npos) << messages[0];
    EXPECT_TRUE(isTarnwick()) << appState.engineName.c_str();
}

TEST_F(UciEngineTest, StockfishPlaysAGameOfTenPlies) {
    if (access("/usr/games/stockfish", X_OK) != 0) GTEST_SKIP() << "stockfish is not installed";
    chooseEngine("/usr/games/stockfish");
    EXPECT_EQ(std::string(appState.engineName.c_str()).rfind("Stockfish", 0), 0u)
        << appState.engineName.c_str();
    appState.level.setFixed(4, NO_TIME_LIMIT);
    // The engine plays both sides, one Move now at a time.
    appState.autoAnswer = false;
    for (size_t plies = 1; plies <= 10; ++plies) {
        command(IDM_MOVE_NOW);
        ASSERT_TRUE(runUntil([&] { return mainLine().size() == plies; })) << plies;
        ASSERT_TRUE(runUntilEngineIdle());
        settle();
    }
    EXPECT_TRUE(messages.empty());
}
