// Whatever changes the position while a piece is held or a move glides, the board ends
// showing the game: the held piece goes back, the glide ends without its sound and arrow.
#include <QTest>
#include <vector>

#include "app/command_ids.h"
#include "board/geometry.h"
#include "link_fixture.h"
#include "platform/ui/menu.h"

using namespace platform;

namespace {

class BoardSettlesTest : public EngineLinkTest {
protected:
    void SetUp() override {
        EngineLinkTest::SetUp();
        appState.autoAnswer = false;
    }
    void hold(const char* square) {
        const Point from = squareCentre(at(square));
        press(from.x, from.y);
        moveTo(from.x + 7, from.y - 9);
    }
    void dropOn(const char* square) {
        const Point to = squareCentre(at(square));
        moveTo(to.x, to.y);
        release(to.x, to.y);
        settle();
    }
    static bool enabled(int command) {
        return buttonState(menuBarOf(shell.mainWindow), command) & TBSTATE_ENABLED;
    }
};

} // namespace

TEST_F(BoardSettlesTest, AKeyWhileAPieceIsHeldPutsItBack) {
    struct Case {
        const char* what;
        int key;
        int modifiers;
        size_t pliesAfter; // half-moves from the root to the node shown
    };
    const Case cases[] = {
        {"Down", Qt::Key_Down, 0, 0},
        {"Left", Qt::Key_Left, 0, 1},
        {"Up after Home", Qt::Key_Up, 0, 2},
        {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, 0},
    };
    for (const Case& c : cases) {
        appState.newGame();
        invalidateRect(window(), nullptr, false);
        taps({"e2", "e4", "e7", "e5"});
        if (c.key == Qt::Key_Up) key(Qt::Key_Home);
        hold("g1");
        key(c.key, c.modifiers);
        EXPECT_FALSE(appState.dragging) << c.what;
        dropOn("h3");
        EXPECT_EQ(appState.position->historyCount(), c.pliesAfter) << c.what;
        EXPECT_EQ(appState.selectedSquare, NO_MARK) << c.what << ": no frame from the drop";
        EXPECT_EQ(staleSquares(), "") << c.what;
    }
}

TEST_F(BoardSettlesTest, TheEnginesUnanimatedAnswerPutsAHeldPieceBack) {
    scriptedEngine().setScript("pv 10 g1f3");
    hold("e2");
    key(Qt::Key_Return); // Move now: the engine plays White's move
    ASSERT_TRUE(runUntilEngineIdle());
    settle();
    EXPECT_FALSE(appState.dragging);
    dropOn("e3");
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"Nf3"}));
    EXPECT_EQ(appState.selectedSquare, NO_MARK) << "no frame while Black is to move";
    EXPECT_EQ(appState.targetSquare, NO_MARK);
    EXPECT_EQ(staleSquares(), "");
}

TEST_F(BoardSettlesTest, FastBackWhileAMoveGlidesEndsTheGlideWithoutItsSoundAndArrow) {
    appState.animationSpeed = 1;
    appState.highlightLastMove = true;
    tap("e2");
    tap("e4");
    ASSERT_NE(appState.animation.load(), nullptr);
    sounds.clear();
    key(Qt::Key_Down);
    EXPECT_EQ(appState.animation.load(), nullptr);
    EXPECT_EQ(appState.currentNode, appState.game->root());
    EXPECT_TRUE(appState.highlightedMove == NO_MOVE) << "no arrow of the move taken back";
    EXPECT_TRUE(sounds.empty()) << sounds.front();
    EXPECT_EQ(staleSquares(), "");
}

TEST_F(BoardSettlesTest, HomeAndEndGoToTheStartAndTheEndOfTheMainLine) {
    taps({"e2", "e4", "e7", "e5", "g1", "f3", "b8", "c6"});
    appState.whiteUsedMs = appState.blackUsedMs = 0;
    key(Qt::Key_Home);
    EXPECT_EQ(appState.currentNode, appState.game->root());
    EXPECT_EQ(appState.plyNumber, 1);
    EXPECT_FALSE(enabled(IDM_BACK));
    EXPECT_TRUE(enabled(IDM_FORWARD));
    EXPECT_EQ(staleSquares(), "");
    EXPECT_TRUE(squareShows("e2", WHITE_PAWN));

    key(Qt::Key_Right);
    key(Qt::Key_End);
    EXPECT_EQ(appState.plyNumber, 5);
    EXPECT_EQ(appState.currentNode, appState.game->mainLineEnd());
    EXPECT_TRUE(enabled(IDM_BACK));
    EXPECT_FALSE(enabled(IDM_FORWARD));
    EXPECT_TRUE(squareShows("c6", BLACK_KNIGHT));
    EXPECT_EQ(staleSquares(), "");
    key(Qt::Key_End);
    EXPECT_EQ(appState.plyNumber, 5) << "at the end End does nothing";
}
