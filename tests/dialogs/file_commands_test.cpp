// Load game and Save game with scripted answers from the open and save dialogs.
#include "app/command_ids.h"
#include "app/dialog_game_file.h"
#include "app/dialog_game_list.h"
#include "app/dialog_save_choice.h"
#include "platform/ui/listview.h"
#include "database/database.h"
#include "dialog_fixture.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/ui/dialog.h"

#include <filesystem>
#include <streambuf>

#include "../support/file_text.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

const char THREE_GAMES[] = "dialogs/three_games.pgn";

// The games of a file as the program reads them back.
std::vector<std::unique_ptr<CGame>> gamesOf(const std::string& path) {
    CPgnReader reader;
    CDatabase database(reader);
    std::vector<std::unique_ptr<CGame>> games;
    if (!database.open(path.c_str())) return games;
    for (int n = 0; n < int(database.index().size()); ++n)
        games.push_back(database.gameAt(n));
    return games;
}

std::vector<std::string> mainLineOf(const CGame& game) {
    std::vector<std::string> line;
    for (const CMoveNode* node = game.root(); node && node->hasChildren();) {
        node = node->child(0);
        line.push_back(node->moveText.c_str());
    }
    return line;
}

// A disk that fills up after a few bytes.
class FullDiskBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override {
        if (++m_written > 40) return traits_type::eof();
        return traits_type::not_eof(c);
    }

private:
    int m_written = 0;
};

class FullDiskStream : public std::ostream {
public:
    FullDiskStream() : std::ostream(&m_buffer) {}

private:
    FullDiskBuffer m_buffer;
};

class FullDisk : public CFileSystem {
public:
    std::unique_ptr<std::ostream> openForWriting(const char* path, bool append) override {
        // The file is made, so that a leftover would show.
        CFileSystem::openForWriting(path, append);
        return std::make_unique<FullDiskStream>();
    }
};

class NoRenaming : public CFileSystem {
public:
    bool renameFile(const char*, const char*) override { return false; }
};

// Picks a choice of the save question and answers OK.
DialogScript::Action choose(int choice) {
    return [choice](Window* dialog) {
        clickDlgItem(dialog, choice);
        sendMessage(dialog, WM_COMMAND, IDOK, 0);
    };
}

std::vector<std::string> whitesOf(const std::vector<std::unique_ptr<CGame>>& games) {
    std::vector<std::string> whites;
    for (const auto& game : games)
        whites.push_back(game ? game->white().c_str() : "(unreadable)");
    return whites;
}

} // namespace

TEST_F(DialogTest, LoadShowsTheFirstGameOfAFileAndIndexesTheRest) {
    const std::string path = rootFile("three games.pgn");
    writeFile(path, fileText(dataFile(THREE_GAMES)));
    fileAnswer = path;
    // A file of several games shows the list; OK opens the first.
    commandWith(IDM_LOAD_GAME, {pressOk()});

    ASSERT_EQ(fileAsks.size(), 1u);
    const FileDialogRequest& asked = fileAsks[0];
    EXPECT_EQ(asked.title, "Select file");
    EXPECT_EQ(asked.filterText, ".pgn file (*.pgn)");
    EXPECT_EQ(asked.pattern, "*.pgn");
    EXPECT_EQ(asked.defaultExtension, "pgn");
    EXPECT_EQ(asked.initialFolder, documentsFolder()) << "the first time: the documents";
    EXPECT_FALSE(asked.save);
    EXPECT_TRUE(asked.mustExist);

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(appState.game->white(), "Morphy, Paul");
    EXPECT_EQ(mainLine().size(), 33u);
    EXPECT_EQ(appState.currentNode, appState.game->mainLineEnd()) << "the game opens at its end";
    EXPECT_TRUE(squareShows("d8", WHITE_ROOK));
    EXPECT_EQ(gameDatabase().index().size(), 3u);
    EXPECT_EQ(gameDatabase().index()[2].white, "Bob");
}

TEST_F(DialogTest, AFileThatDoesNotLoadLeavesTheGameAndSaysSo) {
    writeFile(rootFile("empty.pgn"), "");
    writeFile(rootFile("text.pgn"), "This is no chess game.\r\n");
    struct Case {
        std::string path;
        std::string message; // none when empty
    };
    const Case cases[] = {
        {"", ""}, // cancelled
        {rootFile("missing.pgn"), "Could not open " + rootFile("missing.pgn")},
        {rootFile("empty.pgn"), "No game could be read from " + rootFile("empty.pgn")},
        {rootFile("text.pgn"), "No game could be read from " + rootFile("text.pgn")},
    };
    taps({"e2", "e4"});
    for (const Case& c : cases) {
        messages.clear();
        fileAnswer = c.path;
        command(IDM_LOAD_GAME);
        EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{}
                                              : std::vector<std::string>{c.message})
            << c.path;
        EXPECT_EQ(mainLine(), std::vector<std::string>{"e4"}) << c.path;
    }
}

// Text before the first game is no game; a game that reads in part opens with
// what read and one message saying what was left out.
TEST_F(DialogTest, LoadOfAGameReadInPartSaysWhatWasLeftOut) {
    const std::string path = rootFile("study.pgn");
    writeFile(path, "% exported\r\n{ a note }\r\n[Event \"Study\"]\r\n\r\n"
                    "1. e4 e5 2. Ke3 Nc6 *\r\n");
    fileAnswer = path;
    command(IDM_LOAD_GAME);
    EXPECT_EQ(messages, std::vector<std::string>{"The game was read in part: move 2. Ke3 does "
                                                 "not read: the rest of the game is kept in a "
                                                 "comment"});
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4", "e5"}));
    EXPECT_EQ(appState.game->event(), "Study");
    EXPECT_EQ(appState.game->mainLineEnd()->comment, "2. Ke3 Nc6");
}

TEST_F(DialogTest, SaveReplacesTheFileByTheCurrentGameAndItLoadsBack) {
    const std::string path = rootFile("games.pgn");
    writeFile(path, fileText(dataFile(THREE_GAMES)));
    // The file is the one loaded, so its index must follow the new contents.
    fileAnswer = path;
    commandWith(IDM_LOAD_GAME, {pressOk()});
    ASSERT_EQ(gameDatabase().index().size(), 3u);

    command(IDM_NEW_GAME);
    taps({"e2", "e4", "e7", "e5", "g1", "f3"});
    messages.clear();
    commandWith(
        IDM_SAVE_GAME,
        {choose(IDC_SAVE_REPLACE_FILE),
         [](Window* dialog) { typeDlgItemText(dialog, 254, "Club championship"); }, pressOk()});
    EXPECT_EQ(actionsLeft, 0u);
    ASSERT_EQ(fileAsks.size(), 2u);
    const FileDialogRequest& asked = fileAsks[1];
    EXPECT_EQ(asked.title, "New file");
    EXPECT_EQ(asked.filterText, ".pgn file (*.pgn)");
    EXPECT_EQ(asked.defaultExtension, "pgn");
    EXPECT_EQ(asked.initialFolder, root->path) << "then the folder of the file loaded";
    EXPECT_TRUE(asked.save);
    EXPECT_TRUE(asked.overwritePrompt);
    EXPECT_TRUE(messages.empty());

    const auto games = gamesOf(path);
    ASSERT_EQ(games.size(), 1u) << "the file holds exactly the saved game";
    EXPECT_EQ(games[0]->event(), "Club championship");
    // Black is to move: the user is taken to play Black.
    EXPECT_EQ(games[0]->white(), "Tallowmere Chess");
    EXPECT_EQ(games[0]->date().length(), 10u);
    EXPECT_EQ(mainLineOf(*games[0]), (std::vector<std::string>{"e4", "e5", "Nf3"}));
    EXPECT_FALSE(fileExists(path + ".tmp"));
    EXPECT_EQ(gameDatabase().index().size(), 1u);

    command(IDM_NEW_GAME);
    command(IDM_LOAD_GAME);
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4", "e5", "Nf3"}));
    EXPECT_EQ(appState.game->event(), "Club championship");
}

TEST_F(DialogTest, ASaveThatFailsLeavesTheFileAsItWas) {
    const std::string path = rootFile("games.pgn");
    const std::string before = fileText(dataFile(THREE_GAMES));
    writeFile(path, before);
    taps({"d2", "d4"});
    fileAnswer = path;

    FullDisk fullDisk;
    setSaveFileSystem(&fullDisk);
    // Added at the end, and then the whole file replaced: neither may spoil it.
    commandWith(IDM_SAVE_GAME, {pressOk(), pressOk()});
    EXPECT_EQ(actionsLeft, 0u) << "the game details were asked for";
    EXPECT_EQ(messages, std::vector<std::string>{"Could not save the game to " + path});
    EXPECT_EQ(fileText(path), before);
    EXPECT_FALSE(fileExists(path + ".tmp"));
    messages.clear();
    commandWith(IDM_SAVE_GAME, {choose(IDC_SAVE_REPLACE_FILE), pressOk()});
    EXPECT_EQ(messages, std::vector<std::string>{"Could not save the game to " + path});
    EXPECT_EQ(fileText(path), before);
    EXPECT_FALSE(fileExists(path + ".tmp"));

    NoRenaming noRenaming;
    setSaveFileSystem(&noRenaming);
    messages.clear();
    commandWith(IDM_SAVE_GAME, {pressOk(), pressOk()});
    EXPECT_EQ(messages, std::vector<std::string>{"Could not save the game to " + path});
    EXPECT_EQ(fileText(path), before);
    EXPECT_FALSE(fileExists(path + ".tmp"));

    // Without any write bit the file is refused, even where the user could write it anyway.
    setSaveFileSystem(nullptr);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    messages.clear();
    commandWith(IDM_SAVE_GAME, {});
    EXPECT_TRUE(unexpectedDialogs.empty()) << "no game details for a file that cannot be saved";
    EXPECT_EQ(messages, std::vector<std::string>{"Could not open " + path + " "});
    EXPECT_EQ(fileText(path), before);
    EXPECT_FALSE(fileExists(path + ".tmp"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::group_read);

    // A folder that does not exist: nothing to write into, so no game details either.
    messages.clear();
    fileAnswer = rootFile("no folder/games.pgn");
    commandWith(IDM_SAVE_GAME, {});
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(messages, std::vector<std::string>{"Could not open " + fileAnswer + " "});

    // Cancelled: nothing happens.
    messages.clear();
    fileAnswer.clear();
    commandWith(IDM_SAVE_GAME, {});
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileText(path), before);
}

TEST_F(DialogTest, SaveThroughALinkReplacesTheFileItNamesAndKeepsItsMode) {
    const std::string target = rootFile("games.pgn");
    const std::string link = rootFile("latest.pgn");
    writeFile(target, fileText(dataFile(THREE_GAMES)));
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    fs::create_symlink("games.pgn", link);
    taps({"c2", "c4"});
    fileAnswer = link;
    commandWith(IDM_SAVE_GAME, {choose(IDC_SAVE_REPLACE_FILE), pressOk()});
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(target).permissions(), mode);
    const auto games = gamesOf(target);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(mainLineOf(*games[0]), std::vector<std::string>{"c4"});
}

TEST_F(DialogTest, SaveIntoAFileOfGamesAddsReplacesTheGameOrReplacesTheFile) {
    const std::string path = rootFile("three games.pgn");
    const std::string before = fileText(dataFile(THREE_GAMES));
    using Strings = std::vector<std::string>;
    const Strings morphy = mainLineOf(*gamesOf(dataFile(THREE_GAMES))[0]);
    const Strings extended = {"d4", "d5", "c4", "e6"};
    struct Case {
        int choice;
        Strings whites;
        int saved; // where the saved game stands in the file
    };
    const Case cases[] = {
        {IDC_SAVE_APPEND, {"Morphy, Paul", "Ann", "Bob", "Ann"}, 3},
        {IDC_SAVE_REPLACE_GAME, {"Morphy, Paul", "Ann", "Bob"}, 1},
        {IDC_SAVE_REPLACE_FILE, {"Ann"}, 0},
    };
    for (const Case& c : cases) {
        writeFile(path, before);
        fileAnswer = path;
        commandWith(IDM_LOAD_GAME, {[](Window* dialog) {
                        doubleClickListViewRow(dialog, IDC_LIST_GAMES, 1);
                    }});
        ASSERT_EQ(appState.game->white(), "Ann");
        taps({"e7", "e6"});
        Strings asked;
        commandWith(IDM_SAVE_GAME, {[&asked, &c](Window* dialog) {
                        asked.push_back(getDlgItemText(dialog, IDC_SAVE_QUESTION));
                        asked.push_back(getDlgItemText(dialog, IDC_SAVE_REPLACE_GAME));
                        asked.push_back(isDlgItemEnabled(dialog, IDC_SAVE_REPLACE_GAME) ? "enabled"
                                                                                        : "off");
                        choose(c.choice)(dialog);
                    },
                    pressOk()});
        EXPECT_EQ(actionsLeft, 0u) << c.choice;
        EXPECT_EQ(asked, (Strings{"three games.pgn holds 3 games.",
                                  "Replace game 2, which it was loaded from", "enabled"}));
        EXPECT_TRUE(messages.empty()) << c.choice;
        const auto games = gamesOf(path);
        EXPECT_EQ(whitesOf(games), c.whites) << c.choice;
        ASSERT_GT(games.size(), size_t(c.saved));
        EXPECT_EQ(mainLineOf(*games[size_t(c.saved)]), extended) << c.choice;
        if (games.size() > 1) EXPECT_EQ(mainLineOf(*games[0]), morphy) << c.choice;
        EXPECT_FALSE(fileExists(path + ".tmp"));
        EXPECT_EQ(gameDatabase().current(), c.saved) << "Next game counts from the saved game";
    }
}

TEST_F(DialogTest, ASaveCancelledAtEitherQuestionWritesNothing) {
    const std::string path = rootFile("games.pgn");
    const std::string before = fileText(dataFile(THREE_GAMES));
    writeFile(path, before);
    fileAnswer = path;
    taps({"e2", "e4"});
    std::vector<std::string> seen;
    commandWith(IDM_SAVE_GAME, {[&seen](Window* dialog) {
                    // Not loaded from this file: there is no game of it to replace.
                    seen.push_back(isDlgItemEnabled(dialog, IDC_SAVE_REPLACE_GAME) ? "enabled"
                                                                                   : "off");
                    seen.push_back(isDlgButtonChecked(dialog, IDC_SAVE_APPEND) ? "append" : "");
                    endDialog(dialog, IDCANCEL);
                }});
    EXPECT_EQ(seen, (std::vector<std::string>{"off", "append"}));
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty()) << "no game details after a cancelled question";
    EXPECT_EQ(fileText(path), before);

    const CText white = appState.game->white();
    commandWith(IDM_SAVE_GAME, {pressOk(), [](Window* dialog) {
                                    typeDlgItemText(dialog, 350, "Somebody else");
                                    endDialog(dialog, IDCANCEL);
                                }});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileText(path), before);
    EXPECT_EQ(appState.game->white(), white);
    EXPECT_FALSE(fileExists(path + ".tmp"));
}

TEST_F(DialogTest, ReplacingAGameThatCannotBeWrittenLeavesTheFileAsItWas) {
    const std::string path = rootFile("games.pgn");
    const std::string before = fileText(dataFile(THREE_GAMES));
    writeFile(path, before);
    fileAnswer = path;
    commandWith(IDM_LOAD_GAME, {pressOk()});
    taps({"d1", "d2"}); // any change; the game is at its end
    FullDisk fullDisk;
    setSaveFileSystem(&fullDisk);
    commandWith(IDM_SAVE_GAME, {choose(IDC_SAVE_REPLACE_GAME), pressOk()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_EQ(messages, std::vector<std::string>{"Could not save the game to " + path});
    EXPECT_EQ(fileText(path), before);
    EXPECT_FALSE(fileExists(path + ".tmp"));
    EXPECT_EQ(gameDatabase().index().size(), 3u);
}
