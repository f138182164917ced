// Start-up and exit around the engine link: a module that is missing or incomplete ends
// the program with code 16 and says why; the options and the autosaved game come back at
// the next start; a damaged settings file gives the defaults and a program that plays.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "../../support/temp_folder.h"
#include "app/command_ids.h"
#include "app/startup.h"
#include "app/stored_state.h"
#include "link_fixture.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/paths.h"
#include "platform/ui/registry.h"
#include "settings/autosave.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

#include "../../support/file_text.h"

using namespace platform;

namespace {

struct ProbeRun {
    int exitCode = -1;
    std::string output;
};

// The program started in a process of its own, its engine looked for in folder; faults
// are those of the scripted engine.
ProbeRun runProbe(const std::string& folder, const std::string& root, int faults = 0) {
    const std::string command = "TALLOWMERE_ROOT='" + root +
                                "' SCRIPTED_ENGINE_FAULTS=" + std::to_string(faults) +
                                " timeout 120 '" STARTUP_PROBE "' '" + folder + "' 2>/dev/null";
    ProbeRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe))
        run.output += buffer.data();
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(StartUp, WithoutItsEngineTheProgramSaysWhyAndEndsWith16) {
    struct Case {
        const char* what;
        std::string folder;
        const char* garbage; // written as the folder's Tarnwick.pge; null: none
        std::string message;
    };
    TempFolder empty, broken, root;
    const Case cases[] = {
        {"no module", empty.path(), nullptr,
         "Couldn\xB4t load '" + empty.path() + "Tarnwick.pge'. Error #2"},
        {"a file that is no module", broken.path(), "MZ this is no engine",
         "Couldn\xB4t load '" + broken.path() + "Tarnwick.pge'. Error #8"},
        {"a module without SetTimeControl", INCOMPLETE_ENGINE_FOLDER, nullptr,
         "Couldn\xB4t load '" INCOMPLETE_ENGINE_FOLDER "Tarnwick.pge'. The export SetTimeControl "
         "is missing"},
    };
    for (const Case& c : cases) {
        if (c.garbage) std::ofstream(c.folder + "Tarnwick.pge") << c.garbage;
        const ProbeRun run = runProbe(c.folder, root.path());
        EXPECT_EQ(run.exitCode, 16) << c.what;
        EXPECT_EQ(run.output, "[Tallowmere Chess] " + c.message + "\n") << c.what;
    }
}

TEST(StartUp, AnEngineStillHangingWhenTheProgramEndsLetsItEndCleanly) {
    // The thread stays inside StartEngine to the end: the program must neither wait for
    // it nor unload the module under it, and the sanitizers find nothing to report.
    TempFolder root;
    const ProbeRun run = runProbe(SCRIPTED_ENGINE_FOLDER, root.path(), 1);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "") << "the panel says it, no box";
}

TEST(StartUp, OptionsWrittenAtTheEndOfARunAreReadAtTheNextStart) {
    TempFolder root;
    const std::string file = root.path() + "config/Tallowmere/TallowmereChess.ini";
    std::filesystem::create_directories(root.path() + "config/Tallowmere");
    std::ofstream(file) << "[software]\n"
                           "Tallowmere\\TallowmereChess\\Settings\\IDC_CBANIMATION=1\n"
                           "Tallowmere\\TallowmereChess\\Settings\\IDC_CBSQUARES=5\n"
                           "Tallowmere\\TallowmereChess\\Settings\\IDC_CBPIECESETS=9\n"
                           "Tallowmere\\TallowmereChess\\Settings\\IDC_CBGAMETAGS=0\n";
    for (int run = 0; run < 2; ++run) {
        const ProbeRun probe = runProbe(SCRIPTED_ENGINE_FOLDER, root.path());
        EXPECT_EQ(probe.exitCode, 0) << probe.output;
        const std::string stored = fileText(file);
        for (const char* line :
             {"IDC_CBANIMATION=1", "IDC_CBSQUARES=5", "IDC_CBPIECESETS=0", "IDC_CBGAMETAGS=0",
              "IDC_CBGAMECOMMENTS=1", "IDC_CBENGINE=@ByteArray(Scripted 1.0)", "LEVEL_MODE=3"}) {
            EXPECT_NE(stored.find(std::string("Settings\\") + line + "\n"), std::string::npos)
                << "run " << run << ": " << line << " in\n"
                << stored;
        }
    }
}

class StoredStateTest : public EngineLinkTest {
protected:
    void TearDown() override {
        EngineLinkTest::TearDown();
        // The next test draws with the pieces and board it expects.
        appState.boardBitmapId = 138;
        appState.pieceBitmapId24 = 135;
        appState.pieceBitmapId30 = 116;
    }
};

TEST_F(StoredStateTest, OptionsAreReadIntoTheStateAndWrittenBack) {
    CSettings& settings = *appState.settings;
    settings.setInt("IDC_CBAUTOANSWER", 0);
    settings.setInt("IDC_CBHIGHLIGHTLASTMOVE", 1);
    settings.setInt("IDC_CBANIMATION", 1);
    settings.setInt("IDC_CBSQUARES", 12);
    settings.setInt("IDC_CBPIECESETS", 1);
    loadOptions(appState);
    EXPECT_FALSE(appState.autoAnswer);
    EXPECT_TRUE(appState.highlightLastMove);
    EXPECT_EQ(appState.animationSpeed, 1);
    EXPECT_EQ(appState.boardBitmapId, 138) << "an unknown texture shows Blue Marble";
    EXPECT_EQ(appState.pieceBitmapId24, 142);
    EXPECT_EQ(appState.pieceBitmapId30, 144);
    EXPECT_STREQ(appState.engineName.c_str(), "") << "no engine name stored yet";

    appState.engineName = "Scripted 1.0";
    appState.flipped = true;
    saveOptions(appState);
    int32_t value = -1;
    EXPECT_TRUE(settings.getInt("IDC_CBSQUARES", &value));
    EXPECT_EQ(value, 0) << "saved back as the texture shown";
    EXPECT_TRUE(settings.getInt("IDM_FLIP_BOARD", &value));
    EXPECT_EQ(value, 1);
    CText name;
    EXPECT_TRUE(settings.getString("IDC_CBENGINE", &name));
    EXPECT_STREQ(name.c_str(), "Scripted 1.0");
}

TEST_F(StoredStateTest, ADamagedSettingsFileGivesTheDefaultsAndAProgramThatPlays) {
    sendMessage(window(), WM_CLOSE, 0, 0);
    exitInstance(0);
    {
        std::ofstream file(registryFilePath(), std::ios::binary | std::ios::trunc);
        file << "[software\x01\xff]\n\x80\x81=\n=====\n\0garbage";
    }
    registryReopen();
    loadOptions(appState);
    EXPECT_TRUE(appState.autoAnswer);
    EXPECT_EQ(appState.animationSpeed, 2);
    appState.animationSpeed = 0;
    ASSERT_NE(initInstance(), nullptr);
    EXPECT_EQ(appState.level.mode, LEVEL_FIXED);
    EXPECT_EQ(appState.level.fixedPlies, 1);
    scriptedEngine().setScript("pv 0 e7e5");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
}

TEST_F(StoredStateTest, TheGameSavedLastIsBackAtTheNextStartWithItsTimes) {
    scriptedEngine().setScript("pv 0 e7e5");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    ASSERT_TRUE(runUntilEngineIdle());
    appState.currentNode->thinkTime = 4321;
    appState.currentNode->parent->thinkTime = 1234;
    command(IDM_EXIT); // saves the game
    exitInstance(0);

    appState.newGame();
    ASSERT_NE(initInstance(), nullptr);
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4", "e5"}));
    EXPECT_EQ(appState.currentNode->moveText, "e5") << "at the end of its main line";
    EXPECT_EQ(appState.whiteUsedMs, 1234u);
    EXPECT_EQ(appState.blackUsedMs, 4321u);
    EXPECT_EQ(appState.plyNumber, 3);
}

TEST_F(StoredStateTest, TheSlotStoredLastIsRestoredEvenBeyondTheFile) {
    sendMessage(window(), WM_CLOSE, 0, 0);
    exitInstance(0);
    std::ofstream(autosaveFilePath(), std::ios::binary | std::ios::trunc)
        << "[Event \"g0\"]\n\n1. e4 *\n\n[Event \"g1\"]\n\n1. d4 *\n\n[Event \"g2\"]\n\n1. c4 *\n";
    appState.settings->setInt(AUTOSAVE_SLOT_KEY, 5);
    appState.newGame();
    ASSERT_NE(initInstance(), nullptr);
    EXPECT_EQ(appState.game->event(), "g2");
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"c4"}));
}

TEST_F(StoredStateTest, LevelsAreReadAtStartAndWrittenAtExit) {
    appState.level.setBlitz(180, 2);
    sendMessage(window(), WM_CLOSE, 0, 0);
    exitInstance(0);
    appState.level = LevelSettings();
    ASSERT_NE(initInstance(), nullptr);
    EXPECT_EQ(appState.level.mode, LEVEL_BLITZ);
    EXPECT_EQ(appState.level.blitzSeconds, 180);
    EXPECT_EQ(appState.level.blitzIncrement, 2);
}

TEST(StartUp, TheStoredUciEngineIsStartedAndOneThatIsNoEngineGivesTarnwick) {
    struct Case {
        std::string command;
        const char* engineStored;
        const char* message; // the start of the one message shown; null: none
    };
    const Case cases[] = {
        {std::string("'") + SCRIPTED_UCI_PATH + "' normal", "Scripted UCI 1.0", nullptr},
        {"/bin/true", "Tarnwick", "[Tallowmere Chess] The engine '/bin/true' did not start"},
    };
    for (const Case& c : cases) {
        TempFolder root;
        const std::string file = root.path() + "config/Tallowmere/TallowmereChess.ini";
        std::filesystem::create_directories(root.path() + "config/Tallowmere");
        std::ofstream(file) << "[software]\n"
                               "Tallowmere\\TallowmereChess\\Settings\\EngineCommand=@ByteArray("
                            << c.command << ")\n";
        const ProbeRun probe = runProbe(TARNWICK_FOLDER, root.path());
        EXPECT_EQ(probe.exitCode, 0) << probe.output;
        if (c.message) {
            EXPECT_EQ(probe.output.rfind(c.message, 0), 0u) << probe.output;
        } else {
            EXPECT_EQ(probe.output, "");
        }
        const std::string stored = fileText(file);
        EXPECT_NE(stored.find(std::string("IDC_CBENGINE=@ByteArray(") + c.engineStored),
                  std::string::npos)
            << stored;
        EXPECT_NE(stored.find("EngineCommand=@ByteArray(" + c.command + ")"), std::string::npos)
            << "the choice is kept: " << stored;
    }
}
