// The status panel in the running program: what it says after a new game, during a
// search, after a move, with the players named, and its clocks; the texts through the
// panel's hook, and pixels to show they are drawn.
#include <vector>

#include "app/command_ids.h"
#include "app/status_panel.h"
#include "engine/engine_report.h"
#include "link_fixture.h"

using namespace platform;

namespace {

class StatusPanelTest : public EngineLinkTest {
protected:
    void SetUp() override {
        EngineLinkTest::SetUp();
        appState.autoAnswer = false;
        setStatusPanelHook([this](const StatusPanelTexts& texts) { painted.push_back(texts); });
    }
    void TearDown() override {
        setStatusPanelHook({});
        EngineLinkTest::TearDown();
    }

    // Paints the panel now and gives what it said.
    StatusPanelTexts paintNow() {
        invalidateRect(window(), &appState.statusRect, false);
        updateWindow(window());
        EXPECT_FALSE(painted.empty());
        return painted.empty() ? StatusPanelTexts{} : painted.back();
    }
    // Dark pixels in the panel between x0 and x1 on line 1 (0) or line 2 (1).
    int inkIn(int line, int x0, int x1) const {
        const QImage image = shown();
        int ink = 0;
        for (int y = 240 + 14 * line; y < 240 + 14 * (line + 1) && y < 268; ++y) {
            for (int x = x0; x < x1; ++x)
                ink += qGray(image.pixel(x, y)) < 128;
        }
        return ink;
    }

    std::vector<StatusPanelTexts> painted;
};

} // namespace

TEST_F(StatusPanelTest, ANewGameShowsTheLevelAndTheClocks) {
    taps({"e2", "e4"});
    command(IDM_NEW_GAME);
    // The user's clock stands, so that the reading does not hang on the machine's speed.
    appState.humanClockStart = 0;
    const StatusPanelTexts texts = paintNow();
    EXPECT_STREQ(texts.first.c_str(), "Level Novice");
    EXPECT_STREQ(texts.second.c_str(), " ");
    EXPECT_STREQ(texts.clocks.c_str(), "00:00 00:00");
    EXPECT_GT(inkIn(0, 0, 100), 20) << "the level is drawn at the left";
    EXPECT_GT(inkIn(0, 160, 240), 20) << "the clocks at the right";
    EXPECT_EQ(inkIn(1, 0, 240), 0) << "line 2 is blank";
}

TEST_F(StatusPanelTest, TheLastMoveReadsInCoordinatesOrInSan) {
    appState.showThinking = false;
    taps({"e2", "e4"});
    EXPECT_STREQ(paintNow().first.c_str(), "Last move 1. e2e4");
    appState.showThinking = true;
    EXPECT_STREQ(paintNow().first.c_str(), "Last move 1. e4");
    taps({"e7", "e5"});
    EXPECT_STREQ(paintNow().first.c_str(), "Last move 1... e5");
    appState.showThinking = false;
    EXPECT_STREQ(paintNow().first.c_str(), "Last move 1... e7e5");
}

TEST_F(StatusPanelTest, TheEnginesSearchOrThinking) {
    scriptedEngine().setScript("depth 5;current g1f3 7 31;pv 35 g1f3 b8c6 f1c4 g8f6 d2d3;wait");
    taps({"e2", "e4", "e7", "e5"});
    appState.showThinking = true;
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil(
        [this] { return std::string(paintNow().second.c_str()).rfind("Score=", 0) == 0; }));
    StatusPanelTexts texts = paintNow();
    EXPECT_STREQ(texts.first.c_str(), "Depth=5   2. Nf3(7/31)");
    EXPECT_EQ(std::string(texts.second.c_str()).substr(0, 36),
              "Score=+0.35, PV=2.Nf3 Nc6 3.Bc4 Nf6 ")
        << engineReport.snapshot().pvSan;
    EXPECT_GT(inkIn(1, 0, 200), 20);
    appState.showThinking = false;
    texts = paintNow();
    EXPECT_STREQ(texts.first.c_str(), "Thinking...");
    EXPECT_STREQ(texts.second.c_str(), " ");
    appState.autoMove = false;
    stopSearch();
}

TEST_F(StatusPanelTest, PlayersAndResultOnTheSecondLine) {
    appState.game->setTag("White", "Ann");
    appState.game->setTag("Black", "Bob");
    appState.game->setTag("Result", "*");
    EXPECT_STREQ(paintNow().second.c_str(), "Ann - Bob, *");
    EXPECT_GT(inkIn(1, 0, 100), 20);
    appState.game->setTag("Black", "");
    EXPECT_STREQ(paintNow().second.c_str(), " ");
}

TEST_F(StatusPanelTest, FlippedTheLeftClockIsBlacks) {
    appState.level.setBlitz(300, 0);
    appState.whiteUsedMs = 10000;
    appState.humanClockStart = 0;
    EXPECT_STREQ(paintNow().clocks.c_str(), "04:50 05:00");
    command(IDM_FLIP_BOARD);
    EXPECT_STREQ(paintNow().clocks.c_str(), "05:00 04:50");
}

TEST_F(StatusPanelTest, TheTimerRedrawsThePanel) {
    painted.clear();
    // Four times a second; a loaded machine may run the timer late, never not at all.
    ASSERT_TRUE(runUntil([this] { return painted.size() >= 3; }));
}
