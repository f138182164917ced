// The timed levels in the running program: a side whose time runs out loses the game,
// and the user's clock charges the time the user had to think, from the moment the user
// may move, and none of the time a dialog was open.
#include <QTimer>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/dialog_options.h"
#include "engine/clocks.h"
#include "link_fixture.h"
#include "pgn/pgn_game.h"
#include "platform/kernel/clock.h"
#include "platform/ui/propertysheet.h"

using namespace platform;

namespace {

using Lines = std::vector<std::string>;

class TimedLevelsTest : public EngineLinkTest {
protected:
    // Opens the Options sheet, chooses Blitz with the figures typed and closes it with OK.
    void chooseBlitz(const char* minutes, const char* increment) {
        whenDialogOpens([minutes, increment](Window* page) {
            chooseDlgListItem(page, IDC_LEVEL, LEVEL_ROW_BLITZ);
            typeDlgItemText(page, IDC_BLITZ_MINUTES, minutes);
            typeDlgItemText(page, IDC_BLITZ_INCREMENT, increment);
            pressPropertySheetButton(true);
        });
        command(IDM_OPTIONS);
    }
};

} // namespace

TEST_F(TimedLevelsTest, ABlitzOfNoTimeIsLostOnTime) {
    appState.autoAnswer = false;
    taps({"e2", "e4", "e7", "e5"});
    chooseBlitz("0", "0");
    ASSERT_EQ(appState.level.mode, LEVEL_BLITZ);
    EXPECT_TRUE(messages.empty()) << "no time runs out while the dialog is open";
    ASSERT_TRUE(runUntil([this] { return !messages.empty(); }));
    EXPECT_EQ(messages, (Lines{"White lost on time"}));
    EXPECT_STREQ(appState.currentNode->comment.c_str(), "White lost on time");
    EXPECT_STREQ(appState.game->result().c_str(), "0-1");

    // The game has ended once: the clock stands, and later ticks announce nothing more.
    runFor(700);
    EXPECT_EQ(messages.size(), 1u);
    const ClockReadings readings = clocks(appState.level, clockInputs());
    EXPECT_EQ(readings.white.first * 60 + readings.white.second, 0);
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"}));
}

TEST_F(TimedLevelsTest, AGameOverOnTheBoardIsNotLostOnTimeAfterwards) {
    appState.autoAnswer = false;
    startFrom("7k/5Q2/6K1/8/8/8/8/8 w - - 0 1");
    taps({"f7", "g7"});
    ASSERT_EQ(messages, (Lines{"Checkmate"}));
    appState.level.setBlitz(0, 0);
    runFor(700);
    EXPECT_EQ(messages, (Lines{"Checkmate"}));
    EXPECT_STREQ(appState.game->result().c_str(), "1-0");
    EXPECT_STREQ(appState.currentNode->comment.c_str(), "White mates");
}

TEST_F(TimedLevelsTest, AnEngineOutOfTimeIsStoppedAndLoses) {
    scriptedEngine().setScript("depth 3;pv 20 e7e5;wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    // The search goes on with Black's whole game of one second.
    appState.level.setBlitz(1, 0);
    ASSERT_TRUE(runUntil([this] { return !messages.empty(); }));
    EXPECT_EQ(messages, (Lines{"Black lost on time"}));
    EXPECT_TRUE(runUntilEngineIdle());
    EXPECT_GE(scriptedEngine().count("StopAnalyse"), 1);
    runFor(700);
    EXPECT_EQ(mainLine(), (Lines{"e4"})) << "the engine's move comes too late to be played";
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_STREQ(appState.currentNode->comment.c_str(), "Black lost on time");
    EXPECT_STREQ(appState.game->result().c_str(), "1-0");
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 1) << "no search after the end";
}

TEST_F(TimedLevelsTest, TheOptionsDialogsTimeIsNotCharged) {
    appState.autoAnswer = false;
    appState.level.setBlitz(600, 0);
    const uint32_t beforeNewGame = tickCount();
    command(IDM_NEW_GAME);
    const uint32_t afterNewGame = tickCount();
    runFor(500);
    // The sheet stays open for a second, timed by the program's own tick count.
    uint32_t opened = 0;
    uint32_t closed = 0;
    whenDialogOpens([&opened, &closed](Window*) {
        opened = tickCount();
        QTimer::singleShot(1000, [&closed] {
            closed = tickCount();
            pressPropertySheetButton(false);
        });
    });
    const uint32_t beforeOptions = tickCount();
    command(IDM_OPTIONS);
    ASSERT_NE(closed, 0u);
    ASSERT_GE(closed - opened, 1000u);
    taps({"e2", "e4"});
    const uint32_t afterMove = tickCount();
    ASSERT_EQ(mainLine(), (Lines{"e4"}));
    const uint32_t charged = uint32_t(appState.currentNode->thinkTime);
    EXPECT_LE(charged, (afterMove - beforeNewGame) - (closed - opened))
        << "the time the sheet was open is not the user's";
    EXPECT_GE(charged, beforeOptions - afterNewGame) << "the time before it is";
    EXPECT_EQ(appState.whiteUsedMs, uint64_t(charged));
}

TEST_F(TimedLevelsTest, TheUsersClockRunsFromEveryMomentTheUserMayMove) {
    appState.autoAnswer = false;
    // Each way of reaching a position where the user moves, then the move played there.
    struct Case {
        const char* what;
        std::vector<int> commands;
        std::vector<const char*> move;
    };
    const Case cases[] = {
        {"a new game", {IDM_NEW_GAME}, {"d2", "d4"}},
        {"a step back", {IDM_BACK}, {"g8", "f6"}},
        {"a step forward", {IDM_BACK, IDM_FORWARD}, {"d2", "d4"}},
        {"fast back", {IDM_FAST_BACK}, {"c2", "c4"}},
    };
    for (const Case& c : cases) {
        appState.newGame();
        taps({"e2", "e4", "e7", "e5"});
        for (int id : c.commands)
            command(id);
        const uint32_t mayMove = tickCount();
        runFor(300);
        const uint32_t beforeMove = tickCount();
        taps(c.move);
        ASSERT_EQ(appState.currentNode->move.to, at(c.move[1])) << c.what;
        EXPECT_GE(appState.currentNode->thinkTime, int64_t(beforeMove - mayMove)) << c.what;
    }

    // A game taken over, as at a restore.
    auto* game = new CPgnGame;
    game->setRoot(new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0));
    appState.setLoadedGame(game);
    const uint32_t mayMove = tickCount();
    runFor(300);
    const uint32_t beforeMove = tickCount();
    taps({"e2", "e4"});
    EXPECT_GE(appState.currentNode->thinkTime, int64_t(beforeMove - mayMove)) << "a restore";
}

TEST_F(TimedLevelsTest, ThePromotionDialogsTimeIsNotCharged) {
    appState.autoAnswer = false;
    const uint32_t beforeStart = tickCount();
    startFrom("8/P6k/8/8/8/8/8/K7 w - - 0 1");
    uint32_t opened = 0;
    uint32_t closed = 0;
    whenDialogOpens([&opened, &closed](Window* dialog) {
        opened = tickCount();
        QTimer::singleShot(700, [&closed, dialog] {
            closed = tickCount();
            sendMessage(dialog, WM_COMMAND, makeWParam(IDOK, 0), 0);
        });
    });
    taps({"a7", "a8"});
    const uint32_t afterMove = tickCount();
    ASSERT_NE(closed, 0u);
    ASSERT_EQ(appState.currentNode->move.to, at("a8"));
    EXPECT_EQ(appState.currentNode->move.piece, WHITE_QUEEN);
    EXPECT_LE(uint32_t(appState.currentNode->thinkTime),
              (afterMove - beforeStart) - (closed - opened));
}
