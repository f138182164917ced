#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game.h"
#include "game/result_texts.h"

namespace {

std::vector<std::string> tagNames(const CGame& game) {
    std::vector<std::string> names;
    for (const CTagPair& pair : game.tags())
        names.emplace_back(pair.name.c_str());
    return names;
}

CMoveNode* makeNode(const char* text, int ply) {
    return new CMoveNode(CMove(0, 4, uint8_t(ply), 7), CText(text), int16_t(ply), CText(""), 0, 0);
}

const std::vector<std::string> ROSTER = {"Event", "Site",  "Date",  "Round",
                                         "White", "Black", "Result"};

} // namespace

TEST(Game, NewGameHoldsTheSevenTagRosterAndDefaultOptions) {
    CGame game;
    EXPECT_EQ(tagNames(game), ROSTER);
    EXPECT_EQ(std::string(game.result().c_str()), "*");
    EXPECT_TRUE(game.event().isEmpty());
    EXPECT_EQ(game.root(), nullptr);
    EXPECT_EQ(game.mainLineEnd(), nullptr);

    int32_t width;
    bool tags, variations, comments, numbers, symbols;
    game.getOptions(width, tags, variations, comments, numbers, symbols);
    EXPECT_EQ(width, 40);
    EXPECT_TRUE(tags && variations && comments && numbers);
    EXPECT_FALSE(symbols);
    game.setOptions(75, false, true, false, true, true);
    game.getOptions(width, tags, variations, comments, numbers, symbols);
    EXPECT_EQ(width, 75);
    EXPECT_FALSE(tags);
    EXPECT_TRUE(variations);
    EXPECT_FALSE(comments);
    EXPECT_TRUE(numbers && symbols);
}

TEST(Game, TagsKeepTheirPlaceAndNamesAreCaseSensitive) {
    CGame game;
    game.setTag("Annotator", CText("Ann"));
    game.setEvent(CText("Open"));
    std::vector<std::string> expected = ROSTER;
    expected.push_back("Annotator");
    EXPECT_EQ(tagNames(game), expected);
    EXPECT_EQ(std::string(game.event().c_str()), "Open");
    EXPECT_TRUE(game.tag("event").isEmpty());
    EXPECT_TRUE(game.tag("Missing").isEmpty());
    EXPECT_TRUE(game.eco().isEmpty());

    game.setWhite(CText("W"));
    game.setBlack(CText("B"));
    game.setSite(CText("S"));
    game.setDate(CText("2004.03.15"));
    game.setRound(CText("3"));
    game.setResult(CText("1-0"));
    EXPECT_EQ(std::string(game.white().c_str()), "W");
    EXPECT_EQ(std::string(game.black().c_str()), "B");
    EXPECT_EQ(std::string(game.site().c_str()), "S");
    EXPECT_EQ(std::string(game.date().c_str()), "2004.03.15");
    EXPECT_EQ(std::string(game.tag("Round").c_str()), "3");
    EXPECT_EQ(std::string(game.result().c_str()), "1-0");
    EXPECT_EQ(tagNames(game), expected);
}

TEST(Game, OtherTagNamesListsTagsBeyondTheKnownOnes) {
    CGame game;
    std::vector<CText> known;
    for (const std::string& name : ROSTER)
        known.emplace_back(name.c_str());
    EXPECT_TRUE(game.otherTagNames(known).empty());
    game.setTag("FEN", CText("8/8/8/8/8/8/8/8 w - - 0 1"));
    game.setTag("ECO", CText("B20"));
    const std::vector<CText> others = game.otherTagNames(known);
    ASSERT_EQ(others.size(), 2u);
    EXPECT_EQ(std::string(others[0].c_str()), "FEN");
    EXPECT_EQ(std::string(others[1].c_str()), "ECO");
}

TEST(Game, MainLineEndAndTextPositions) {
    CGame game;
    CMoveNode* root = makeNode("root", -1);
    game.setRoot(root);
    EXPECT_EQ(game.mainLineEnd(), root);
    EXPECT_EQ(game.nodeAtTextPosition(0), nullptr); // never the root

    CMoveNode* e4 = makeNode("e4", 0);
    CMoveNode* d4 = makeNode("d4", 0);
    CMoveNode* e5 = makeNode("e5", 1);
    root->addChild(e4);
    root->addChild(d4);
    e4->addChild(e5);
    EXPECT_EQ(game.mainLineEnd(), e5);
    e4->textStart = 1, e4->textEnd = 4;
    e5->textStart = 5, e5->textEnd = 8;
    d4->textStart = 10, d4->textEnd = 14;
    root->textStart = 0, root->textEnd = 100;
    EXPECT_EQ(game.nodeAtTextPosition(3), e4);
    EXPECT_EQ(game.nodeAtTextPosition(8), e5);
    EXPECT_EQ(game.nodeAtTextPosition(12), d4);
    EXPECT_EQ(game.nodeAtTextPosition(50), nullptr);

    struct Collect : CNodeVisitor {
        std::string texts;
        void visit(CMoveNode& node) override { texts += std::string(node.moveText.c_str()) + " "; }
    } visitor;
    game.forEachNode(visitor);
    EXPECT_EQ(visitor.texts, "root e4 e5 d4 ");

    game.setRoot(root); // the same root again must not destroy it
    EXPECT_EQ(game.root(), root);
    game.setRoot(makeNode("root", -1));
    EXPECT_EQ(game.mainLineEnd(), game.root());
}

TEST(ResultTexts, EveryReasonHasItsMessageCommentAndResult) {
    struct Case {
        int reason;
        int sideToMove;
        const char* message;
        const char* comment;
        const char* result;
    };
    const Case cases[] = {
        {1, 0, "Checkmate", "Black mates", "0-1"},
        {1, 1, "Checkmate", "White mates", "1-0"},
        {2, 0, "Stalemate, draw", "Stalemate", "1/2-1/2"},
        {3, 1, "Draw by threefold repetition", "Draw by threefold repetition", "1/2-1/2"},
        {4, 0, "Draw by 50-moves-rule", "Draw by 50-moves-rule", "1/2-1/2"},
        {5, 1, "Draw by insufficient mating material", "Draw by insufficient material", "1/2-1/2"},
    };
    for (const Case& test : cases) {
        CResultTexts texts{};
        ASSERT_TRUE(resultTexts(test.reason, test.sideToMove, texts)) << test.reason;
        EXPECT_STREQ(texts.message, test.message);
        EXPECT_STREQ(texts.comment, test.comment);
        EXPECT_STREQ(texts.result, test.result);
    }
    CResultTexts untouched{"m", "c", "r"};
    for (int reason : {0, 6, -1}) {
        EXPECT_FALSE(resultTexts(reason, 0, untouched));
        EXPECT_STREQ(untouched.message, "m");
    }
}
