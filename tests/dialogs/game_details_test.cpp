// The Game details dialog, opened by Save game: what it lists, and what it writes back.
#include "app/command_ids.h"
#include "app/dialog_game_details.h"
#include "dialog_fixture.h"
#include "platform/kernel/files.h"
#include "platform/ui/dialog.h"
#include "platform/ui/owner.h"
#include "platform/ui/registry.h"

#include <cstdio>

using namespace platform;

namespace {

std::vector<std::string> listItems(Window* dialog, int id) {
    std::vector<std::string> items;
    for (int i = 0; i < listCount(dialog, id); ++i)
        items.push_back(listItemText(dialog, id, i));
    return items;
}

int rowOf(Window* dialog, int id, const char* text) {
    for (int i = 0; i < listCount(dialog, id); ++i)
        if (listItemText(dialog, id, i) == text) return i;
    return -1;
}

class GameDetailsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        const char owner[] = "Olive Owner\0Room 4";
        registryWrite("ControlPanel\\Owner", "Owner", RegistryType::binary, owner, sizeof owner);
        appState.engineName = "Tarnwick";
        fileAnswer = rootFile("saved.pgn");
    }
    void TearDown() override {
        registryWrite("ControlPanel\\Owner", "Owner", RegistryType::binary, "", 0);
        DialogTest::TearDown();
    }

    // Saves the game while the actions work on the Game details dialog; each save makes
    // the file anew, so that no question of where the game goes comes between.
    void saveWith(std::vector<DialogScript::Action> actions) {
        std::remove(fileAnswer.c_str());
        commandWith(IDM_SAVE_GAME, std::move(actions));
        EXPECT_EQ(actionsLeft, 0u);
        EXPECT_TRUE(unexpectedDialogs.empty());
    }
};

} // namespace

TEST_F(GameDetailsTest, ListsThePlayersOnceAndTheOtherTagsSorted) {
    ASSERT_EQ(deviceOwnerName(), "Olive Owner");
    CGame& game = *appState.game;
    game.setWhite("Tallowmere Chess");
    game.setBlack("Kasparov, Garry");
    game.setEvent("Simul");
    game.setResult("0-1");
    game.setTag("WhiteElo", "2000");
    game.setTag("ECO", "B20");
    game.setTag("Annotator", "Ann");
    std::vector<std::vector<std::string>> seen;
    saveWith({[&seen](Window* dialog) {
                  seen.push_back(listItems(dialog, IDC_WHITE));
                  seen.push_back(listItems(dialog, IDC_BLACK));
                  seen.push_back(listItems(dialog, IDC_TAG_NAME));
                  seen.push_back(listItems(dialog, IDC_RESULT));
                  seen.push_back(
                      {getDlgItemText(dialog, IDC_WHITE), getDlgItemText(dialog, IDC_BLACK),
                       getDlgItemText(dialog, IDC_EVENT), getDlgItemText(dialog, IDC_TAG_NAME),
                       getDlgItemText(dialog, IDC_TAG_VALUE), getDlgItemText(dialog, IDC_RESULT)});
              },
              pressOk()});
    const std::vector<std::vector<std::string>> expected = {
        {"Olive Owner", "Tallowmere Chess", "Tarnwick"},
        {"Kasparov, Garry", "Olive Owner", "Tallowmere Chess", "Tarnwick"},
        {"Annotator", "ECO", "Round", "WhiteElo"},
        {"1-0", "1/2-1/2", "0-1", "*"},
        // The first other tag in the game's order is Round, of the seven-tag roster.
        {"Tallowmere Chess", "Kasparov, Garry", "Simul", "Round", "", "0-1"},
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(GameDetailsTest, CancelKeepsTheTagsAndWritesNothingAndUndoRestoresTheFields) {
    appState.game->setTag("ECO", "C41");
    const std::vector<CTagPair> before = appState.game->tags();
    const auto edit = [](Window* dialog) {
        typeDlgItemText(dialog, IDC_WHITE, "Alice");
        typeDlgItemText(dialog, IDC_SITE, "Leeds");
        chooseDlgListItem(dialog, IDC_TAG_NAME, rowOf(dialog, IDC_TAG_NAME, "ECO"));
        typeDlgItemText(dialog, IDC_TAG_VALUE, "B20");
        chooseDlgListItem(dialog, IDC_RESULT, 2);
    };
    saveWith({edit, pressCancel()});
    const CGame& game = *appState.game;
    ASSERT_EQ(game.tags().size(), before.size()) << "not even the completed tags stay";
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(game.tags()[i].name, before[i].name);
        EXPECT_EQ(game.tags()[i].value, before[i].value);
    }
    EXPECT_FALSE(fileExists(fileAnswer)) << "a cancelled save writes nothing";

    saveWith({edit, pressOk()});
    EXPECT_EQ(game.white(), "Alice");
    EXPECT_EQ(game.site(), "Leeds");
    EXPECT_EQ(game.tag("ECO"), "B20");
    EXPECT_EQ(game.result(), "0-1");

    std::vector<std::string> seen;
    saveWith({[&seen](Window* dialog) {
                  typeDlgItemText(dialog, IDC_EVENT, "Changed");
                  chooseDlgListItem(dialog, IDC_TAG_NAME, rowOf(dialog, IDC_TAG_NAME, "ECO"));
                  seen.push_back(getDlgItemText(dialog, IDC_TAG_VALUE));
                  typeDlgItemText(dialog, IDC_TAG_VALUE, "A00");
                  clickDlgItem(dialog, IDC_UNDO);
                  seen.push_back(getDlgItemText(dialog, IDC_EVENT));
                  seen.push_back(getDlgItemText(dialog, IDC_WHITE));
              },
              pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"B20", "", "Alice"}));
    EXPECT_EQ(game.event(), "");
    EXPECT_EQ(game.tag("ECO"), "B20");
}

TEST_F(GameDetailsTest, AnEmptyResultStaysEmpty) {
    // Selecting the first entry for it would record a win nobody had.
    appState.game->setResult("");
    std::vector<int> seen;
    saveWith(
        {[&seen](Window* dialog) { seen.push_back(listCurSel(dialog, IDC_RESULT)); }, pressOk()});
    EXPECT_EQ(seen, std::vector<int>{-1});
    EXPECT_EQ(appState.game->result(), "");
}

TEST_F(GameDetailsTest, ANewGameGetsTheOwnerTheProgramAndTodayBeforeTheDialogShows) {
    taps({"e2", "e4"}); // Black to move: the user is taken to play Black
    std::vector<std::string> seen;
    saveWith({[&seen](Window* dialog) {
                  seen = {getDlgItemText(dialog, IDC_WHITE), getDlgItemText(dialog, IDC_BLACK),
                          std::to_string(getDlgItemText(dialog, IDC_DATE).size()),
                          getDlgItemText(dialog, IDC_RESULT)};
              },
              pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"Tallowmere Chess", "Olive Owner", "10", "*"}));
}

TEST_F(GameDetailsTest, TheStartPositionTagsAreShownButNotEdited) {
    const char fen[] = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
    startFrom(fen);
    appState.game->setTag("SetUp", "1");
    appState.game->setTag("ECO", "A00");
    taps({"e2", "e4"});
    std::vector<std::string> seen;
    const auto look = [&seen](Window* dialog, const char* name) {
        chooseDlgListItem(dialog, IDC_TAG_NAME, rowOf(dialog, IDC_TAG_NAME, name));
        seen.push_back(std::string(name) + " " + getDlgItemText(dialog, IDC_TAG_VALUE) +
                       (isDlgItemEnabled(dialog, IDC_TAG_VALUE) ? " editable" : " read-only"));
        // Even text that reaches the field must not reach the game.
        typeDlgItemText(dialog, IDC_TAG_VALUE, "8/8/8/8/8/8/8/8 w - - 0 1");
    };
    saveWith({[&look](Window* dialog) {
                  look(dialog, "FEN");
                  clickDlgItem(dialog, IDC_UNDO);
                  look(dialog, "FEN");
                  look(dialog, "SetUp");
                  look(dialog, "ECO");
              },
              pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"FEN 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 read-only",
                                              "FEN 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 read-only",
                                              "SetUp 1 read-only", "ECO A00 editable"}));
    EXPECT_EQ(appState.game->tag("FEN"), fen);
    EXPECT_EQ(appState.game->tag("SetUp"), "1");
    EXPECT_EQ(appState.game->tag("ECO"), "8/8/8/8/8/8/8/8 w - - 0 1") << "other tags stay editable";

    // The saved game reads back from its position.
    command(IDM_NEW_GAME);
    command(IDM_LOAD_GAME);
    EXPECT_EQ(mainLine(), std::vector<std::string>{"e4"});
    EXPECT_EQ(appState.game->tag("FEN"), fen);
}

TEST_F(GameDetailsTest, AResultOfItsOwnKeepsItsValue) {
    struct Case {
        const char* result;
        std::vector<std::string> listed; // the result list as shown
        const char* shown;
    };
    const std::vector<std::string> four = {"1-0", "1/2-1/2", "0-1", "*"};
    const Case cases[] = {
        {"1-0", four, "1-0"},
        {"1/2-1/2", four, "1/2-1/2"},
        {"*", four, "*"},
        // Not the first entry it begins like, nor an empty one: the game's own text.
        {"1", {"1-0", "1/2-1/2", "0-1", "*", "1"}, "1"},
        {"1/2", {"1-0", "1/2-1/2", "0-1", "*", "1/2"}, "1/2"},
        {"0-1 (time)", {"1-0", "1/2-1/2", "0-1", "*", "0-1 (time)"}, "0-1 (time)"},
    };
    for (const Case& c : cases) {
        appState.game->setResult(c.result);
        std::vector<std::string> listed;
        std::string shown;
        saveWith({[&](Window* dialog) {
                      clickDlgItem(dialog, IDC_UNDO); // fills the list again, once
                      listed = listItems(dialog, IDC_RESULT);
                      shown = getDlgItemText(dialog, IDC_RESULT);
                  },
                  pressOk()});
        EXPECT_EQ(listed, c.listed) << c.result;
        EXPECT_EQ(shown, c.shown) << c.result;
        EXPECT_EQ(appState.game->result(), c.result);
    }
    // Choosing one of the four replaces it.
    appState.game->setResult("forfeit");
    saveWith({[](Window* dialog) { chooseDlgListItem(dialog, IDC_RESULT, 1); }, pressOk()});
    EXPECT_EQ(appState.game->result(), "1/2-1/2");
}
