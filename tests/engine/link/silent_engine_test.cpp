// An engine that does not answer, and a game saved while the engine thought, in the whole
// program: the window never waits for the engine for good, and the engine's move is never
// lost to an exit.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/startup.h"
#include "app/stored_state.h"
#include "engine/engine_report.h"
#include "link_fixture.h"
#include "platform/kernel/paths.h"
#include "platform/ui/window.h"
#include "settings/autosave.h"

using namespace platform;

namespace {

using Lines = std::vector<std::string>;

const char NO_ANSWER_TEXT[] = "The engine does not answer";

class SilentEngineTest : public EngineLinkTest {
protected:
    // Without an engine the user plays both sides, and each move the engine would answer
    // says again that it does not; Hint says so too, without a box. Exit then ends the
    // program and keeps the game.
    void expectProgramGoesOnWithoutEngine() {
        EXPECT_FALSE(engineBusy());
        taps({"e7", "e5"});
        taps({"g1", "f3"});
        EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3"}));
        EXPECT_TRUE(runUntilPanelSays(NO_ANSWER_TEXT));
        command(IDM_HINT);
        EXPECT_FALSE(hintUnderway());
        EXPECT_TRUE(runUntilPanelSays(NO_ANSWER_TEXT));
        EXPECT_TRUE(messages.empty());

        const int searches = scriptedEngine().count("StartAnalyse");
        command(IDM_EXIT);
        EXPECT_EQ(findWindow("Tallowmere Chess"), nullptr) << "Exit ends the program";
        EXPECT_EQ(scriptedEngine().count("StartAnalyse"), searches) << "nothing more is asked";
        std::unique_ptr<CGame> saved = readFromAutosaveRing(*appState.settings, autosaveFilePath());
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->mainLineEnd()->moveText, "Nf3");
    }
};

} // namespace

TEST_F(SilentEngineTest, ASearchThatIgnoresStopIsGivenUpAndTheProgramGoesOn) {
    scriptedEngine().setFaults(ScriptedEngine::deafToStop);
    scriptedEngine().setScript("pv 10 e7e5; wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    EXPECT_TRUE(engineBusy());
    command(IDM_MOVE_NOW); // returns once the engine is given up
    EXPECT_GE(scriptedEngine().count("StopAnalyse"), 1);
    EXPECT_NE(scriptedEngine().calls().back(), "AnalyseEnded") << "the engine still searches";
    EXPECT_EQ(engineNote(), EngineNote::noAnswer);
    EXPECT_FALSE(engineReport.snapshot().busy) << "the panel does not show it thinking";
    EXPECT_TRUE(runUntilPanelSays(NO_ANSWER_TEXT));
    runFor(100);
    EXPECT_EQ(mainLine(), (Lines{"e4"})) << "its best move so far is not played";
    expectProgramGoesOnWithoutEngine();
}

TEST_F(SilentEngineTest, AnEngineThatDoesNotStartIsGivenUpAndTheProgramGoesOn) {
    sendMessage(window(), WM_CLOSE, 0, 0);
    exitInstance(0);
    scriptedEngine().setFaults(ScriptedEngine::hangInStart);
    scriptedEngine().clearCalls();
    appState.newGame();
    ASSERT_NE(initInstance(), nullptr) << "start-up goes on without the engine";
    EXPECT_EQ(scriptedEngine().calls(), (Lines{"StartEngine 512"}));
    EXPECT_EQ(engineNote(), EngineNote::noAnswer);
    EXPECT_TRUE(runUntilPanelSays(NO_ANSWER_TEXT));
    taps({"e2", "e4"});
    EXPECT_EQ(scriptedEngine().count("SetPosition"), 0);
    expectProgramGoesOnWithoutEngine();
}

TEST_F(SilentEngineTest, ExitWhileTheEngineIgnoresStopEndsTheProgram) {
    scriptedEngine().setFaults(ScriptedEngine::deafToStop);
    scriptedEngine().setScript("wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    command(IDM_EXIT);
    EXPECT_EQ(findWindow("Tallowmere Chess"), nullptr);
    EXPECT_EQ(reapAbandonedEngines(), 1) << "its thread is left behind, still in the engine";
}

TEST_F(SilentEngineTest, AGameSavedWhileTheEngineThoughtHasItThinkAgainAtTheNextStart) {
    scriptedEngine().setScript("pv 10 e7e5; wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    command(IDM_EXIT);
    exitInstance(0);

    scriptedEngine().setScript("pv 10 c7c5");
    appState.newGame();
    ASSERT_NE(initInstance(), nullptr);
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    EXPECT_EQ(mainLine(), (Lines{"e4", "c5"})) << "the engine took up its move";
    ASSERT_TRUE(runUntilEngineIdle());
    EXPECT_EQ(appState.game->black(), "Tallowmere Chess") << "the engine is named for its side";

    // Saved with the user to move: the next start waits for the user.
    command(IDM_EXIT);
    exitInstance(0);
    const int searches = scriptedEngine().count("StartAnalyse");
    appState.newGame();
    ASSERT_NE(initInstance(), nullptr);
    runFor(200);
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), searches);
    EXPECT_EQ(mainLine(), (Lines{"e4", "c5"}));
}
