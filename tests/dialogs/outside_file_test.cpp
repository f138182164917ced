// A game file that comes from outside the program, from the command line or dropped onto the
// window, opens as Load game opens the file chosen in its dialog.
#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/dialog_game_list.h"
#include "dialog_fixture.h"
#include "platform/ui/application.h"
#include "platform/ui/dialog.h"
#include "platform/ui/file_drop.h"
#include "platform/ui/listview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include "../support/file_text.h"

using namespace platform;

namespace {

using Strings = std::vector<std::string>;

const char ONE_GAME[] = "[White \"Cy\"]\n[Black \"Di\"]\n[Result \"*\"]\n\n1. c4 e5 *\n";
const char READ_IN_PART[] = "[Event \"Study\"]\r\n\r\n1. e4 e5 2. Ke3 Nc6 *\r\n";

// What the game list showed when it opened; Return then opens the game selected.
struct ListSeen {
    std::string title;
    int selected = -2;
};

DialogScript::Action openSelected(ListSeen* seen) {
    return [seen](Window* dialog) {
        seen->title = dialogTitle(dialog);
        seen->selected = listViewCurSel(dialog, IDC_LIST_GAMES);
        if (QWidget* modal = QApplication::activeModalWidget())
            QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
    };
}

class OutsideFileTest : public DialogTest {
protected:
    // Lets messages run, with the script answering dialogs, until nothing is left to do.
    void runWith(std::vector<DialogScript::Action> actions, bool (*done)()) {
        DialogScript script(std::move(actions));
        QElapsedTimer elapsed;
        elapsed.start();
        while (!done() && elapsed.elapsed() < 10000)
            processMessages(5);
        processMessages(20);
        actionsLeft = script.remaining();
        unexpectedDialogs = script.unexpected;
    }

    void openFromCommandLine(const std::string& path, std::vector<DialogScript::Action> actions) {
        openGameFromCommandLine(window(), pathsFromCommandLine(("\"" + path + "\"").c_str()));
        runWith(std::move(actions), [] { return !gameFileFromCommandLinePending(); });
    }

    void drop(const Strings& paths, std::vector<DialogScript::Action> actions) {
        postDroppedFiles(window(), paths);
        // Posted: the first round of messages delivers it.
        runWith(std::move(actions), [] { return true; });
    }
};

} // namespace

TEST_F(OutsideFileTest, TheCommandLinesFileOpensAsLoadGameOpensIt) {
    taps({"e2", "e4"});
    const std::string several = rootFile("three games.pgn");
    writeFile(several, fileText(dataFile("dialogs/three_games.pgn")));
    ListSeen seen;
    openFromCommandLine(several, {openSelected(&seen)});
    EXPECT_EQ(seen.title, "Games in three games.pgn");
    EXPECT_EQ(seen.selected, 0) << "the first game";
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_EQ(appState.game->white(), "Morphy, Paul");
    EXPECT_TRUE(messages.empty());

    struct Case {
        const char* name;
        const char* text; // null: no such file
        std::string message;
        Strings line;
    } cases[] = {
        {"one.pgn", ONE_GAME, "", {"c4", "e5"}},
        {"study.pgn",
         READ_IN_PART,
         "The game was read in part: move 2. Ke3 does not read: the rest of the game is kept "
         "in a comment",
         {"e4", "e5"}},
        {"gone.pgn", nullptr, "Could not open " + rootFile("gone.pgn"), {"e4", "e5"}},
    };
    for (const Case& c : cases) {
        messages.clear();
        if (c.text) writeFile(rootFile(c.name), c.text);
        openFromCommandLine(rootFile(c.name), {});
        EXPECT_TRUE(unexpectedDialogs.empty()) << c.name << ": opened without the list";
        EXPECT_EQ(messages, c.message.empty() ? Strings{} : Strings{c.message}) << c.name;
        EXPECT_EQ(mainLine(), c.line) << c.name;
    }
}

TEST_F(OutsideFileTest, ADroppedFileOpensTheFirstOfSeveralAndNotBehindADialog) {
    const std::string one = rootFile("one.pgn");
    const std::string several = rootFile("three games.pgn");
    writeFile(one, ONE_GAME);
    writeFile(several, fileText(dataFile("dialogs/three_games.pgn")));

    drop({one, several}, {});
    EXPECT_TRUE(unexpectedDialogs.empty()) << "the first file only, of one game";
    EXPECT_EQ(mainLine(), (Strings{"c4", "e5"}));

    ListSeen seen;
    drop({several}, {openSelected(&seen)});
    EXPECT_EQ(seen.title, "Games in three games.pgn");
    EXPECT_EQ(appState.game->white(), "Morphy, Paul");

    // Behind the About box, as Load game cannot be chosen then, the drop opens nothing.
    const CGame* before = appState.game.get();
    commandWith(IDM_ABOUT, {[one](Window*) {
                                postDroppedFiles(shell.mainWindow, {one});
                                processMessages(50);
                            },
                            pressOk()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(appState.game.get(), before);
    EXPECT_TRUE(messages.empty());
}
