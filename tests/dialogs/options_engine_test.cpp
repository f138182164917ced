// The Options sheet's Engine row: Tarnwick or a UCI engine, typed or browsed for; the
// choice is stored and plays at once, and one that does not start is said so.
#include "app/command_ids.h"
#include "app/dialog_options_engine.h"
#include "app/engine_choice.h"
#include "dialog_fixture.h"
#include "platform/ui/dialog.h"

#include <string>

using namespace platform;

namespace {

class OptionsEngineTest : public DialogTest {
protected:
    // Opens Options, notes what the Engine row shows, acts, and presses OK.
    void options(std::vector<DialogScript::Action> actions) {
        actions.insert(actions.begin(), [this](Window* page) {
            shownRow = getDlgItemText(page, IDC_ENGINE);
            shownCommand = getDlgItemText(page, IDC_ENGINE_COMMAND);
        });
        actions.push_back(pressOk());
        commandWith(IDM_OPTIONS, std::move(actions));
        EXPECT_EQ(actionsLeft, 0u);
        settle();
    }
    static DialogScript::Action chooseRow(int row) {
        return [row](Window* page) { chooseDlgListItem(page, IDC_ENGINE, row); };
    }
    static DialogScript::Action typeCommand(std::string text) {
        return [text](Window* page) { typeDlgItemText(page, IDC_ENGINE_COMMAND, text.c_str()); };
    }
    bool isTarnwick() const {
        return std::string(appState.engineName.c_str()).rfind("Tarnwick", 0) == 0;
    }

    std::string shownRow, shownCommand;
};

const std::string SCRIPTED = std::string("'") + SCRIPTED_UCI_PATH + "' normal";

} // namespace

TEST_F(OptionsEngineTest, AUciEngineTypedInPlaysAtOnceAndIsShownNextTime) {
    options({chooseRow(1), typeCommand(" " + SCRIPTED + " ")});
    EXPECT_EQ(shownRow, "Tarnwick") << "the default";
    EXPECT_EQ(shownCommand, "");
    EXPECT_TRUE(messages.empty());
    EXPECT_STREQ(appState.engineName.c_str(), "Scripted UCI 1.0");
    EXPECT_EQ(storedEngineCommand(), SCRIPTED);

    // Opened again it shows the choice; back to Tarnwick keeps the command typed.
    options({chooseRow(0)});
    EXPECT_EQ(shownRow, "UCI engine...");
    EXPECT_EQ(shownCommand, SCRIPTED);
    EXPECT_TRUE(isTarnwick());
    EXPECT_EQ(storedEngineCommand(), "");

    // A UCI engine with no command is Tarnwick.
    options({chooseRow(1), typeCommand("  ")});
    EXPECT_TRUE(isTarnwick());
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsEngineTest, BrowseQuotesThePathAndAFileThatIsNoEngineFallsBackToTarnwick) {
    // A file with a blank in its name that is not a program.
    const std::string notAnEngine = rootFile("not an engine.txt");
    writeFile(notAnEngine, "hello\n");
    fileAnswer = notAnEngine;
    options({[](Window* page) { clickDlgItem(page, IDC_ENGINE_BROWSE); }});
    ASSERT_EQ(fileAsks.size(), 1u);
    EXPECT_TRUE(fileAsks[0].mustExist);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("not an engine.txt"), std::string::npos) << messages[0];
    EXPECT_TRUE(isTarnwick());
    // The choice stays for the user to correct, quoted as one word.
    EXPECT_EQ(storedEngineCommand(), "'" + notAnEngine + "'");
    options({});
    EXPECT_EQ(shownRow, "UCI engine...");
    EXPECT_EQ(shownCommand, "'" + notAnEngine + "'");

    // Cancelling Browse changes nothing.
    fileAnswer.clear();
    options({[](Window* page) { clickDlgItem(page, IDC_ENGINE_BROWSE); }, chooseRow(0)});
    EXPECT_EQ(storedEngineCommand(), "");
}
