// Setup board: the board editor and the side page, repeated until the position is
// legal, and the new game that starts from it.
#include "app/command_ids.h"
#include "dialog_fixture.h"
#include "platform/ui/dialog.h"
#include "platform/ui/internal.h"

#include <QTest>

using namespace platform;

namespace {

enum : int {
    IDC_WHITE_SHORT = 1021,
    IDC_WHITE_LONG = 1022,
    IDC_BLACK_SHORT = 1023,
    IDC_BLACK_LONG = 1024,
    IDC_WHITE_TO_MOVE = 1025,
    IDC_BLACK_TO_MOVE = 1027,
    IDC_EN_PASSANT_FILE = 1029,
    IDC_CLEAR = 1030,
    IDC_RESET = 1032,
    IDC_UNDO = 1033,
};

const char NOT_LEGAL[] = "The position isn\xB4t legal !";
const std::string TWO_WHITE_KINGS = NOT_LEGAL + std::string("\nWhite has more than one king.");
const std::string NO_WHITE_KING = NOT_LEGAL + std::string("\nWhite has no king.");
const std::string EDGE_PAWN = NOT_LEGAL + std::string("\nA pawn stands on the first or last rank.");
const std::string IN_CHECK = NOT_LEGAL + std::string("\nBlack is in check but White is to move.");

// A tap of the stylus at a logical pixel of the dialog.
void tapAt(Window* dialog, int x, int y) {
    QWidget* surface = dialog->surface.data();
    const int scale = windowScale();
    const QPoint point(x * scale + scale / 2, y * scale + scale / 2);
    QTest::mousePress(surface, Qt::LeftButton, {}, point);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, point);
}

// The editor's board: 24-pixel squares from (16, 14), White at the bottom.
void tapSquare(Window* dialog, const char* square) {
    const Square s = at(square);
    tapAt(dialog, 16 + fileOf(s) * 24 + 12, 14 + (7 - rankOf(s)) * 24 + 12);
}

// The palette: pawn, knight, bishop, rook, queen, king; White above, Black below.
void tapPalette(Window* dialog, int column, bool black) {
    tapAt(dialog, 16 + column * 24 + 12, 214 + (black ? 24 : 0) + 12);
}

DialogScript::Action tapSquares(std::vector<const char*> squares) {
    return [squares](Window* dialog) {
        for (const char* square : squares)
            tapSquare(dialog, square);
    };
}

DialogScript::Action click(int id) {
    return [id](Window* dialog) { clickDlgItem(dialog, id); };
}

std::string setupFen() {
    char fen[FEN_BUFFER_SIZE];
    appState.setupPosition->getFen(fen);
    return fen;
}

} // namespace

TEST_F(DialogTest, SetupBoardWithoutChangesLeavesTheGame) {
    ProgramTest::taps({"e2", "e4"});
    const CGame* game = appState.game.get();
    commandWith(IDM_SETUP_BOARD, {pressOk(), pressOk()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(appState.game.get(), game);
    EXPECT_EQ(mainLine(), std::vector<std::string>{"e4"});

    // Cancel on the side page keeps what the editor made; the editor's Undo takes back
    // every edit.
    commandWith(IDM_SETUP_BOARD,
                {tapSquares({"a1", "h8"}), click(IDC_UNDO), pressCancel(), pressCancel()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_EQ(appState.game.get(), game);
}

TEST_F(DialogTest, TwoWhiteKingsCannotLeaveTheEditor) {
    std::vector<std::string> seen;
    commandWith(IDM_SETUP_BOARD,
                {tapSquares({"e4"}), // the white king, chosen when the editor opens
                 pressOk(), pressCancel(),
                 [&seen](Window* dialog) {
                     seen.push_back(dialogTitle(dialog) + " " + setupFen());
                     clickDlgItem(dialog, IDC_UNDO);
                     seen.push_back(setupFen());
                 },
                 pressOk(), pressOk()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_EQ(messages, (std::vector<std::string>{TWO_WHITE_KINGS, TWO_WHITE_KINGS}));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Setup board rnbqkbnr/pppppppp/8/8/4K3/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"}));
    EXPECT_FALSE(appState.currentNode->parent);
}

TEST_F(DialogTest, ABoardLegalOnlyWithBlackToMoveGoesRoundAgainWhenWhiteIsChosen) {
    startFrom("4k3/8/8/8/8/8/8/R3K3 w Q - 0 1");
    std::vector<std::string> seen;
    commandWith(IDM_SETUP_BOARD,
                {[](Window* dialog) {
                     tapSquare(dialog, "a1");      // the rook goes
                     tapPalette(dialog, 3, false); // the white rook
                     tapSquare(dialog, "e2");      // gives check
                 },
                 pressOk(), // legal with Black to move: the editor lets it go
                 [&seen](Window* dialog) {
                     seen.push_back(isDlgItemEnabled(dialog, IDC_WHITE_LONG) ? "long" : "no long");
                     clickDlgItem(dialog, IDC_WHITE_TO_MOVE);
                     clickDlgItem(dialog, IDOK);
                 },
                 pressOk(), // the editor again
                 [](Window* dialog) {
                     clickDlgItem(dialog, IDC_BLACK_TO_MOVE);
                     clickDlgItem(dialog, IDOK);
                 }});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(messages, std::vector<std::string>{IN_CHECK});
    EXPECT_EQ(seen, std::vector<std::string>{"no long"});
    const char fen[] = "4k3/8/8/8/8/8/4R3/4K3 b - - 0 1";
    EXPECT_EQ(appState.game->tag("FEN"), fen);
    EXPECT_EQ(appState.game->root()->ply, 0);
    EXPECT_TRUE(squareShows("e2", WHITE_ROOK));

    // Black's first move is ply 1, numbered as move 1.
    ProgramTest::taps({"e8", "d8"});
    EXPECT_EQ(mainLine(), std::vector<std::string>{"Kd8"});
    EXPECT_EQ(appState.currentNode->ply, 1);
    EXPECT_EQ(appState.currentNode->moveNumber(), 1);
    EXPECT_NE(std::string(appState.game->toString().c_str()).find("1.. Kd8"), std::string::npos);
}

TEST_F(DialogTest, TheEnPassantFileNeedsThePawnThatJustMoved) {
    struct Case {
        const char* fen;
        bool accepted; // on the first round
    };
    const Case cases[] = {
        {"4k3/8/8/8/4P3/8/8/4K3 b - - 0 1", true},
        {"4k3/8/8/8/3P4/8/8/4K3 b - - 0 1", false},
    };
    for (const Case& c : cases) {
        startFrom(c.fen);
        messages.clear();
        std::vector<std::string> afterwards;
        std::vector<DialogScript::Action> actions = {pressOk(), [](Window* dialog) {
                                                         chooseDlgListItem(
                                                             dialog, IDC_EN_PASSANT_FILE, 5); // "E"
                                                         clickDlgItem(dialog, IDOK);
                                                     }};
        if (!c.accepted) {
            actions.push_back(pressOk());
            actions.push_back([&afterwards](Window* dialog) {
                afterwards.push_back(getDlgItemText(dialog, IDC_EN_PASSANT_FILE));
                chooseDlgListItem(dialog, IDC_EN_PASSANT_FILE, 0);
                clickDlgItem(dialog, IDOK);
            });
        }
        commandWith(IDM_SETUP_BOARD, actions);
        EXPECT_EQ(actionsLeft, 0u) << c.fen;
        if (c.accepted) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(appState.game->tag("FEN"), "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1");
        } else {
            EXPECT_EQ(messages, std::vector<std::string>{NOT_LEGAL});
            // The page shows the file again, for the user to change.
            EXPECT_EQ(afterwards, std::vector<std::string>{"E"});
            EXPECT_EQ(appState.game->tag("FEN"), c.fen) << "nothing changed: no new game";
        }
    }
}

TEST_F(DialogTest, CastlingBoxesNeedKingAndRookAtHome) {
    startFrom("r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1");
    std::vector<std::string> seen;
    commandWith(IDM_SETUP_BOARD,
                {pressOk(), [&seen](Window* dialog) {
                     for (const int id :
                          {IDC_WHITE_SHORT, IDC_WHITE_LONG, IDC_BLACK_SHORT, IDC_BLACK_LONG}) {
                         seen.push_back(std::string(isDlgItemEnabled(dialog, id) ? "on" : "off") +
                                        (isDlgButtonChecked(dialog, id) ? "+" : ""));
                     }
                     seen.push_back(isDlgButtonChecked(dialog, IDC_WHITE_TO_MOVE) ? "white"
                                                                                  : "black");
                     seen.push_back(getDlgItemText(dialog, IDC_EN_PASSANT_FILE));
                     clickDlgItem(dialog, IDC_WHITE_SHORT); // given up
                     clickDlgItem(dialog, IDOK);
                 }});
    EXPECT_EQ(seen, (std::vector<std::string>{"on+", "off", "off", "on+", "white", "None"}));
    EXPECT_EQ(appState.game->tag("FEN"), "r3k3/8/8/8/8/8/8/4K2R w q - 0 1");
}

TEST_F(DialogTest, TapsPlaceAndRemovePiecesAndThePaletteChoosesThem) {
    std::vector<std::string> seen;
    commandWith(IDM_SETUP_BOARD, {[&seen](Window* dialog) {
                                      clickDlgItem(dialog, IDC_CLEAR);
                                      seen.push_back(setupFen());
                                      tapSquare(dialog, "e1"); // the white king, chosen at opening
                                      tapPalette(dialog, 5, true); // the black king
                                      tapSquare(dialog, "e8");
                                      tapPalette(dialog, 4, true); // the black queen
                                      tapSquare(dialog, "d8");
                                      tapSquare(dialog, "e8"); // a piece goes whatever is chosen
                                      tapSquare(dialog, "e8"); // and the chosen one comes
                                      tapAt(dialog, 16 + 6 * 24 + 12,
                                            214 + 12); // beside the palette: nothing
                                      tapSquare(dialog, "a8");
                                      seen.push_back(setupFen());
                                      clickDlgItem(dialog, IDC_RESET);
                                      seen.push_back(setupFen());
                                      clickDlgItem(dialog, IDC_CLEAR);
                                      tapPalette(dialog, 5, false); // the white king
                                      tapSquare(dialog, "e1");
                                      tapPalette(dialog, 5, true);
                                      tapSquare(dialog, "e8");
                                      tapPalette(dialog, 4, true);
                                      tapSquare(dialog, "d8");
                                  },
                                  pressOk(), pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "8/8/8/8/8/8/8/8 w - - 0 1", "q2qq3/8/8/8/8/8/8/4K3 w - - 0 1",
                        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"}));
    EXPECT_EQ(appState.game->tag("FEN"), "3qk3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_TRUE(squareShows("d8", BLACK_QUEEN));
    EXPECT_EQ(appState.game->root()->ply, -1);
}

TEST_F(DialogTest, TheEditorSaysWhyABoardCannotBePlayed) {
    struct Case {
        const char* fen;
        const char* mend; // the square whose tap makes the board playable
        std::string message;
    };
    const Case cases[] = {
        {"4k3/8/8/8/8/8/8/4K2K w - - 0 1", "h1", TWO_WHITE_KINGS},
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", "e1", NO_WHITE_KING},
        {"4k2P/8/8/8/8/8/8/4K3 w - - 0 1", "h8", EDGE_PAWN},
        {"4k3/8/8/8/8/8/8/p3K3 w - - 0 1", "a1", EDGE_PAWN},
        // Both kings attacked: no side to move could have left it so.
        {"4k3/8/8/8/Q7/8/4r3/4K3 w - - 0 1", "a4", IN_CHECK},
    };
    for (const Case& c : cases) {
        startFrom("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
        messages.clear();
        commandWith(IDM_SETUP_BOARD, {[&c](Window* dialog) {
                                          clickDlgItem(dialog, IDC_CLEAR);
                                          appState.setupPosition->setFen(c.fen);
                                          clickDlgItem(dialog, IDOK);
                                      },
                                      [&c](Window* dialog) {
                                          tapSquare(dialog, c.mend);
                                          clickDlgItem(dialog, IDOK);
                                      },
                                      pressOk()});
        EXPECT_EQ(actionsLeft, 0u) << c.fen;
        EXPECT_TRUE(unexpectedDialogs.empty()) << c.fen;
        EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.fen;
    }
}

TEST_F(DialogTest, TheNewGameCountsFromItsOwnStart) {
    // The old game has made 37 moves without a capture or a pawn move.
    const char fen[] = "4k3/8/8/8/8/8/4P3/4K3 w - - 37 60";
    startFrom(fen);
    const CGame* game = appState.game.get();
    commandWith(IDM_SETUP_BOARD, {pressOk(), pressOk()});
    EXPECT_EQ(appState.game.get(), game) << "nothing changed but the counters: no new game";
    EXPECT_EQ(appState.game->tag("FEN"), fen);

    struct Case {
        int side;
        const char* fen;
    };
    const Case cases[] = {
        {IDC_WHITE_TO_MOVE, "4k3/8/8/8/8/8/P3P3/4K3 w - - 0 1"},
        {IDC_BLACK_TO_MOVE, "4k3/8/8/8/8/8/P3P3/4K3 b - - 0 1"},
    };
    for (const Case& c : cases) {
        startFrom(fen);
        commandWith(IDM_SETUP_BOARD, {[](Window* dialog) {
                                          tapPalette(dialog, 0, false); // the white pawn
                                          tapSquare(dialog, "a2");
                                          clickDlgItem(dialog, IDOK);
                                      },
                                      [&c](Window* dialog) {
                                          clickDlgItem(dialog, c.side);
                                          clickDlgItem(dialog, IDOK);
                                      }});
        EXPECT_EQ(actionsLeft, 0u);
        EXPECT_EQ(appState.game->tag("FEN"), c.fen);
        EXPECT_EQ(appState.position->halfMoveClock(), 0);
        EXPECT_EQ(appState.position->moveNumber(), 1);
    }
}
