// The main window: its menus and buttons, the command table, help and about,
// turning the board, stepping through the game and closing.
#include "program.h"

#include "app/command_ids.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "board/geometry.h"
#include "platform/ui/accelerators.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"

using namespace platform;

namespace {

bool enabled(int command) {
    return buttonState(menuBarOf(shell.mainWindow), command) & TBSTATE_ENABLED;
}

} // namespace

TEST_F(ProgramTest, MenusAndButtonsReadAsTheyShould) {
    ASSERT_EQ(shell.menu.popups.size(), 3u);
    std::vector<std::string> lines;
    for (const MenuPopup& popup : shell.menu.popups) {
        std::string line = popup.title + ":";
        for (const MenuItem& item : popup.items)
            line += " " + (item.command ? item.text + "=" + std::to_string(item.command) : "-");
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "File: New game=40006 Load game...=40003 Save game...=40004 "
                         "Export board image...=40096 - Game list...=40070 Next game=40071 "
                         "Previous game=40072 - Exit=40001",
                         "Tools: Options...=40012 Game moves...=40020 Move now=40016 "
                         "Setup board...=40049 - Copy position\tCtrl+Shift+C=40093 "
                         "Copy game\tCtrl+C=40094 Paste\tCtrl+V=40095",
                         "?: Help...\tF1=40055 Hint=40041 - About...=40024"}));
    for (int command : {IDM_BACK, IDM_GAME_MOVES, IDM_FORWARD, IDM_MOVE_NOW, IDM_HINT,
                        IDM_FLIP_BOARD, IDM_OPTIONS, IDM_NEW_GAME}) {
        EXPECT_GE(buttonState(menuBarOf(window()), command), 0) << command;
    }
    // A new game has nothing to step through.
    EXPECT_FALSE(enabled(IDM_BACK));
    EXPECT_FALSE(enabled(IDM_FORWARD));
    EXPECT_TRUE(enabled(IDM_NEW_GAME));
    EXPECT_EQ(buttonState(menuBarOf(window()), IDM_FLIP_BOARD) & TBSTATE_CHECKED, 0);
}

TEST_F(ProgramTest, KeysSendTheirCommands) {
    Accelerators* keys = loadAccelerators(IDR_ACCELERATORS);
    ASSERT_NE(keys, nullptr);
    struct Case {
        const char* key;
        int command;
    };
    const Case cases[] = {
        {"Ctrl+Q", IDM_EXIT},      {"Ctrl+N", IDM_NEW_GAME},   {"Ctrl+O", IDM_LOAD_GAME},
        {"Ctrl+S", IDM_SAVE_GAME}, {"Left", IDM_BACK},         {"Right", IDM_FORWARD},
        {"Up", IDM_FAST_FORWARD},  {"Down", IDM_FAST_BACK},    {"Return", IDM_MOVE_NOW},
        {"Home", IDM_GAME_START},  {"End", IDM_MAIN_LINE_END}, {"Ctrl+Shift+C", IDM_COPY_POSITION},
        {"Ctrl+C", IDM_COPY_GAME}, {"Ctrl+V", IDM_PASTE},      {"Ctrl+L", IDM_GAME_LIST},
        {"Ctrl+PgDown", IDM_NEXT_GAME}, {"Ctrl+PgUp", IDM_PREVIOUS_GAME}};
    for (const Case& c : cases)
        EXPECT_EQ(acceleratorCommand(keys, c.key), c.command) << c.key;
    destroyAccelerators(keys);
}

TEST_F(ProgramTest, UnknownCommandsDoNothing) {
    taps({"e2", "e4"});
    for (int id : {0, 1, 396, 399, 40000, 40002, 40056, 65535}) {
        EXPECT_EQ(sendMessage(window(), WM_COMMAND, makeWParam(unsigned(id), 0), 0), 0) << id;
    }
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramTest, HelpAndAbout) {
    command(IDM_HELP);
    sendMessage(window(), WM_HELP, 0, 0);
    std::vector<std::string> journal;
    whenDialogOpens([&journal](Window* dialog) {
        journal.push_back(dialogTitle(dialog));
        journal.push_back(appState.modalOpen ? "modal" : "not modal");
        sendMessage(dialog, WM_HELP, 0, 0);
        clickDlgItem(dialog, IDOK);
    });
    command(IDM_ABOUT);
    EXPECT_EQ(journal, (std::vector<std::string>{"About", "modal"}));
    EXPECT_FALSE(appState.modalOpen);
    EXPECT_EQ(helps, (std::vector<std::string>{"TallowmereChess.htm#Main_Contents",
                                               "TallowmereChess.htm#Main_Contents",
                                               "TallowmereChess.htm#About"}));
}

TEST_F(ProgramTest, FlippingTurnsTheBoardRound) {
    ASSERT_TRUE(pressMenuBarButton(menuBarOf(window()), IDM_FLIP_BOARD));
    settle();
    EXPECT_TRUE(appState.flipped);
    EXPECT_NE(buttonState(menuBarOf(window()), IDM_FLIP_BOARD) & TBSTATE_CHECKED, 0);
    // a1 stays dark, now at the top right with its rook.
    EXPECT_EQ(squareRect(at("a1")).left, 210);
    EXPECT_EQ(squareRect(at("a1")).top, 0);
    EXPECT_TRUE(squareShows("a1", WHITE_ROOK));
    EXPECT_TRUE(squareShows("h8", BLACK_ROOK));
    EXPECT_TRUE(squareShows("e4", EMPTY));
    // Taps follow the turned board.
    taps({"e2", "e4"});
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4"}));
    const Point e4 = squareCentre(at("e4"));
    EXPECT_EQ(e4.x, 105);
    EXPECT_EQ(e4.y, 105);
    ASSERT_TRUE(pressMenuBarButton(menuBarOf(window()), IDM_FLIP_BOARD));
    settle();
    EXPECT_FALSE(appState.flipped);
    EXPECT_TRUE(squareShows("a1", WHITE_ROOK));
    EXPECT_EQ(squareRect(at("a1")).top, 210);
}

TEST_F(ProgramTest, SteppingThroughTheGame) {
    taps({"e2", "e4", "e7", "e5", "g1", "f3"});
    EXPECT_TRUE(enabled(IDM_BACK));
    EXPECT_FALSE(enabled(IDM_FORWARD));
    command(IDM_BACK);
    EXPECT_EQ(appState.plyNumber, 3);
    EXPECT_TRUE(squareShows("f3", EMPTY));
    EXPECT_TRUE(squareShows("g1", WHITE_KNIGHT));
    EXPECT_TRUE(enabled(IDM_FORWARD));
    command(IDM_FORWARD);
    EXPECT_TRUE(squareShows("f3", WHITE_KNIGHT));
    EXPECT_FALSE(enabled(IDM_FORWARD));
    EXPECT_TRUE(sounds.size() == 3u) << "stepping makes no sound";

    command(IDM_FAST_BACK);
    EXPECT_EQ(appState.currentNode, appState.game->root());
    EXPECT_FALSE(enabled(IDM_BACK));
    EXPECT_TRUE(appState.showLevelLine);
    EXPECT_TRUE(squareShows("e2", WHITE_PAWN));
    EXPECT_TRUE(squareShows("e7", BLACK_PAWN));
    command(IDM_BACK); // at the root: nothing
    EXPECT_EQ(appState.plyNumber, 1);
    command(IDM_FAST_FORWARD);
    EXPECT_EQ(appState.plyNumber, 4);
    EXPECT_TRUE(squareShows("e4", WHITE_PAWN));
    EXPECT_TRUE(squareShows("f3", WHITE_KNIGHT));
    command(IDM_FORWARD); // at the end: nothing
    EXPECT_EQ(appState.plyNumber, 4);
    EXPECT_EQ(mainLine().size(), 3u);
}

TEST_F(ProgramTest, FastStepsGoTwentyHalfMovesAtATime) {
    // Knights out and back: 24 half-moves.
    for (int round = 0; round < 6; ++round)
        taps({"g1", "f3", "g8", "f6", "f3", "g1", "f6", "g8"});
    messages.clear();
    ASSERT_EQ(mainLine().size(), 24u);
    command(IDM_FAST_BACK);
    EXPECT_EQ(appState.plyNumber, 5);
    command(IDM_FAST_BACK);
    EXPECT_EQ(appState.plyNumber, 1);
    command(IDM_FAST_FORWARD);
    EXPECT_EQ(appState.plyNumber, 21);
    EXPECT_TRUE(enabled(IDM_FORWARD));
    command(IDM_FAST_FORWARD);
    EXPECT_EQ(appState.plyNumber, 25);
    EXPECT_FALSE(enabled(IDM_FORWARD));
}

TEST_F(ProgramTest, NewGameAsksFirst) {
    taps({"e2", "e4"});
    messageAnswer = IDCANCEL;
    command(IDM_NEW_GAME);
    EXPECT_EQ(messages, (std::vector<std::string>{"Do you really want a new game ?"}));
    EXPECT_EQ(mainLine().size(), 1u);
    messageAnswer = IDOK;
    command(IDM_NEW_GAME);
    EXPECT_TRUE(mainLine().empty());
    EXPECT_TRUE(squareShows("e2", WHITE_PAWN));
    EXPECT_TRUE(squareShows("e4", EMPTY));
    EXPECT_FALSE(enabled(IDM_BACK));
}

TEST_F(ProgramTest, PaintKeepsTheClientAndStatusRectangles) {
    EXPECT_EQ(appState.clientRect.right, 240);
    EXPECT_EQ(appState.clientRect.bottom, 268);
    EXPECT_EQ(appState.statusRect.top, 240);
    EXPECT_EQ(appState.statusRect.bottom, 268);
    EXPECT_EQ(appState.statusRect.right, 240);
}

TEST_F(ProgramTest, ExitClosesTheWindow) {
    command(IDM_EXIT);
    EXPECT_EQ(findWindow("Tallowmere Chess"), nullptr);
    EXPECT_EQ(shell.mainWindow, nullptr);
}
