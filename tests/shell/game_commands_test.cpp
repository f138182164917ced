// New game, Flip, Back, Forward and the fast steps in the running program: the position,
// the clocks, the buttons and the status panel stay in step with the node shown.
#include <vector>

#include "app/command_ids.h"
#include "app/stored_state.h"
#include "board/play_move.h"
#include "engine/engine_report.h"
#include "engine/think_time.h"
#include "link_fixture.h"
#include "platform/ui/menu.h"
#include "platform/ui/owner.h"
#include "rules/notation.h"
#include "settings/autosave.h"
#include "settings/settings.h"

using namespace platform;

namespace {

class GameCommandsTest : public EngineLinkTest {
protected:
    void SetUp() override {
        EngineLinkTest::SetUp();
        appState.autoAnswer = false;
    }

    // Plays the SAN moves, each with the thinking time given.
    void play(const std::vector<const char*>& moves, uint64_t thinkTimeMs) {
        for (const char* text : moves) {
            const CMove move = parseSan(*appState.position, text);
            ASSERT_FALSE(move == NO_MOVE) << text;
            ASSERT_TRUE(playMove(move, thinkTimeMs, false, false)) << text;
        }
        settle();
    }
    static bool enabled(int command) {
        return buttonState(menuBarOf(shell.mainWindow), command) & TBSTATE_ENABLED;
    }
    static bool flipChecked() {
        return buttonState(menuBarOf(shell.mainWindow), IDM_FLIP_BOARD) & TBSTATE_CHECKED;
    }
    // What the clocks must hold: the thinking times from the root to the current node.
    static void expectClocksMatchPath() {
        uint64_t white = 0, black = 0;
        for (const CMoveNode* node = appState.currentNode; node->parent; node = node->parent)
            (isBlackPiece(node->move.piece) ? black : white) += uint64_t(node->thinkTime);
        EXPECT_EQ(appState.whiteUsedMs, white);
        EXPECT_EQ(appState.blackUsedMs, black);
        EXPECT_EQ(appState.position->historyCount() == 0, appState.currentNode->parent == nullptr);
    }
};

} // namespace

TEST_F(GameCommandsTest, BackFromTheFirstMoveShowsTheStart) {
    play({"e4"}, 1500);
    EXPECT_EQ(appState.whiteUsedMs, 1500u);
    command(IDM_BACK);
    EXPECT_EQ(appState.currentNode, appState.game->root());
    EXPECT_TRUE(appState.lastMove == NO_MOVE);
    EXPECT_TRUE(appState.showLevelLine);
    EXPECT_FALSE(enabled(IDM_BACK));
    EXPECT_TRUE(enabled(IDM_FORWARD));
    EXPECT_EQ(appState.whiteUsedMs, 0u);
    EXPECT_TRUE(squareShows("e2", WHITE_PAWN));
    EXPECT_TRUE(squareShows("e4", EMPTY));

    command(IDM_FORWARD);
    EXPECT_STREQ(appState.currentNode->moveText.c_str(), "e4");
    EXPECT_EQ(appState.whiteUsedMs, 1500u) << "the recorded thinking time comes back";
    EXPECT_FALSE(appState.showLevelLine);
    EXPECT_TRUE(enabled(IDM_BACK));
    EXPECT_FALSE(enabled(IDM_FORWARD));
    EXPECT_TRUE(squareShows("e4", WHITE_PAWN));
}

TEST_F(GameCommandsTest, FastStepsInAFiftyHalfMoveGame) {
    std::vector<const char*> knights;
    for (int round = 0; round < 12; ++round) {
        for (const char* move : {"Nf3", "Nf6", "Ng1", "Ng8"})
            knights.push_back(move);
    }
    knights.push_back("e4");
    knights.push_back("e5");
    play(knights, 0);
    // Times that differ per move show the clocks follow the path, not a count.
    int64_t time = 100;
    for (CMoveNode* node = appState.game->root(); node->hasChildren(); time += 10) {
        node = node->child(0);
        node->thinkTime = time;
    }
    appState.goToNode(appState.game->mainLineEnd());
    ASSERT_EQ(appState.plyNumber, 51);
    struct Step {
        int command;
        int ply;
        bool back;
        bool forward;
    } steps[] = {
        {IDM_FAST_BACK, 31, true, true},     {IDM_FAST_BACK, 11, true, true},
        {IDM_FAST_BACK, 1, false, true},     {IDM_FAST_BACK, 1, false, true},
        {IDM_FAST_FORWARD, 21, true, true},  {IDM_BACK, 20, true, true},
        {IDM_FORWARD, 21, true, true},       {IDM_FAST_FORWARD, 41, true, true},
        {IDM_FAST_FORWARD, 51, true, false}, {IDM_FORWARD, 51, true, false},
    };
    for (const Step& step : steps) {
        command(step.command);
        EXPECT_EQ(appState.plyNumber, step.ply) << step.command;
        EXPECT_EQ(enabled(IDM_BACK), step.back) << step.command << " at " << step.ply;
        EXPECT_EQ(enabled(IDM_FORWARD), step.forward) << step.command << " at " << step.ply;
        EXPECT_EQ(appState.showLevelLine, step.ply == 1);
        expectClocksMatchPath();
    }
    EXPECT_TRUE(squareShows("e5", BLACK_PAWN));
}

TEST_F(GameCommandsTest, NewGameAutosavesTheOldGameFirst) {
    play({"d4", "d5"}, 0);
    messageAnswer = IDCANCEL;
    command(IDM_NEW_GAME);
    EXPECT_EQ(mainLine().size(), 2u);
    messageAnswer = IDOK;
    command(IDM_NEW_GAME);
    EXPECT_TRUE(mainLine().empty());
    EXPECT_TRUE(appState.showLevelLine);
    EXPECT_FALSE(enabled(IDM_FORWARD));
    const std::unique_ptr<CGame> saved =
        readFromAutosaveRing(*appState.settings, autosaveFilePath());
    ASSERT_NE(saved, nullptr);
    ASSERT_TRUE(saved->root()->hasChildren());
    EXPECT_STREQ(saved->root()->child(0)->moveText.c_str(), "d4");
}

TEST_F(GameCommandsTest, FlipDuringAStepForwardsGlideIsRefused) {
    play({"e4"}, 0);
    command(IDM_BACK);
    appState.animationSpeed = 1;
    postMessage(window(), WM_COMMAND, makeWParam(IDM_FORWARD, 0), 0);
    ASSERT_TRUE(runUntil([] { return appState.animation.load() != nullptr; }, 5000));
    ASSERT_TRUE(pressMenuBarButton(menuBarOf(window()), IDM_FLIP_BOARD));
    processMessages(1);
    if (appState.animation.load()) {
        EXPECT_FALSE(appState.flipped);
        EXPECT_FALSE(flipChecked());
    }
    settle();
    EXPECT_EQ(flipChecked(), appState.flipped) << "the button matches the board";
    EXPECT_TRUE(squareShows("e4", WHITE_PAWN));
    const bool flipped = appState.flipped;
    command(IDM_FLIP_BOARD);
    EXPECT_NE(appState.flipped, flipped) << "once the glide is over Flip turns the board";
    EXPECT_EQ(flipChecked(), appState.flipped);
}

TEST_F(GameCommandsTest, SteppingStopsTheSearchAndDropsItsMove) {
    play({"e4", "e5"}, 0);
    for (int step : {IDM_BACK, IDM_FORWARD, IDM_FAST_BACK, IDM_FAST_FORWARD}) {
        scriptedEngine().setScript("depth 3;pv 20 b1c3;wait");
        command(IDM_MOVE_NOW);
        ASSERT_TRUE(runUntil([] { return engineBusy(); })) << step;
        const int ply = appState.plyNumber;
        command(step);
        EXPECT_FALSE(engineBusy()) << step;
        runFor(100);
        EXPECT_NE(appState.plyNumber, ply) << step;
        EXPECT_LE(mainLine().size(), 2u) << "the engine's move is not played after " << step;
        EXPECT_EQ(engineReport.snapshot().depth, 0) << step;
        EXPECT_TRUE(userClockCounts(appState.humanClockStart))
            << "the user may move from the step on: " << step;
    }
}
