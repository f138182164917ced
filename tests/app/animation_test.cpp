// Moves gliding across the board: frames per speed, what is redrawn when a move
// is taken back, the arrow, and pointer input while a move glides.
#include "program.h"

#include "app/command_ids.h"
#include "board/animation.h"
#include "board/geometry.h"
#include "board/play_move.h"
#include "platform/ui/menu.h"

using namespace platform;

namespace {

constexpr Color ARROW_YELLOW = rgb(250, 250, 80);

// Drives the running animation by hand, one timer tick at a time: the frames it takes.
int framesToTheEnd(Window* window) {
    int frames = 0;
    while (appState.animation.load() && frames < 1000) {
        animationStep(window);
        ++frames;
    }
    return frames;
}

} // namespace

TEST_F(ProgramTest, FramesPerMoveBySpeed) {
    struct Case {
        int speed;
        const char* from;
        const char* to;
        int frames;
    };
    const Case cases[] = {
        {2, "e2", "e3", 22}, {1, "e2", "e3", 30}, {3, "e2", "e3", 10},
        {9, "g1", "f3", 29}, {2, "g1", "f3", 43}, {1, "b1", "c3", 58},
    };
    for (const Case& c : cases) {
        appState.newGame();
        appState.animationSpeed = c.speed;
        tap(c.from);
        tap(c.to);
        ASSERT_NE(appState.animation.load(), nullptr) << c.from << c.to;
        EXPECT_EQ(appState.animation.load()->steps, c.frames) << c.speed << " " << c.from << c.to;
        EXPECT_EQ(framesToTheEnd(window()), c.frames) << c.speed << " " << c.from << c.to;
        settle();
        EXPECT_TRUE(squareShows(c.to, appState.position->at(at(c.to))));
        EXPECT_TRUE(squareShows(c.from, EMPTY));
    }
}

TEST_F(ProgramTest, AnimationWithTheTimerEndsOnTheDestination) {
    appState.animationSpeed = 3;
    tap("d2");
    tap("d4");
    int ticks = 0;
    while (appState.animation.load() && ticks < 2000) {
        processMessages(1);
        ++ticks;
    }
    EXPECT_EQ(appState.animation.load(), nullptr);
    EXPECT_FALSE(appState.dragging);
    settle();
    EXPECT_TRUE(squareShows("d4", WHITE_PAWN));
    EXPECT_TRUE(squareShows("d2", EMPTY));
}

TEST_F(ProgramTest, TakingBackCastlingAndEnPassantRedrawsTheOtherSquares) {
    struct Case {
        std::vector<const char*> taps;
        std::vector<std::pair<const char*, Piece>> after; // squares as shown after one Back
    };
    const Case cases[] = {
        {{"e2", "e4", "e7", "e5", "g1", "f3", "b8", "c6", "f1", "c4", "f8", "c5", "e1", "g1"},
         {{"e1", WHITE_KING}, {"f1", EMPTY}, {"g1", EMPTY}, {"h1", WHITE_ROOK}}},
        {{"e2", "e4", "a7", "a6", "e4", "e5", "d7", "d5", "e5", "d6"},
         {{"d6", EMPTY}, {"e5", WHITE_PAWN}, {"d5", BLACK_PAWN}}},
        {{"e2", "e4", "g8", "f6", "d2", "d4", "e7", "e6", "c1", "g5", "f8", "e7", "b1", "c3", "e8",
          "g8"},
         {{"e8", BLACK_KING}, {"f8", EMPTY}, {"g8", EMPTY}, {"h8", BLACK_ROOK}}},
    };
    for (const Case& c : cases) {
        appState.newGame();
        appState.animationSpeed = 0;
        invalidateRect(window(), nullptr, false);
        taps(c.taps);
        ASSERT_EQ(mainLine().size(), c.taps.size() / 2);
        appState.animationSpeed = 2;
        command(IDM_BACK);
        settle();
        for (const auto& [square, piece] : c.after) {
            EXPECT_TRUE(squareShows(square, piece))
                << mainLine().back() << " taken back: " << square;
        }
    }
}

TEST_F(ProgramTest, PromotionGlidesAsAPawnAndEndsAsTheNewPiece) {
    startFrom("7k/1P6/8/8/8/8/8/K7 w - - 0 1");
    appState.animationSpeed = 1;
    whenDialogOpens(
        [](Window* dialog) { sendMessage(dialog, WM_COMMAND, makeWParam(IDOK, 0), 0); });
    tap("b7");
    tap("b8");
    ASSERT_NE(appState.animation.load(), nullptr);
    EXPECT_EQ(appState.animation.load()->piece, WHITE_PAWN);
    framesToTheEnd(window());
    settle();
    EXPECT_TRUE(squareShows("b8", WHITE_QUEEN));
}

TEST_F(ProgramTest, ArrowMarksHighlightedMovesOnlyWithTheOption) {
    struct Case {
        bool option;
        int speed;
    };
    for (const Case c : {Case{true, 0}, Case{true, 3}, Case{false, 0}}) {
        appState.newGame();
        appState.highlightLastMove = c.option;
        appState.animationSpeed = c.speed;
        invalidateRect(window(), nullptr, false);
        settle();
        // As the engine's moves are played: animated and highlighted.
        playMove(CMove(at("e2"), WHITE_PAWN, at("e4"), EMPTY), 0, true, true);
        settle();
        const Color shaft = windowPixel(window(), 135, 170);
        EXPECT_EQ(shaft == ARROW_YELLOW, c.option) << c.option << " " << c.speed;
        EXPECT_EQ(appState.highlightedMove == NO_MOVE, !c.option);
        // The next move takes the arrow away.
        tap("e7");
        tap("e5");
        settle();
        EXPECT_EQ(appState.highlightedMove, NO_MOVE);
        EXPECT_NE(windowPixel(window(), 135, 170), ARROW_YELLOW);
        EXPECT_TRUE(squareShows("e3", EMPTY));
    }
}

TEST_F(ProgramTest, PointerDuringAnAnimationEndsItFirst) {
    appState.animationSpeed = 1;
    tap("e2");
    tap("e4");
    ASSERT_NE(appState.animation.load(), nullptr);
    tap("e7"); // while e4 glides
    EXPECT_EQ(appState.animation.load(), nullptr);
    settle();
    EXPECT_TRUE(squareShows("e4", WHITE_PAWN));
    EXPECT_EQ(appState.selectedSquare, at("e7"));
    tap("e5");
    framesToTheEnd(window());
    settle();
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4", "e5"}));
}

TEST_F(ProgramTest, FlipIsRefusedWhileAMoveGlides) {
    appState.animationSpeed = 1;
    tap("e2");
    tap("e4");
    ASSERT_NE(appState.animation.load(), nullptr);
    ASSERT_TRUE(pressMenuBarButton(menuBarOf(window()), IDM_FLIP_BOARD));
    processMessages(1);
    if (appState.animation.load()) {
        EXPECT_FALSE(appState.flipped);
        EXPECT_EQ(buttonState(menuBarOf(window()), IDM_FLIP_BOARD) & TBSTATE_CHECKED, 0);
    }
    settle();
    EXPECT_TRUE(squareShows("e4", WHITE_PAWN));
}
