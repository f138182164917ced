// Every dialog's help key opens the help file at the dialog's own anchor.
#include "app/command_ids.h"
#include "dialog_fixture.h"

TEST_F(DialogTest, EveryDialogsHelpKeyOpensItsPartOfTheHelpFile) {
    struct Case {
        int command;
        std::vector<DialogScript::Action> actions;
        std::vector<std::string> helps;
    };
    const std::string file = "TallowmereChess.htm#";
    fileAnswer = rootFile("help.pgn");
    const Case cases[] = {
        {IDM_SAVE_GAME, {pressHelp(), pressOk()}, {file + "GameDetails"}},
        {IDM_GAME_MOVES, {pressHelp(), pressOk()}, {file + "GameMoves"}},
        {IDM_OPTIONS, {pressHelp(), pressCancel()}, {file + "Options"}},
        {IDM_SETUP_BOARD,
         {pressHelp(), pressOk(), pressHelp(), pressOk()},
         {file + "SetupBoard", file + "SetupBoard"}},
    };
    for (const Case& c : cases) {
        helps.clear();
        commandWith(c.command, c.actions);
        EXPECT_EQ(actionsLeft, 0u) << c.command;
        EXPECT_EQ(helps, c.helps) << c.command;
    }
}

TEST_F(DialogTest, TheGameListsAndTheSaveQuestionsHelpKeysOpenTheirParts) {
    fileAnswer = rootFile("two.pgn");
    writeFile(fileAnswer, "[White \"A\"]\n[Black \"B\"]\n[Result \"*\"]\n\n1. e4 *\n\n"
                          "[White \"C\"]\n[Black \"D\"]\n[Result \"*\"]\n\n1. d4 *\n");
    const std::string file = "TallowmereChess.htm#";
    commandWith(IDM_LOAD_GAME, {pressHelp(), pressCancel()});
    commandWith(IDM_SAVE_GAME, {pressHelp(), pressCancel()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(helps, (std::vector<std::string>{file + "GameList", file + "SaveGame"}));
}
