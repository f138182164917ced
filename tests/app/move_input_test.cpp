// Moves entered on the board by tapping and dragging, as a user enters them.
#include "program.h"

#include "board/geometry.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

using namespace platform;

namespace {

constexpr Color RED = rgb(255, 0, 0);

std::string squareName(Square square) {
    if (square == NO_MARK) return "-";
    char text[3];
    squareText(square, text);
    return text;
}

} // namespace

TEST_F(ProgramTest, TapE2ThenE4PlaysTheMoveAnimatedWithItsSound) {
    appState.animationSpeed = 2;
    tap("e2");
    settle();
    EXPECT_EQ(appState.selectedSquare, at("e2"));
    const platform::Rect e2 = squareRect(at("e2"));
    EXPECT_EQ(windowPixel(window(), e2.left, e2.top + 10), RED) << "e2 framed";

    tap("e4");
    EXPECT_NE(appState.animation.load(), nullptr) << "the move glides";
    EXPECT_TRUE(sounds.empty()) << "the sound comes at the end";
    settle();
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4"}));
    EXPECT_EQ(appState.position->at(at("e4")), WHITE_PAWN);
    EXPECT_TRUE(squareShows("e2", EMPTY));
    EXPECT_TRUE(squareShows("e4", WHITE_PAWN));
    EXPECT_EQ(appState.selectedSquare, NO_MARK);
    EXPECT_EQ(appState.plyNumber, 2);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0], std::string(shell.exeDirectory.c_str()) + "move1.wav");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramTest, MarksFollowTheTaps) {
    struct Case {
        std::vector<const char*> taps;
        std::string selected, target;
        std::vector<std::string> played;
    };
    const Case cases[] = {
        {{"e2"}, "e2", "-", {}},
        {{"e2", "e2"}, "-", "-", {}}, // a marked square tapped again loses its mark
        {{"e4"}, "-", "e4", {}},      // some piece can reach e4
        {{"e4", "e4"}, "-", "-", {}},
        {{"e4", "e2"}, "-", "-", {"e4"}}, // target first, then the source
        {{"e2", "e5"}, "e2", "-", {}},    // nothing reaches e5: only e2 stays
        {{"e2", "f3"}, "-", "-", {}},     // only other pieces reach f3
        {{"e2", "d2"}, "d2", "-", {}},    // another source replaces the first
        {{"a1"}, "-", "-", {}},           // a piece without a move
        {{"e7"}, "-", "-", {}},           // the other side's piece, out of reach
        {{"f3", "g1"}, "-", "-", {"Nf3"}},
        {{"g1", "h3"}, "-", "-", {"Nh3"}},
        {{"e2", "e4", "e7", "e5"}, "-", "-", {"e4", "e5"}},
    };
    for (const Case& c : cases) {
        appState.newGame();
        invalidateRect(window(), nullptr, false);
        for (const char* square : c.taps) {
            tap(square);
            settle();
        }
        std::string taps;
        for (const char* square : c.taps)
            taps += std::string(square) + " ";
        EXPECT_EQ(squareName(appState.selectedSquare), c.selected) << taps;
        EXPECT_EQ(squareName(appState.targetSquare), c.target) << taps;
        EXPECT_EQ(mainLine(), c.played) << taps;
    }
    EXPECT_TRUE(sounds.size() >= 4u) << "every move played sounds";
    for (const std::string& sound : sounds)
        EXPECT_NE(sound, "Default") << "an illegal tap is silent";
}

TEST_F(ProgramTest, DragAKnightPlaysItWithoutAnimation) {
    appState.animationSpeed = 2;
    drag("g1", "f3");
    EXPECT_EQ(appState.animation.load(), nullptr) << "a dragged move is not animated";
    EXPECT_FALSE(appState.dragging);
    settle();
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"Nf3"}));
    EXPECT_TRUE(squareShows("g1", EMPTY));
    EXPECT_TRUE(squareShows("f3", WHITE_KNIGHT));
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(ProgramTest, DraggedPieceFollowsThePointerAndLeavesItsSquareEmpty) {
    const Point start = squareCentre(at("g1"));
    press(start.x, start.y);
    EXPECT_TRUE(squareShows("g1", WHITE_KNIGHT)) << "nothing changes until the pointer moves";
    moveTo(135, 120); // over e4 and e5
    EXPECT_TRUE(squareShows("g1", EMPTY));
    // The knight's image centred on the pointer, on e4/e5's pixels.
    int changed = 0;
    const QImage now = shown();
    for (int y = 105; y < 135; ++y)
        for (int x = 120; x < 150; ++x)
            changed += now.pixel(x, y) != now.pixel(x + 60, y);
    EXPECT_GT(changed, 100);
    release(15, 120); // an empty square no knight reaches: a8-file, rank 4
    settle();
    EXPECT_TRUE(squareShows("g1", WHITE_KNIGHT)) << "the piece returns";
    EXPECT_TRUE(squareShows("e4", EMPTY));
    EXPECT_TRUE(squareShows("e5", EMPTY));
    EXPECT_TRUE(mainLine().empty());
}

TEST_F(ProgramTest, IllegalDragsReturnThePieceWithTheDefaultSound) {
    struct Case {
        const char* from;
        const char* to;
        std::string target; // the mark left behind
    };
    const Case cases[] = {
        {"g1", "g3", "-"},  // an empty square the knight cannot reach
        {"g1", "e2", "e2"}, // an own pawn that can move stays marked as the target
        {"e2", "e5", "-"},
    };
    for (const Case& c : cases) {
        appState.newGame();
        sounds.clear();
        drag(c.from, c.to);
        settle();
        EXPECT_TRUE(mainLine().empty()) << c.from << c.to;
        EXPECT_EQ(sounds, (std::vector<std::string>{"Default"})) << c.from << c.to;
        EXPECT_EQ(squareName(appState.targetSquare), c.target) << c.from << c.to;
        EXPECT_EQ(squareName(appState.selectedSquare), "-") << c.from << c.to;
        EXPECT_TRUE(squareShows(c.from, appState.position->at(at(c.from)))) << c.from << c.to;
    }
    // With the sound option off nothing is asked for.
    appState.sound = false;
    sounds.clear();
    drag("g1", "g3");
    settle();
    EXPECT_TRUE(sounds.empty());
}

TEST_F(ProgramTest, DragOffTheBoardClearsTheMarks) {
    drag("g1", "e2"); // leaves e2 marked as the target
    settle();
    EXPECT_EQ(squareName(appState.targetSquare), "e2");
    const Point start = squareCentre(at("b1"));
    press(start.x, start.y);
    moveTo(100, 250);
    release(100, 255); // on the status panel
    settle();
    EXPECT_EQ(squareName(appState.selectedSquare), "-");
    EXPECT_EQ(squareName(appState.targetSquare), "-");
    EXPECT_TRUE(squareShows("b1", WHITE_KNIGHT));
    EXPECT_TRUE(mainLine().empty());
}

TEST_F(ProgramTest, PromotionAsksForThePiece) {
    struct Case {
        const char* fen;
        const char* from;
        const char* to;
        int image; // tapped in the dialog; -1 closes it
        Piece promoted;
        std::string san;
    };
    const Case cases[] = {
        {"7k/1P6/8/8/8/8/8/K7 w - - 0 1", "b7", "b8", 2, WHITE_BISHOP, "b8=B"},
        {"7k/1P6/8/8/8/8/8/K7 w - - 0 1", "b7", "b8", 0, WHITE_QUEEN, "b8=Q+"},
        {"7k/1P6/8/8/8/8/8/K7 w - - 0 1", "b7", "b8", 3, WHITE_KNIGHT, "b8=N"},
        {"7k/1P6/8/8/8/8/8/K7 w - - 0 1", "b7", "b8", -1, WHITE_QUEEN, "b8=Q+"},
        {"k7/8/8/8/8/8/6p1/K6R b - - 0 1", "g2", "h1", 1, BLACK_ROOK, "gxh1=R+"},
    };
    for (const Case& c : cases) {
        startFrom(c.fen);
        std::string title;
        whenDialogOpens([&title, image = c.image](Window* dialog) {
            title = dialogTitle(dialog);
            const Rect client = getClientRect(dialog);
            const int left = (client.width() - 120) / 2;
            if (image < 0) {
                sendMessage(dialog, WM_COMMAND, makeWParam(IDCANCEL, 0), 0);
            } else {
                sendMessage(dialog, WM_LBUTTONUP, 0,
                            makePointLParam(left + image * 30 + 15, client.top + 55));
            }
        });
        tap(c.from);
        tap(c.to);
        settle();
        EXPECT_EQ(title, "Promotion") << c.san;
        EXPECT_EQ(appState.position->at(at(c.to)), c.promoted) << c.san;
        EXPECT_EQ(mainLine(), (std::vector<std::string>{c.san}));
        EXPECT_TRUE(squareShows(c.to, c.promoted)) << c.san;
        EXPECT_FALSE(appState.modalOpen);
    }
}

TEST_F(ProgramTest, PromotionDialogShowsTheMoversPiecesAndTakesTapsOnlyOnThem) {
    startFrom("7k/1P6/8/8/8/8/8/K7 w - - 0 1");
    std::vector<std::string> journal;
    whenDialogOpens([&journal](Window* dialog) {
        processMessages(20);
        const Rect client = getClientRect(dialog);
        const int left = (client.width() - 120) / 2;
        const int top = client.top + 40;
        journal.push_back(windowPixel(dialog, left + 60 + 15, top + 15) != rgb(255, 255, 255)
                              ? "bishop drawn"
                              : "no bishop");
        // Beyond the row and right of it nothing is chosen.
        sendMessage(dialog, WM_LBUTTONUP, 0, makePointLParam(left + 60, top + 31));
        sendMessage(dialog, WM_LBUTTONUP, 0, makePointLParam(left + 120, top + 10));
        journal.push_back(dialogTitle(dialog));
        sendMessage(dialog, WM_HELP, 0, 0);
        sendMessage(dialog, WM_LBUTTONUP, 0, makePointLParam(left + 119, top + 30));
    });
    tap("b7");
    tap("b8");
    settle();
    EXPECT_EQ(journal, (std::vector<std::string>{"bishop drawn", "Promotion"}));
    EXPECT_EQ(helps, (std::vector<std::string>{"TallowmereChess.htm#Promotion"}));
    EXPECT_EQ(appState.position->at(at("b8")), WHITE_KNIGHT) << "the last image's right edge";
}
