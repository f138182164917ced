// Games that end on the board: the message, the comment and the result.
#include "program.h"

#include "app/adjudication.h"

TEST_F(ProgramTest, FoolsMateIsAnnouncedCommentedAndRecorded) {
    taps({"f2", "f3", "e7", "e5", "g2", "g4", "d8", "h4"});
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"f3", "e5", "g4", "Qh4#"}));
    EXPECT_EQ(messages, (std::vector<std::string>{"Checkmate"}));
    EXPECT_STREQ(appState.currentNode->comment.c_str(), "Black mates");
    EXPECT_STREQ(appState.game->result().c_str(), "0-1");
    EXPECT_FALSE(appState.modalOpen);
}

TEST_F(ProgramTest, EndingsByReason) {
    struct Case {
        const char* fen; // null: the normal start
        std::vector<const char*> taps;
        std::string message, comment, result;
    };
    const Case cases[] = {
        {"7k/5Q2/6K1/8/8/8/8/8 w - - 0 1", {"f7", "g7"}, "Checkmate", "White mates", "1-0"},
        {"7k/5Q2/5K2/8/8/8/8/8 w - - 0 1", {"f7", "g6"}, "Stalemate, draw", "Stalemate", "1/2-1/2"},
        {"7k/8/5K2/8/8/5n2/8/6R1 b - - 0 1",
         {"f3", "g1"},
         "Draw by insufficient mating material",
         "Draw by insufficient material",
         "1/2-1/2"},
        {nullptr,
         {"g1", "f3", "g8", "f6", "f3", "g1", "f6", "g8", "g1", "f3", "g8", "f6", "f3", "g1", "f6",
          "g8"},
         "Draw by threefold repetition",
         "Draw by threefold repetition",
         "1/2-1/2"},
        {"7k/8/5K2/8/8/8/P7/8 w - - 0 1", {"a2", "a3"}, "", "", "*"},
    };
    for (const Case& c : cases) {
        if (c.fen) {
            startFrom(c.fen);
        } else {
            appState.newGame();
        }
        messages.clear();
        for (const char* square : c.taps) {
            tap(square);
            settle();
        }
        const std::string name = c.fen ? c.fen : "start";
        ASSERT_EQ(mainLine().size(), c.taps.size() / 2) << name;
        EXPECT_EQ(messages.empty() ? "" : messages.back(), c.message) << name;
        EXPECT_LE(messages.size(), 1u) << name;
        EXPECT_EQ(std::string(appState.currentNode->comment.c_str()), c.comment) << name;
        EXPECT_EQ(std::string(appState.game->result().c_str()), c.result) << name;
    }
}

TEST_F(ProgramTest, MateInAVariationKeepsTheResultAndReplacesAComment) {
    // Main line 1. f3 e5 2. g4 Nc6, with 1... e6 as a variation, as a file would give it.
    taps({"f2", "f3", "e7", "e5", "g2", "g4", "b8", "c6"});
    CMoveNode* f3 = appState.game->root()->child(0);
    CPosition position;
    position.makeCoordinateMove("f2f3");
    const CMove e6 = position.findMove(at("e7"), at("e6"), BLACK_QUEEN);
    ASSERT_TRUE(f3->addChild(new CMoveNode(e6, CText("e6"), 1, CText(""), 0, 0)));
    appState.goToNode(f3->child(1));

    taps({"g2", "g4", "d8", "h4"});
    EXPECT_EQ(messages, (std::vector<std::string>{"Checkmate"}));
    EXPECT_STREQ(appState.currentNode->comment.c_str(), "Black mates");
    EXPECT_STREQ(appState.game->result().c_str(), "*") << "not the end of the main line";
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"f3", "e5", "g4", "Nc6"}));

    // The same mate again, its node carrying a comment from a file: reported again, and
    // the comment is the mate's alone.
    CMoveNode* mate = appState.currentNode;
    mate->setComment(CText("a comment from a file"));
    appState.goToNode(mate->parent);
    messages.clear();
    taps({"d8", "h4"});
    EXPECT_EQ(appState.currentNode, mate);
    EXPECT_EQ(messages, (std::vector<std::string>{"Checkmate"}));
    EXPECT_STREQ(mate->comment.c_str(), "Black mates");
}

TEST_F(ProgramTest, AdjudicationWhileTheGameGoesOnChangesNothing) {
    taps({"e2", "e4"});
    const CAdjudication result = adjudicate();
    EXPECT_FALSE(result.over);
    EXPECT_EQ(result.reason, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_STREQ(appState.currentNode->comment.c_str(), "");
    EXPECT_STREQ(appState.game->result().c_str(), "*");
}

TEST_F(ProgramTest, TimeRunsOutAsALossOrAgainstABareKingAsADraw) {
    struct Case {
        const char* fen;
        int loser;
        std::string message, comment, result;
    };
    const Case cases[] = {
        {"4k3/8/8/8/8/8/8/R3K3 b - - 0 1", BLACK, "Black lost on time", "Black lost on time",
         "1-0"},
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", WHITE,
         "White\xB4s time is up, draw: Black has only the king",
         "White out of time against a bare king, draw", "1/2-1/2"},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", WHITE,
         "White\xB4s time is up, draw: Black has only the king",
         "White out of time against a bare king, draw", "1/2-1/2"},
        {"4k3/7p/8/8/8/8/8/4K3 b - - 0 1", BLACK,
         "Black\xB4s time is up, draw: White has only the king",
         "Black out of time against a bare king, draw", "1/2-1/2"},
        // A lone knight cannot mate, yet it is more than a bare king.
        {"4k3/8/8/8/8/8/8/1N2K3 b - - 0 1", BLACK, "Black lost on time", "Black lost on time",
         "1-0"},
        {"4kn2/8/8/8/8/8/8/4K3 w - - 0 1", WHITE, "White lost on time", "White lost on time",
         "0-1"},
    };
    for (const Case& c : cases) {
        startFrom(c.fen);
        messages.clear();
        adjudicateTimeLoss(c.loser);
        EXPECT_EQ(messages, (std::vector<std::string>{c.message})) << c.fen;
        EXPECT_EQ(std::string(appState.currentNode->comment.c_str()), c.comment) << c.fen;
        EXPECT_EQ(std::string(appState.game->result().c_str()), c.result) << c.fen;
    }
}
