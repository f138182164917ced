// The engine link in the whole program, with the scripted engine: what the engine is told
// for each level, which of its moves are played and which are not, and the commands that
// stop it while it thinks.
#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/stored_state.h"
#include "engine/engine_report.h"
#include "link_fixture.h"
#include "pgn/pgn_game.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/paths.h"
#include "platform/ui/window.h"
#include "settings/autosave.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

#include "../../support/read_pgn.h"

using namespace platform;

namespace {

using Lines = std::vector<std::string>;

std::string documentsBook() {
    return "SetBook " + documentsFolder() + "zorbook.gbk 2";
}

// Nineteen plies: Black is to play its tenth move.
const char RUY_LOPEZ[] = "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 "
                         "7. Bb3 d6 8. c3 O-O 9. h3 Nb8 10. d4 *\n";

void loadPgn(const std::string& text) {
    std::unique_ptr<CGame> game = readPgn(text).game;
    ASSERT_TRUE(game);
    appState.setLoadedGame(game.release());
}

LevelSettings fixed(int plies, int seconds) {
    LevelSettings level;
    level.setFixed(plies, seconds);
    return level;
}

} // namespace

TEST_F(EngineLinkTest, StartUpLoadsTheModuleAndStartsItsEngine) {
    EXPECT_STREQ(appState.engineName.c_str(), "Scripted 1.0");
    EXPECT_EQ(scriptedEngine().calls(), (Lines{"StartEngine 512"})) << "512 KB fit";
    EXPECT_EQ(appState.hashInUseKB, 512);
    EXPECT_GT(appState.availableKB, 512);
    EXPECT_FALSE(engineBusy());

    // The next start deletes a stale module left beside the executable.
    sendMessage(window(), WM_CLOSE, 0, 0);
    exitInstance(0);
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
    const std::string stale = std::string(SCRIPTED_ENGINE_FOLDER) + "Tarnwick.dll";
    std::ofstream(stale) << "old";
    ASSERT_NE(initInstance(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_EQ(scriptedEngine().count("StartEngine"), 2);
}

TEST_F(EngineLinkTest, TheUsersMoveIsAnsweredWithTheEnginesMove) {
    scriptedEngine().setScript("depth 1; current e7e5 1 20; pv 15 e7e5 g1f3");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"}));
    EXPECT_EQ(scriptedEngine().calls(),
              (Lines{"StartEngine 512", "SetPosition " + std::string(START_FEN), "EnterMove e2e4",
                     documentsBook(), "SetLevel 1 999999 0 1", "StartAnalyse 0", "AnalyseEnded"}));
    ASSERT_TRUE(runUntilEngineIdle());
    EXPECT_EQ(appState.plyNumber, 3);
    const CMoveNode* reply = appState.currentNode;
    EXPECT_EQ(reply->moveText, "e5");
    EXPECT_EQ(uint64_t(reply->thinkTime), appState.blackUsedMs) << "the search's length, Black's";
    EXPECT_EQ(uint64_t(reply->parent->thinkTime), appState.whiteUsedMs);
    EXPECT_NE(appState.humanClockStart, 0u) << "the user's clock runs from the engine's move";
    EXPECT_STREQ(engineReport.snapshot().pvSan, "1..e5 2.Nf3");
    settle();
    EXPECT_TRUE(squareShows("e5", BLACK_PAWN));
}

TEST_F(EngineLinkTest, EachLevelBecomesTheEnginesCalls) {
    struct Case {
        const char* what;
        LevelSettings level;
        const char* pgn; // null: a new game
        uint64_t whiteUsedMs, blackUsedMs;
        Lines calls; // from SetBook on, up to the search
    };
    LevelSettings blitz;
    blitz.setBlitz(300, 5);
    LevelSettings tournament;
    tournament.setTournament(40, 600, 20, 300, 0, 120);
    LevelSettings unknown;
    unknown.mode = 7;
    const Case cases[] = {
        {"Novice, the first start", LevelSettings(), nullptr, 0, 0, {"SetLevel 1 999999 0 1"}},
        {"Advanced", fixed(3, NO_TIME_LIMIT), nullptr, 0, 0, {"SetLevel 1 999999 0 3"}},
        {"30sec/move", fixed(99, 30), nullptr, 0, 0, {"SetTimeControl 1 30", "SetLevel 1 30 0 99"}},
        {"Infinite", fixed(99, NO_TIME_LIMIT), nullptr, 0, 0, {"SetLevel 1 999999 0 99"}},
        {"blitz 300+5, Black at move 10",
         blitz,
         RUY_LOPEZ,
         9000,
         20999,
         {"SetTimeControl 0 0", "SetLevel 0 325 5 99"}},
        {"tournament, White at move 1",
         tournament,
         nullptr,
         61000,
         0,
         {"SetTimeControl 40 600", "SetLevel 40 539 0 99"}},
        {"a mode the program does not know", unknown, nullptr, 0, 0, {"SetLevel 1 5 0 99"}},
    };
    for (const Case& c : cases) {
        if (c.pgn) {
            loadPgn(c.pgn);
        } else {
            appState.newGame();
        }
        appState.level = c.level;
        appState.whiteUsedMs = c.whiteUsedMs;
        appState.blackUsedMs = c.blackUsedMs;
        scriptedEngine().clearCalls();
        command(IDM_MOVE_NOW); // the engine plays for the side to move
        ASSERT_TRUE(runUntilEngineIdle()) << c.what;
        Lines expected = {documentsBook()};
        expected.insert(expected.end(), c.calls.begin(), c.calls.end());
        expected.push_back("StartAnalyse 0");
        expected.push_back("AnalyseEnded");
        EXPECT_EQ(scriptedEngine().callsFromLast("SetBook"), expected) << c.what;
    }
}

TEST_F(EngineLinkTest, TheGameIsSentAsItsStartAndTheMovesToTheCurrentNode) {
    startFrom("4k3/8/8/8/8/8/4P3/4K3 w - - 0 40");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilEngineIdle());
    EXPECT_EQ(scriptedEngine().callsFromLast("SetPosition"),
              (Lines{"SetPosition 4k3/8/8/8/8/8/4P3/4K3 w - - 0 40", "EnterMove e2e4",
                     documentsBook(), "SetLevel 1 999999 0 1", "StartAnalyse 0", "AnalyseEnded"}));

    appState.settings->setString(BOOK_KEY, "/opt/books/wide.gbk");
    loadPgn(RUY_LOPEZ);
    command(IDM_BACK);
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntilEngineIdle());
    const Lines sent = scriptedEngine().callsFromLast("SetPosition");
    ASSERT_GE(sent.size(), 19u);
    EXPECT_EQ(sent[1], "EnterMove e2e4");
    EXPECT_EQ(sent[9], "EnterMove e1g1") << "castling as the king's move";
    EXPECT_EQ(sent[19], "SetBook /opt/books/wide.gbk 2");
    EXPECT_EQ(
        std::count_if(sent.begin(), sent.end(),
                      [](const std::string& call) { return call.rfind("EnterMove", 0) == 0; }),
        18)
        << "the moves up to the current node, not to the end of the line";
    EXPECT_EQ(appState.plyNumber, 19);
}

TEST_F(EngineLinkTest, MoveNowPlaysTheBestLineSoFar) {
    scriptedEngine().setScript("depth 2; pv 20 e7e5 g1f3; depth 3; wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    EXPECT_TRUE(engineBusy());
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"}));
    ASSERT_TRUE(runUntilEngineIdle());
}

TEST_F(EngineLinkTest, CommandsThatLeaveThePositionWhileTheEngineThinksPlayNothing) {
    struct Case {
        const char* what;
        int command;
        Lines line; // the main line afterwards
        bool atRoot;
    };
    const Case cases[] = {
        {"New game", IDM_NEW_GAME, {}, true},
        {"Back", IDM_BACK, {"e4"}, true},
        {"Fast back", IDM_FAST_BACK, {"e4"}, true},
    };
    for (const Case& c : cases) {
        appState.newGame();
        scriptedEngine().setScript("pv 20 e7e5; wait");
        const int searches = scriptedEngine().count("StartAnalyse");
        taps({"e2", "e4"});
        ASSERT_TRUE(runUntilSearching(searches + 1)) << c.what;
        command(c.command);
        EXPECT_FALSE(engineBusy()) << c.what << ": the search has ended";
        runFor(150);
        settle();
        EXPECT_EQ(mainLine(), c.line) << c.what;
        EXPECT_EQ(appState.currentNode == appState.game->root(), c.atRoot) << c.what;
        EXPECT_TRUE(squareShows("e5", EMPTY)) << c.what;
        if (c.command == IDM_NEW_GAME) {
            EXPECT_EQ(scriptedEngine().calls().back(), "ClearHashtables") << "after the stop";
        }
    }

    // The board takes moves again, and the engine answers them.
    scriptedEngine().setScript("pv 0 d7d5");
    taps({"d2", "d4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    EXPECT_EQ(mainLine(), (Lines{"d4", "d5"}));
}

TEST_F(EngineLinkTest, ExitWhileTheEngineThinksPlaysNothingAndAutosavesTheGame) {
    scriptedEngine().setScript("pv 20 e7e5; wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    command(IDM_EXIT);
    EXPECT_EQ(window(), nullptr) << "the window is closed";
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
    std::unique_ptr<CGame> saved = readFromAutosaveRing(*appState.settings, autosaveFilePath());
    ASSERT_TRUE(saved);
    ASSERT_TRUE(saved->root()->hasChildren());
    EXPECT_EQ(saved->root()->child(0)->moveText, "e4");
    EXPECT_FALSE(saved->root()->child(0)->hasChildren()) << "the engine's move was not played";
}

TEST_F(EngineLinkTest, LinesThatGiveNoMovePlayNothingAndTheUserMovesAgain) {
    const char* const scripts[] = {
        "pv 0 e2e5",          // no legal move
        "pv 0",               // an empty line
        "depth 3; nodes 500", // no line at all
        "pv 0 d2d4",          // a move of the user's side
        "pv 0 zz",            // no move text
    };
    appState.showThinking = true;
    for (const char* script : scripts) {
        appState.newGame();
        scriptedEngine().setScript(script);
        taps({"e2", "e4"});
        ASSERT_TRUE(runUntilEngineIdle()) << script;
        runFor(50);
        EXPECT_EQ(mainLine(), (Lines{"e4"})) << script;
        EXPECT_FALSE(engineBusy()) << script;
        EXPECT_TRUE(runUntilPanelSays("The engine found no move")) << script;
    }
    appState.newGame();
    scriptedEngine().setScript("pv 0 e2e5");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilEngineIdle());
    // The user plays the other side; the panel shows the game again, and the engine answers.
    scriptedEngine().setScript("pv 0 g1f3");
    taps({"e7", "e5"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 3; }));
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3"}));
    ASSERT_TRUE(runUntilEngineIdle());
    EXPECT_TRUE(runUntilPanelSays("Last move 2. Nf3"));
}

TEST_F(EngineLinkTest, WithoutAutoAnswerOnlyMoveNowMakesTheEnginePlay) {
    appState.autoAnswer = false;
    scriptedEngine().setScript("pv 0 e7e5");
    taps({"e2", "e4", "e7", "e5"});
    runFor(100);
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"}));
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 0);
    scriptedEngine().setScript("pv 0 g1f3");
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 3; }));
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3"})) << "the engine plays for the side to move";
}

TEST_F(EngineLinkTest, APromotionLetterOfEitherCaseGivesTheSameMove) {
    for (const char* line : {"pv 0 a2a1Q", "pv 0 a2a1q", "pv 0 a2a1N"}) {
        startFrom("k7/8/8/8/8/8/p7/7K b - - 0 1");
        scriptedEngine().setScript(line);
        command(IDM_MOVE_NOW);
        ASSERT_TRUE(runUntilEngineIdle()) << line;
        ASSERT_EQ(mainLine().size(), 1u) << line;
        const bool knight = std::string(line).back() == 'N';
        EXPECT_EQ(mainLine()[0], knight ? "a1=N" : "a1=Q+") << line;
        EXPECT_EQ(appState.position->at(squareFromText("a1")), knight ? BLACK_KNIGHT : BLACK_QUEEN);
    }
}

TEST_F(EngineLinkTest, TheBoardRefusesInputWhileTheEngineThinks) {
    scriptedEngine().setScript("wait; pv 0 e7e5");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    taps({"d7", "d5"});
    drag("g8", "f6");
    EXPECT_EQ(mainLine(), (Lines{"e4"}));
    EXPECT_EQ(appState.selectedSquare, NO_MARK);
    EXPECT_EQ(appState.targetSquare, NO_MARK);
    EXPECT_TRUE(squareShows("g8", BLACK_KNIGHT));
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntilEngineIdle());
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"}));
}

TEST_F(EngineLinkTest, TheEnginesMoveWaitsForAnOpenDialog) {
    scriptedEngine().setScript("pv 0 e7e5");
    appState.modalOpen = true;
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([] { return scriptedEngine().count("AnalyseEnded") == 1; }));
    runFor(150);
    EXPECT_EQ(mainLine(), (Lines{"e4"})) << "held back while the dialog is open";
    EXPECT_TRUE(engineBusy()) << "the board waits for the engine's move";
    appState.modalOpen = false;
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
    EXPECT_FALSE(engineBusy());
}

TEST_F(EngineLinkTest, TheEnginesMoveIsAnimatedAndMarkedWithTheArrow) {
    appState.highlightLastMove = true;
    appState.animationSpeed = 3;
    scriptedEngine().setScript("pv 0 g8f6");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([] { return appState.animation.load() != nullptr; }));
    ASSERT_TRUE(runUntilEngineIdle());
    settle();
    EXPECT_EQ(mainLine(), (Lines{"e4", "Nf6"}));
    EXPECT_EQ(appState.highlightedMove, appState.currentNode->move) << "the engine's move, marked";
    EXPECT_TRUE(sounds.size() >= 2) << "both moves sounded";
}

TEST_F(EngineLinkTest, ExitWhileTheEnginesMoveIsAnimatedClosesCleanly) {
    appState.animationSpeed = 1;
    scriptedEngine().setScript("pv 0 g8f6");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2 && appState.animation.load(); }));
    command(IDM_EXIT);
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
    EXPECT_EQ(appState.animation.load(), nullptr) << "the program's end ends the animation too";
}

TEST_F(EngineLinkTest, LowMemoryEndsTheEngineAndActivationStartsItAgain) {
    QWidget other;
    other.show();
    other.activateWindow();
    runFor(50);
    if (isForegroundWindow(window())) GTEST_SKIP() << "no window can be put in front off-screen";
    sendMessage(window(), WM_HIBERNATE, 0, 0);
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
    EXPECT_TRUE(shell.lowMemoryStop.load());
    taps({"e2", "e4"});
    runFor(50);
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 0) << "no engine play until activation";

    scriptedEngine().setScript("pv 0 e7e5");
    sendMessage(window(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(shell.lowMemoryStop.load());
    EXPECT_EQ(scriptedEngine().count("StartEngine"), 2) << "sized again from the memory now free";
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([this] { return mainLine().size() == 2; }));
}

TEST_F(EngineLinkTest, InTheForegroundLowMemoryKeepsTheEngine) {
    setForegroundWindow(window());
    runFor(50);
    if (!isForegroundWindow(window()))
        GTEST_SKIP() << "the window cannot be put in front off-screen";
    sendMessage(window(), WM_HIBERNATE, 0, 0);
    EXPECT_FALSE(shell.lowMemoryStop.load());
    EXPECT_EQ(scriptedEngine().count("ExitEngine"), 0);
}

TEST_F(EngineLinkTest, AMovePlayedAgainTakesItsNewTimeAndTheClocksStayTheSums) {
    appState.autoAnswer = false;
    taps({"e2", "e4"});
    command(IDM_BACK);
    appState.humanClockStart = tickCount() - 1500;
    taps({"e2", "e4"});
    ASSERT_EQ(mainLine(), (Lines{"e4"})) << "the same node, played again";
    EXPECT_GE(appState.currentNode->thinkTime, 1500);
    EXPECT_EQ(appState.whiteUsedMs, uint64_t(appState.currentNode->thinkTime));
    command(IDM_BACK);
    EXPECT_EQ(appState.whiteUsedMs, 0u);
    command(IDM_FORWARD);
    EXPECT_EQ(appState.whiteUsedMs, uint64_t(appState.currentNode->thinkTime));
}
