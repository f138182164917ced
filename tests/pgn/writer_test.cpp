#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pgn/pgn_game.h"

namespace {

const std::string DEFAULT_TAGS = "[Event \"\"]\r\n[Site \"\"]\r\n[Date \"\"]\r\n[Round \"\"]\r\n"
                                 "[White \"\"]\r\n[Black \"\"]\r\n[Result \"*\"]\r\n\r\n";

CMoveNode* addMove(CMoveNode* parent, const char* text, uint8_t nag = 0, const char* comment = "") {
    auto* node =
        new CMoveNode(CMove(), CText(text), int16_t(parent->ply + 1), CText(comment), nag, 0);
    parent->addChild(node);
    return node;
}

// Adds the moves one after another; returns the last.
CMoveNode* addLine(CMoveNode* parent, const std::vector<const char*>& moves) {
    for (const char* move : moves)
        parent = addMove(parent, move);
    return parent;
}

struct TestGame {
    explicit TestGame(int rootPly = -1, int width = 75) {
        root = new CMoveNode(NO_MOVE, CText("root"), int16_t(rootPly), CText(""), 0, 0);
        game.setRoot(root);
        game.setOptions(width, true, true, true, true, false);
    }
    std::string moveText() {
        game.writeTags = false;
        return game.toString().c_str();
    }
    CPgnGame game;
    CMoveNode* root;
};

} // namespace

TEST(PgnWriter, WorkedExample) {
    TestGame test;
    CMoveNode* e5 = addLine(test.root, {"e4", "e5"});
    CMoveNode* nf3 = addMove(e5, "Nf3");
    addLine(e5, {"f4", "exf4"});
    addMove(nf3, "Nc6");
    EXPECT_EQ(std::string(test.game.toString().c_str()),
              DEFAULT_TAGS + "1. e4 e5 2. Nf3 (2. f4 exf4) 2.. Nc6 *\r\n\r\n");
    std::ostringstream out;
    test.game.writeTo(out);
    EXPECT_EQ(out.str(), DEFAULT_TAGS + "1. e4 e5 2. Nf3 (2. f4 exf4) 2.. Nc6 *\r\n\r\n");
}

TEST(PgnWriter, MoveTextCases) {
    struct Case {
        const char* name;
        int rootPly;
        int width;
        void (*build)(CGame&, CMoveNode*);
        std::string text;
    };
    const Case cases[] = {
        {"lines of short words hold at most the width", -1, 30,
         [](CGame&, CMoveNode* root) {
             addLine(root, {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6"});
         },
         "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6\r\n4. Ba4 Nf6 *\r\n\r\n"},
        {"black to move at move 12", 22, 75,
         [](CGame&, CMoveNode* root) {
             addLine(root, {"Kg7", "Kh1"});
         },
         "12.. Kg7 13. Kh1 *\r\n\r\n"},
        {"variation starting with a black move", 7, 75,
         [](CGame&, CMoveNode* root) {
             CMoveNode* e4 = addMove(root, "e4");
             addMove(e4, "e5");
             addMove(e4, "Nf6");
         },
         "5. e4 e5 (5.. Nf6) *\r\n\r\n"},
        {"nested variations and a variation on the first move", -1, 75,
         [](CGame&, CMoveNode* root) {
             CMoveNode* e4 = addMove(root, "e4");
             CMoveNode* d4 = addMove(root, "d4");
             CMoveNode* c5 = addMove(e4, "c5");
             addMove(e4, "e5");
             addMove(c5, "Nf3");
             CMoveNode* d5 = addMove(d4, "d5");
             addMove(d4, "Nf6");
             addMove(d5, "c4");
         },
         "1. e4 (1. d4 d5 (1.. Nf6) 2. c4) 1.. c5 (1.. e5) 2. Nf3 *\r\n\r\n"},
        {"glyphs as numbers", -1, 75,
         [](CGame&, CMoveNode* root) { addMove(addMove(root, "e4", 14), "e5", 0); },
         "1. e4 $14 e5 *\r\n\r\n"},
        {"glyphs as symbols and numbers", -1, 75,
         [](CGame& game, CMoveNode* root) {
             game.writeNagSymbols = true;
             addMove(addMove(root, "e4", 5), "e5", 14);
         },
         "1. e4!? $5 e5 $14 *\r\n\r\n"},
        {"glyphs as symbols only", -1, 75,
         [](CGame& game, CMoveNode* root) {
             game.writeNagSymbols = true;
             game.writeNagNumbers = false;
             addMove(root, "e4", 4);
         },
         "1. e4?? *\r\n\r\n"},
        {"comments, the empty one not written", -1, 75,
         [](CGame&, CMoveNode* root) {
             addMove(addMove(root, "e4", 1, "Best by test"), "e5", 0, "");
         },
         "1. e4 $1 {Best by test} e5 *\r\n\r\n"},
        {"comments off", -1, 75,
         [](CGame& game, CMoveNode* root) {
             game.writeComments = false;
             root->comment = "intro";
             addMove(root, "e4", 0, "gone");
         },
         "1. e4 *\r\n\r\n"},
        {"line breaks in a comment become blanks", -1, 75,
         [](CGame&, CMoveNode* root) { addMove(root, "e4", 0, "a\r\nb"); },
         "1. e4 {a  b} *\r\n\r\n"},
        {"variations off", -1, 75,
         [](CGame& game, CMoveNode* root) {
             game.writeVariations = false;
             addMove(root, "e4");
             addMove(root, "d4");
         },
         "1. e4 *\r\n\r\n"},
        {"no moves", -1, 75, [](CGame&, CMoveNode*) {}, "*\r\n\r\n"},
        {"the root's comment goes before the first move", -1, 75,
         [](CGame&, CMoveNode* root) {
             root->comment = "Intro";
             addMove(root, "e4");
         },
         "{Intro} 1. e4 *\r\n\r\n"},
        {"the root's comment without moves", -1, 75,
         [](CGame&, CMoveNode* root) { root->comment = "Only words"; }, "{Only words} *\r\n\r\n"},
        {"the new-game marker is not a comment", -1, 75,
         [](CGame&, CMoveNode* root) {
             root->comment = "rootnode";
             addMove(root, "e4");
         },
         "1. e4 *\r\n\r\n"},
        {"nor is it with a thinking time", -1, 75,
         [](CGame&, CMoveNode* root) {
             root->comment = "1500,rootnode";
             addMove(root, "e4");
         },
         "1. e4 *\r\n\r\n"},
        {"a thinking time alone is a comment", -1, 75,
         [](CGame&, CMoveNode* root) {
             root->comment = "0,";
             addMove(root, "e4");
         },
         "{0,} 1. e4 *\r\n\r\n"},
        {"the result tag ends the move text", -1, 75,
         [](CGame& game, CMoveNode* root) {
             game.setResult(CText("1/2-1/2"));
             addMove(root, "e4");
         },
         "1. e4 1/2-1/2\r\n\r\n"},
        {"an empty or unknown result is written as *", -1, 75,
         [](CGame& game, CMoveNode* root) {
             game.setResult(CText("1/2"));
             addMove(root, "e4");
         },
         "1. e4 *\r\n\r\n"},
    };
    for (const Case& test : cases) {
        TestGame game(test.rootPly, test.width);
        test.build(game.game, game.root);
        EXPECT_EQ(game.moveText(), test.text) << test.name;
    }
}

TEST(PgnWriter, LinesBreakOnlyBetweenWords) {
    struct Case {
        int width;
        std::string comment;
        std::string text;
    };
    const std::string x60(60, 'x');
    const std::string long40(40, 'L');
    const std::string long90(90, 'L');
    const std::string url = "https://lichess.org/study/AbCdEfGh";
    const Case cases[] = {
        // A word that does not fit moves to the next line whole, however long.
        {75, x60 + " " + long40, "1. e4 {" + x60 + "\r\n" + long40 + "} *\r\n\r\n"},
        {75, x60 + " " + std::string(20, 'S'),
         "1. e4 {" + x60 + "\r\n" + std::string(20, 'S') + "} *\r\n\r\n"},
        // Longer than a line: alone on its own line, the next word after it.
        {75, long90 + " end", "1. e4\r\n{" + long90 + "\r\nend} *\r\n\r\n"},
        {20, url + " " + url, "1. e4\r\n{" + url + "\r\n" + url + "}\r\n*\r\n\r\n"},
        // A UTF-8 character is never cut.
        {20, "\xE7\x99\xBD\xE6\x96\xB9\xE5\xBE\x97\xE5\x88\xB0\xE4\xBC\x98",
         "1. e4\r\n{\xE7\x99\xBD\xE6\x96\xB9\xE5\xBE\x97\xE5\x88\xB0\xE4\xBC\x98} *\r\n\r\n"},
    };
    for (const Case& test : cases) {
        TestGame game(-1, test.width);
        addMove(game.root, "e4", 0, test.comment.c_str());
        EXPECT_EQ(game.moveText(), test.text) << test.width << " " << test.comment;
    }
}

TEST(PgnWriter, EveryGlyphAndNullMoves) {
    TestGame test;
    CMoveNode* e4 = addMove(test.root, "e4", 14);
    e4->nags = {1, 14};
    CMoveNode* pass = addMove(e4, "--");
    // A glyph changed after reading replaces the list.
    pass->nags = {3, 4};
    pass->nag = 5;
    EXPECT_EQ(test.moveText(), "1. e4 $1 $14 -- $5 *\r\n\r\n");
}

TEST(PgnWriter, TagSection) {
    TestGame test;
    test.game.setTag("Event", CText("The \"Big\" one \\ 2"));
    test.game.setResult(CText(""));
    test.game.setTag("ECO", CText("B20"));
    test.game.setTag("White", CText("W"));
    EXPECT_EQ(std::string(test.game.toString().c_str()),
              "[Event \"The \\\"Big\\\" one \\\\ 2\"]\r\n[Site \"\"]\r\n[Date \"\"]\r\n"
              "[Round \"\"]\r\n[White \"W\"]\r\n[Black \"\"]\r\n[Result \"\"]\r\n"
              "[ECO \"B20\"]\r\n\r\n*\r\n\r\n");
}

TEST(PgnWriter, SetUpStandsBesideFen) {
    const char* const fen = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
    TestGame test;
    test.game.setTag("FEN", CText(fen));
    const std::string roster = DEFAULT_TAGS.substr(0, DEFAULT_TAGS.size() - 2);
    EXPECT_EQ(std::string(test.game.toString().c_str()),
              roster + "[SetUp \"1\"]\r\n[FEN \"" + fen + "\"]\r\n\r\n*\r\n\r\n");
    // A game that has its SetUp tag keeps it where it stands, once.
    TestGame both;
    both.game.setTag("FEN", CText(fen));
    both.game.setTag("SetUp", CText("1"));
    EXPECT_EQ(std::string(both.game.toString().c_str()),
              roster + "[FEN \"" + fen + "\"]\r\n[SetUp \"1\"]\r\n\r\n*\r\n\r\n");
}

TEST(PgnWriter, TextRanges) {
    TestGame test;
    CMoveNode* e4 = addMove(test.root, "e4");
    CMoveNode* e5 = addMove(e4, "e5");
    CMoveNode* nf3 = addMove(e5, "Nf3");
    CMoveNode* f4 = addMove(e5, "f4");
    CMoveNode* hidden = addMove(f4, "exf4");
    const std::string text = test.game.toString().c_str();
    const uint32_t base = uint32_t(DEFAULT_TAGS.size());
    ASSERT_EQ(text.substr(base), "1. e4 e5 2. Nf3 (2. f4 exf4) *\r\n\r\n");
    // Ranges start one past the first character the move produced and end one
    // past its last: "1. e4" is [base+1, base+6], " e5" [base+6, base+9].
    struct Case {
        CMoveNode* node;
        uint32_t start, end;
    };
    const Case cases[] = {{e4, base + 1, base + 6},
                          {e5, base + 6, base + 9},
                          {nf3, base + 9, base + 16},
                          {f4, base + 18, base + 23},
                          {hidden, base + 23, base + 28}};
    for (const Case& test : cases) {
        EXPECT_EQ(test.node->textStart, test.start) << test.node->moveText.c_str();
        EXPECT_EQ(test.node->textEnd, test.end) << test.node->moveText.c_str();
    }
    EXPECT_EQ(test.game.nodeAtTextPosition(base + 13), nf3);
    EXPECT_EQ(test.game.nodeAtTextPosition(base + 20), f4);

    test.game.writeVariations = false;
    test.game.toString();
    EXPECT_EQ(f4->textStart, 0u);
    EXPECT_EQ(hidden->textEnd, 0u);
    EXPECT_EQ(nf3->textStart, base + 9);
}

TEST(PgnWriter, DeepVariationsAndLongLinesCostNoStack) {
    TestGame test;
    CMoveNode* node = test.root;
    for (int i = 0; i < 100000; ++i)
        node = addMove(node, "Nf3");
    CMoveNode* varied = test.root->child(0);
    for (int i = 0; i < 100000; ++i) {
        CMoveNode* variation = addMove(varied->parent, "Nc3");
        varied = addMove(variation, "Nf6");
    }
    const std::string text = test.game.toString().c_str();
    EXPECT_GT(text.size(), 1000000u);
    EXPECT_EQ(text.substr(text.size() - 5), "*\r\n\r\n");
}
