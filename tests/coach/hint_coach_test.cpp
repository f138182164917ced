// Hint and coach in the whole program, with the scripted engine answering the user.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_ids.h"
#include "engine/engine_report.h"
#include "link_fixture.h"
#include "platform/ui/messagebox.h"

using namespace platform;

namespace {

using Lines = std::vector<std::string>;

struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
};

class HintCoachTest : public EngineLinkTest {
protected:
    void SetUp() override {
        EngineLinkTest::SetUp();
        appState.coach = true;
        setMessageBoxHook(
            [this](const std::string& text, const std::string& caption, unsigned flags) {
                boxes.push_back(Box{text, caption, flags});
                return answer;
            });
    }

    // The user plays from-to; the engine answers with its script's move and score.
    void play(const char* from, const char* to, const std::string& reply, int score,
              int moveCount = 20) {
        scriptedEngine().setScript("depth 3; current " + reply + " 1 " + std::to_string(moveCount) +
                                   "; pv " + std::to_string(score) + " " + reply);
        const int searches = scriptedEngine().count("AnalyseEnded");
        taps({from, to});
        ASSERT_TRUE(runUntil([searches] {
            return scriptedEngine().count("AnalyseEnded") > searches && !engineBusy();
        }));
        settle();
    }

    std::vector<Box> boxes;
    int answer = IDNO;
};

const char COACH_QUESTION[] = "I don't think Nf3 was a good move! Do you want to take it back?";

} // namespace

TEST_F(HintCoachTest, TheCoachAsksAfterAJumpInTheEnginesScore) {
    struct Case {
        const char* what;
        int before, after, moveCount;
        bool asks;
    };
    const Case cases[] = {
        {"20 to 260", 20, 260, 20, true},
        {"20 to 250", 20, 250, 20, false},
        {"640 to 1000", 640, 1000, 20, true},
        {"642 to 1000", 642, 1000, 20, false},
        {"one legal reply before", 20, 900, 20, false},
    };
    for (const Case& c : cases) {
        appState.newGame();
        boxes.clear();
        const bool oneReply = std::string(c.what) == "one legal reply before";
        play("e2", "e4", "e7e5", c.before, oneReply ? 1 : 20);
        ASSERT_EQ(mainLine(), (Lines{"e4", "e5"})) << c.what;
        EXPECT_EQ(appState.coachScore, oneReply ? NO_COACH_SCORE : c.before) << c.what;
        play("g1", "f3", "b8c6", c.after, c.moveCount);
        EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3", "Nc6"})) << c.what << ": No plays on";
        if (c.asks) {
            ASSERT_EQ(boxes.size(), 1u) << c.what;
            EXPECT_EQ(boxes[0].text, COACH_QUESTION);
            EXPECT_EQ(boxes[0].caption, "Coach warns");
            EXPECT_EQ(boxes[0].flags, MB_YESNO | MB_ICONWARNING);
        } else {
            EXPECT_TRUE(boxes.empty()) << c.what;
        }
    }
}

TEST_F(HintCoachTest, YesTakesTheMoveBackAndDeletesItWithoutContinuation) {
    play("e2", "e4", "e7e5", 20);
    answer = IDYES;
    play("g1", "f3", "b8c6", 500);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"})) << "the engine's move is not played";
    EXPECT_EQ(appState.currentNode->moveText, "e5");
    EXPECT_FALSE(appState.currentNode->hasChildren()) << "the user's move is gone";
    EXPECT_EQ(appState.plyNumber, 3);
    EXPECT_TRUE(squareShows("g1", WHITE_KNIGHT));
    EXPECT_TRUE(squareShows("f3", EMPTY));

    // The user moves again, and the coach compares with the same score.
    boxes.clear();
    answer = IDNO;
    play("d2", "d4", "e5d4", 100);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "d4", "exd4"}));
}

TEST_F(HintCoachTest, YesKeepsAMoveThatHasAContinuation) {
    play("e2", "e4", "e7e5", 20);
    appState.autoAnswer = false;
    taps({"g1", "f3"});
    taps({"b8", "c6"});
    command(IDM_BACK);
    command(IDM_BACK);
    // Nf3 again, with Nc6 after it in the tree; the engine answers as the coach's e5 left it.
    appState.autoAnswer = true;
    answer = IDYES;
    play("g1", "f3", "g8f6", 900);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, COACH_QUESTION);
    EXPECT_EQ(appState.currentNode->moveText, "e5");
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3", "Nc6"})) << "Nf3 and its continuation stay";
    EXPECT_EQ(appState.plyNumber, 3);
}

TEST_F(HintCoachTest, AfterMoveNowTheEnginesMoveIsNotQuestioned) {
    play("e2", "e4", "e7e5", 20);
    appState.autoAnswer = false;
    taps({"g1", "f3"});
    scriptedEngine().setScript("current b8c6 1 20; pv 900 b8c6");
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([] { return scriptedEngine().count("AnalyseEnded") >= 2; }));
    ASSERT_TRUE(runUntilEngineIdle());
    settle();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3", "Nc6"}));
    EXPECT_EQ(appState.coachScore, 900) << "the move after it is judged again";
}

TEST_F(HintCoachTest, TwoUserMovesSinceTheEnginesMoveAreNotQuestioned) {
    play("e2", "e4", "e7e5", 20);
    appState.autoAnswer = false;
    taps({"g1", "f3"});
    appState.autoAnswer = true;
    play("b8", "c6", "f1b5", 900);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5", "Nf3", "Nc6", "Bb5"}));
}

TEST_F(HintCoachTest, NewGameForgetsTheCoach) {
    play("e2", "e4", "e7e5", 20);
    EXPECT_NE(appState.coachNode, nullptr);
    answer = IDOK; // "Do you really want a new game ?"
    command(IDM_NEW_GAME);
    EXPECT_EQ(appState.coachScore, NO_COACH_SCORE);
    EXPECT_EQ(appState.coachNode, nullptr);
}

TEST_F(HintCoachTest, AHintIsShownAndNotPlayed) {
    scriptedEngine().setScript("depth 2; pv 30 e2e4 e7e5");
    scriptedEngine().clearCalls();
    const size_t soundsBefore = sounds.size();
    postMessage(window(), WM_COMMAND, IDM_HINT, 0);
    // The animation runs, slow, although animations are off.
    ASSERT_TRUE(runUntil([] { return appState.animation.load() != nullptr; }));
    EXPECT_TRUE(appState.hintRunning == false);
    settle();
    EXPECT_TRUE(boxes.empty());
    const Lines level = scriptedEngine().callsFromLast("SetBook");
    ASSERT_GE(level.size(), 3u);
    EXPECT_EQ(level[1], "SetTimeControl 1 5") << "its own period, whatever the level";
    EXPECT_EQ(level[2], "SetLevel 1 5 0 99");
    EXPECT_GT(sounds.size(), soundsBefore) << "the move sound";
    EXPECT_TRUE(mainLine().empty());
    EXPECT_EQ(appState.currentNode, appState.game->root());
    EXPECT_TRUE(squareShows("e2", WHITE_PAWN));
    EXPECT_TRUE(squareShows("e4", EMPTY));
    EXPECT_STREQ(engineReport.snapshot().pvText, "") << "the hint's line is not kept";
    EXPECT_FALSE(engineBusy());
}

TEST_F(HintCoachTest, WithoutALineThereIsNoHint) {
    for (const char* script : {"", "depth 2; pv 0", "pv 0 e2e5"}) {
        boxes.clear();
        scriptedEngine().setScript(script);
        command(IDM_HINT);
        ASSERT_TRUE(runUntil([this] { return !boxes.empty(); })) << script;
        settle();
        ASSERT_EQ(boxes.size(), 1u) << script;
        EXPECT_EQ(boxes[0].text, "Sorry, no hint found.") << script;
        EXPECT_EQ(boxes[0].caption, "Tallowmere Chess");
        EXPECT_TRUE(mainLine().empty());
    }
}

TEST_F(HintCoachTest, AHintWhileTheEngineThinksIsRefused) {
    scriptedEngine().setScript("pv 10 e7e5; wait");
    taps({"e2", "e4"});
    ASSERT_TRUE(runUntilSearching());
    command(IDM_HINT);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Hint not possible while engine is thinking");
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 1) << "no hint search";
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntilEngineIdle());
    settle();
    EXPECT_EQ(mainLine(), (Lines{"e4", "e5"}));
}

TEST_F(HintCoachTest, AMoveWhereTheEnginesMoveWasCutFromTheTreeIsNotQuestioned) {
    play("e2", "e4", "e7e5", 20);
    command(IDM_BACK);
    command(IDM_BACK);
    appState.autoAnswer = false;
    // d4 replaces e4 and the engine's e5 with it; d5 is a new node at the same ply, which
    // the allocator may well place where e5 was.
    taps({"d2", "d4"});
    taps({"d7", "d5"});
    appState.autoAnswer = true;
    play("c2", "c4", "d5c4", 900);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(mainLine(), (Lines{"d4", "d5", "c4", "dxc4"}));
}
