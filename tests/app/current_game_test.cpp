// The operations on the current game: new game, moves into the tree, going to a
// node, taking over a loaded game, completing the tags.
#include "program.h"

#include "app/command_ids.h"
#include "pgn/pgn_game.h"
#include "platform/kernel/clock.h"
#include "platform/ui/menu.h"
#include "platform/ui/owner.h"

#include <cstdio>

using namespace platform;

namespace {

CMove moveIn(const CPosition& position, const char* from, const char* to) {
    CPosition copy(position);
    return copy.findMove(at(from), at(to), WHITE_QUEEN);
}

std::vector<std::string> childTexts(const CMoveNode* node) {
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < node->childCount(); ++i)
        texts.push_back(node->child(i)->moveText.c_str());
    return texts;
}

bool enabled(int command) {
    return buttonState(menuBarOf(shell.mainWindow), command) & TBSTATE_ENABLED;
}

} // namespace

TEST_F(ProgramTest, NewGameStartsAFreshRecord) {
    taps({"e2", "e4", "e7", "e5"});
    appState.selectedSquare = 3;
    appState.whiteUsedMs = 500;
    appState.coachScore = 12;
    appState.promotionPiece = WHITE_ROOK;
    appState.newGame();
    const CMoveNode* root = appState.game->root();
    EXPECT_EQ(appState.currentNode, root);
    EXPECT_EQ(root->move, NO_MOVE);
    EXPECT_STREQ(root->moveText.c_str(), "root");
    EXPECT_EQ(root->ply, -1);
    EXPECT_STREQ(root->comment.c_str(), "rootnode");
    EXPECT_FALSE(root->hasChildren());
    std::vector<std::string> tags;
    for (const CTagPair& pair : appState.game->tags())
        tags.push_back(std::string(pair.name.c_str()) + "=" + pair.value.c_str());
    EXPECT_EQ(tags, (std::vector<std::string>{
                        "Event=", "Site=", "Date=", "Round=", "White=", "Black=", "Result=*"}));
    char fen[FEN_BUFFER_SIZE];
    appState.position->getFen(fen);
    EXPECT_STREQ(fen, START_FEN);
    EXPECT_EQ(appState.selectedSquare, NO_MARK);
    EXPECT_EQ(appState.lastMove, NO_MOVE);
    EXPECT_EQ(appState.whiteUsedMs, 0u);
    EXPECT_EQ(appState.plyNumber, 1);
    EXPECT_EQ(appState.coachScore, NO_COACH_SCORE);
    EXPECT_EQ(appState.promotionPiece, EMPTY);
    EXPECT_TRUE(appState.showLevelLine);
    EXPECT_TRUE(appState.autoMove);
}

TEST_F(ProgramTest, MovesIntoTheTreeReplaceTheMainContinuation) {
    struct Case {
        const char* from;
        const char* to;
        std::vector<std::string> children; // of the node, afterwards
    };
    const Case cases[] = {
        {"e2", "e4", {"e4", "d4"}},
        {"d2", "d4", {"d4", "e4"}},
        {"c2", "c4", {"c4", "d4"}},
    };
    for (const Case& c : cases) {
        appState.newGame();
        // The root's children: e4 (with a continuation) as the main line, d4 as a variation.
        taps({"e2", "e4", "e7", "e5"});
        CMoveNode* root = appState.game->root();
        appState.goToNode(root);
        const CMove d4 = moveIn(*appState.position, "d2", "d4");
        ASSERT_TRUE(root->addChild(new CMoveNode(d4, CText("d4"), 0, CText(""), 0, 0)));
        ASSERT_EQ(childTexts(root), (std::vector<std::string>{"e4", "d4"}));
        const CMoveNode* e4 = root->child(0);

        tap(c.from);
        tap(c.to);
        settle();
        EXPECT_EQ(childTexts(root), c.children) << c.from << c.to;
        EXPECT_EQ(appState.currentNode, root->child(0));
        if (std::string(c.to) == "e4") {
            EXPECT_EQ(root->child(0), e4) << "no new node";
            EXPECT_EQ(childTexts(e4), (std::vector<std::string>{"e5"})) << "its line stays";
        }
        EXPECT_EQ(appState.currentNode->ply, 0);
    }
}

TEST_F(ProgramTest, GoingToANodeReplaysTheMovesAndSumsTheClocks) {
    taps({"e2", "e4", "e7", "e5", "g1", "f3", "b8", "c6", "f1", "b5"});
    // Thinking times: 100 ms per half-move for White, 1000 for Black.
    int index = 0;
    for (CMoveNode* node = appState.game->root()->child(0); node;
         node = node->hasChildren() ? node->child(0) : nullptr, ++index) {
        node->thinkTime = index % 2 == 0 ? 100 : 1000;
    }
    CMoveNode* afterNf3 = appState.game->root()->child(0)->child(0)->child(0);
    appState.goToNode(afterNf3);
    EXPECT_EQ(appState.plyNumber, 4);
    EXPECT_EQ(appState.whiteUsedMs, 200u);
    EXPECT_EQ(appState.blackUsedMs, 1000u);
    EXPECT_EQ(appState.lastMove, afterNf3->move);
    EXPECT_EQ(appState.position->at(at("f3")), WHITE_KNIGHT);
    EXPECT_EQ(appState.position->sideToMove(), BLACK);
    EXPECT_TRUE(enabled(IDM_BACK));
    EXPECT_TRUE(enabled(IDM_FORWARD));

    appState.selectedSquare = at("e2");
    appState.goToNode(appState.game->root());
    char fen[FEN_BUFFER_SIZE];
    appState.position->getFen(fen);
    EXPECT_STREQ(fen, START_FEN);
    EXPECT_EQ(appState.plyNumber, 1);
    EXPECT_EQ(appState.whiteUsedMs + appState.blackUsedMs, 0u);
    EXPECT_EQ(appState.lastMove, NO_MOVE);
    EXPECT_EQ(appState.selectedSquare, NO_MARK);
    EXPECT_FALSE(enabled(IDM_BACK));
    EXPECT_TRUE(enabled(IDM_FORWARD));

    appState.goToNode(appState.game->mainLineEnd());
    EXPECT_EQ(appState.plyNumber, 6);
    EXPECT_EQ(appState.position->at(at("b5")), WHITE_BISHOP);
    EXPECT_FALSE(enabled(IDM_FORWARD));
}

TEST_F(ProgramTest, LoadedGamesOpenAtTheirStartOrAtTheEndOfTheirMainLine) {
    struct Case {
        const char* fen; // the "FEN" tag, or null
        const char* expectedSquare;
        Piece expectedPiece;
        int plyNumber;
    };
    const Case cases[] = {
        {nullptr, "e4", WHITE_PAWN, 3},
        {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "e2", WHITE_PAWN, 1},
    };
    for (const Case& c : cases) {
        auto* game = new CPgnGame;
        CPosition position;
        if (c.fen) {
            position.setFen(c.fen);
            game->setTag("FEN", CText(c.fen));
        }
        auto* root = new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0);
        game->setRoot(root);
        const CMove e4 = position.findMove(at("e2"), at("e4"), WHITE_QUEEN);
        auto* first = new CMoveNode(e4, CText("e4"), 0, CText(""), 0, 0);
        root->addChild(first);
        position.makeMove(e4);
        const CMove reply = position.findMove(at("e8"), at("d8"), BLACK_QUEEN) != NO_MOVE
                                ? position.findMove(at("e8"), at("d8"), BLACK_QUEEN)
                                : position.findMove(at("e7"), at("e5"), BLACK_QUEEN);
        first->addChild(new CMoveNode(reply, CText("reply"), 1, CText(""), 0, 0));
        appState.setLoadedGame(game);
        EXPECT_EQ(appState.game.get(), game);
        EXPECT_EQ(appState.position->at(at(c.expectedSquare)), c.expectedPiece);
        EXPECT_EQ(appState.plyNumber, c.plyNumber);
        EXPECT_TRUE(appState.showLevelLine);
    }
    const CGame* kept = appState.game.get();
    appState.setLoadedGame(nullptr);
    EXPECT_EQ(appState.game.get(), kept);
}

TEST_F(ProgramTest, CompletingTheTags) {
    const std::string owner = deviceOwnerName();
    const DateTime now = localDateTime();
    char today[16];
    std::snprintf(today, sizeof today, "%04d.%02d.%02d", now.year, now.month, now.day);

    appState.completeTags(false);
    EXPECT_EQ(std::string(appState.game->white().c_str()), owner);
    EXPECT_STREQ(appState.game->black().c_str(), "Tallowmere Chess");
    EXPECT_STREQ(appState.game->date().c_str(), today);
    EXPECT_TRUE(appState.game->tag("Time").isEmpty());
    appState.completeTags(true);
    EXPECT_EQ(appState.game->tag("Time").length(), 8u);

    // Black to move: the user plays Black.
    appState.newGame();
    taps({"e2", "e4"});
    appState.game->setDate(CText("1999.01.02"));
    appState.completeTags(false);
    EXPECT_STREQ(appState.game->white().c_str(), "Tallowmere Chess");
    EXPECT_EQ(std::string(appState.game->black().c_str()), owner);
    EXPECT_STREQ(appState.game->date().c_str(), "1999.01.02");

    // After a mate the names stay empty; an empty result follows the mate.
    appState.newGame();
    taps({"f2", "f3", "e7", "e5", "g2", "g4", "d8", "h4"});
    appState.game->setResult(CText(""));
    appState.completeTags(false);
    EXPECT_TRUE(appState.game->white().isEmpty());
    EXPECT_STREQ(appState.game->result().c_str(), "0-1");
    appState.game->setResult(CText("*"));
    appState.completeTags(false);
    EXPECT_STREQ(appState.game->result().c_str(), "*");
}
