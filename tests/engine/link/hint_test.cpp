// The hint in the whole program while its search runs: the window goes on, the board takes
// the user's taps, and Escape, a second Hint or the user's own move ends it unshown.
#include <gtest/gtest.h>

#include <QTimer>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "engine/engine_report.h"
#include "link_fixture.h"

using namespace platform;

namespace {

using Lines = std::vector<std::string>;

const char SEARCHING[] = "Searching for hint move...";

class HintTest : public EngineLinkTest {
protected:
    // The hint's search runs until it is stopped; its best move so far is e2e4.
    void startEndlessHint() {
        scriptedEngine().setScript("depth 2; pv 30 e2e4; wait");
        const int searches = scriptedEngine().count("StartAnalyse");
        command(IDM_HINT);
        ASSERT_TRUE(hintUnderway()) << "the command returns while the hint searches";
        ASSERT_TRUE(runUntilSearching(searches + 1));
    }
    // Nothing of the hint is left: no search, no animation, no box, no line.
    void expectHintGone() {
        ASSERT_TRUE(runUntil([] { return !engineBusy() && !hintUnderway(); }));
        runFor(100);
        EXPECT_EQ(appState.animation.load(), nullptr) << "the hint is not shown";
        EXPECT_FALSE(appState.hintRunning.load());
        EXPECT_TRUE(messages.empty());
        EXPECT_FALSE(engineReport.snapshot().busy);
        EXPECT_STREQ(engineReport.snapshot().pvText, "") << "its line is not kept";
        EXPECT_TRUE(runUntilPanelSays("Level Novice"));
    }
};

} // namespace

TEST_F(HintTest, TheWindowGoesOnWhileTheHintSearchesAndEscapeEndsIt) {
    startEndlessHint();
    bool timerRan = false;
    bool underwayThen = false;
    QTimer::singleShot(20, [&] {
        timerRan = true;
        underwayThen = hintUnderway();
    });
    ASSERT_TRUE(runUntil([&] { return timerRan; }));
    EXPECT_TRUE(underwayThen) << "a timer is handled while the hint searches";
    EXPECT_TRUE(runUntilPanelSays(SEARCHING));
    tap("g1");
    EXPECT_EQ(appState.selectedSquare, at("g1")) << "the board takes taps meanwhile";
    tap("g1");

    command(IDM_CANCEL);
    EXPECT_FALSE(hintUnderway());
    EXPECT_GE(scriptedEngine().count("StopAnalyse"), 1);
    EXPECT_EQ(scriptedEngine().calls().back(), "AnalyseEnded") << "stopped before Escape returns";
    expectHintGone();
    EXPECT_TRUE(mainLine().empty());

    command(IDM_CANCEL);
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 1) << "Escape without a hint does nothing";
}

TEST_F(HintTest, ASecondHintEndsTheFirst) {
    startEndlessHint();
    command(IDM_HINT);
    EXPECT_FALSE(hintUnderway());
    expectHintGone();
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 1) << "no second search";

    // The next Hint is a hint again: shown with the move's sound, no box.
    scriptedEngine().setScript("pv 30 d2d4");
    const size_t soundsBefore = sounds.size();
    command(IDM_HINT);
    ASSERT_TRUE(runUntil([] { return !hintUnderway(); }));
    settle();
    EXPECT_TRUE(messages.empty());
    EXPECT_GT(sounds.size(), soundsBefore);
    EXPECT_TRUE(mainLine().empty());
}

TEST_F(HintTest, TheUsersMoveEndsTheHintAndTheEngineAnswersIt) {
    startEndlessHint();
    scriptedEngine().setScript("pv 0 e7e5");
    taps({"d2", "d4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    EXPECT_EQ(mainLine(), (Lines{"d4", "e5"})) << "the hint's e4 is never played";
    EXPECT_FALSE(hintUnderway());
    ASSERT_TRUE(runUntilEngineIdle());
    settle();
    EXPECT_TRUE(messages.empty());
}

TEST_F(HintTest, MoveNowWhileTheHintSearchesMakesTheEnginePlay) {
    startEndlessHint();
    scriptedEngine().setScript("pv 0 d2d4");
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 1; }));
    EXPECT_EQ(mainLine(), (Lines{"d4"}));
    EXPECT_FALSE(hintUnderway());
}

TEST_F(HintTest, NavigationWhileTheHintSearchesDropsIt) {
    appState.autoAnswer = false;
    taps({"e2", "e4"});
    startEndlessHint();
    command(IDM_BACK);
    expectHintGone();
    EXPECT_EQ(appState.currentNode, appState.game->root());
}
