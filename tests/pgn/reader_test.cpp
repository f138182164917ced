#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pgn/pgn_reader.h"
#include "tree_text.h"

namespace {

std::string tag(const CGame& game, const char* name) {
    return game.tag(name).c_str();
}

// The plies along the main line, root first.
std::vector<int> mainLinePlies(const CGame& game) {
    std::vector<int> plies;
    for (const CMoveNode* node = game.root(); node;
         node = node->hasChildren() ? node->child(0) : nullptr)
        plies.push_back(node->ply);
    return plies;
}

const char* const FAILED = "FAILED";

std::string readTree(const std::string& text) {
    ReadResult result = readPgn(text);
    return result.game ? treeText(*result.game) : FAILED;
}

} // namespace

TEST(PgnReader, MoveText) {
    struct Case {
        std::string text;
        std::string tree;
    };
    const Case cases[] = {
        {"1. e4 e5 2. Nf3 *", "e4 e5 Nf3"},
        {"1. e4 (1. d4 d5) 1... e5 *", "e4 (d4 d5) e5"},
        // A move repeated at the start of a variation merges into the existing one.
        {"1. e4 (1. e4 c5) e5 *", "e4 c5 (e5)"},
        {"1. e4 e5 (1... c5 2. Nf3 (2. c3) 2... d6) (1... e6) 2. Nf3 *",
         "e4 e5 (c5 Nf3 (c3) d6) (e6) Nf3"},
        // Suffixes become glyphs; the last glyph wins.
        {"1. e4! e5? 2. Nf3!! Nc6?? 3. Bb5!? a6?! *", "e4$1 e5$2 Nf3$3 Nc6$4 Bb5$5 a6$6"},
        {"1. e4!!? *", "e4"},
        {"1. e4! e?5! 2. Nf3!+ *", "e4$1 e5$2 Nf3+$1"},
        {"1. e4 $14 $2 *", "e4$14$2"},
        {"1. e4! $14 *", "e4$1$14"},
        {"1. e4 $0 $3 *", "e4$3"},
        {"1. e4 $300 *", "e4$44"},
        // Comments and glyphs in any order after a move: all kept, in order.
        {"1. e4 {c} $1 {d} *", "e4$1{c d}"},
        {"1. e4 $1 $2 {c} $3 *", "e4$1$2$3{c}"},
        // Comments: before the first move on the root, after a move on it, after
        // "(" on the node before the varied move.
        {"{Intro} 1. e4 {Good} e5 *", "{Intro} e4{Good} e5"},
        {"1. e4 e5 ({Instead} 1... c5) *", "e4{Instead} e5 (c5)"},
        // A comment never overwrites the one before it: after "(", before a
        // move number, before ")" after a nested variation.
        {"1. e4 {Best by test} e5 ({Also good is} 1... c5) *",
         "e4{Best by test Also good is} e5 (c5)"},
        {"1. e4 {a} {b} 1... {c} e5 *", "e4{a b c} e5"},
        {"1. e4 e5 2. Nf3 (2. Nc3 Nc6 (2... Nf6) {c}) *", "e4 e5 Nf3 (Nc3 Nc6{c} (Nf6))"},
        {"1. e4 (1. d4) {after} $1 e5 *", "e4$1{after} (d4) e5"},
        {"1. e4 {old} e5 {} *", "e4{old} e5"},
        {"1. e4 {x} 1... e5 *", "e4{x} e5"},
        // Comments that follow one another are all kept.
        {"1. e4 { Well done! } { [%csl Gf6] } *", "e4{Well done! [%csl Gf6]}"},
        {"1. e4 {a} {} {b} *", "e4{a b}"},
        {"1. e4 {first} e5 2. Nf3 {second} *", "e4{first} e5 Nf3{second}"},
        // Line breaks and blank runs in comments read as one blank.
        {"1. e4 {a\r\n  b   c \r\n} *", "e4{a b c}"},
        {std::string("1. e4 {\0\t a\tb} *", 16), "e4{a\tb}"},
        // Move numbers in every form, or none.
        {"1.e4 1...e5 2 Nf3 2.. Nc6 3 . Bb5 *", "e4 e5 Nf3 Nc6 Bb5"},
        {"e4 e5 Nf3 *", "e4 e5 Nf3"},
        // Results end the move text.
        {"1. e4 1-0", "e4"},
        {"1. e4 e5 0-1", "e4 e5"},
        {"1. e4 1/2-1/2", "e4"},
        {"1. e4", "e4"},
        {"*", ""},
        // Forms other programs write.
        {"1. e4 e5 2. Nf3 Nf6 3. Bc4 Bc5 4. 0-0 0-0 *", "e4 e5 Nf3 Nf6 Bc4 Bc5 0-0 0-0"},
        {"1. e2-e4 e7e5 2. Ng1-f3 *", "e2-e4 e7e5 Ng1-f3"},
        {"1. e4 d5 2. e5 f5 3. exf6 e.p. *", "e4 d5 e5 f5 exf6"},
        {"1. e4 d5 2. e5 f5 3. exf6e.p. Nxf6 *", "e4 d5 e5 f5 exf6 Nxf6"},
        {"1. e4 d5 2. e5 f5 3. exf6 ep Nxf6 *", "e4 d5 e5 f5 exf6 Nxf6"},
        {"1. e4 d5 2. e5 f5 3. exf6ep *", "e4 d5 e5 f5 exf6ep"},
        {"1. e4 {[%clk 0:03:00]} e5 {[%clk 0:02:59]} *", "e4{[%clk 0:03:00]} e5{[%clk 0:02:59]}"},
        {"1. e4 ; to the end of the line\r\ne5 *", "e4 e5"},
        {"1. e4\n%escaped line\ne5 *", "e4 e5"},
        {"1. e4 \xE2\x80\xA6 e5 *", "e4 e5"},
        // Failures: a token that is not a move where a move belongs, a move that
        // is not legal, a move number at the end.
        // Null moves, when the side to move is not in check.
        {"1. e4 -- 2. d4 Z0 *", "e4 -- d4 --"},
        {"1. e4 (1. -- e5) d5 *", "e4 (-- e5) d5"},
        {"1. e4 f6 2. Qh5+ -- *", "e4 f6 Qh5+{--}"},
        // A move that does not read in the main line ends it there; the rest of
        // the text is kept in a comment (its braces as brackets).
        {"1. e4 ) e5 *", "e4{) e5}"},
        {"1. e4 < e5 *", "e4{< e5}"},
        {"1. e4 e5 2. Nf3 Nc9 {good} 3. Bb5 1-0", "e4 e5 Nf3{Nc9 (good) 3. Bb5}"},
        // Nothing that reads: the game fails.
        {"$1 1. e4 *", FAILED},
        {"1. e5 *", FAILED},
        // Digits read as a file would make "15" the move a7-a5; a word that
        // starts like a move number is never a move.
        {"1. e4 2. 15 *", "e4{2. 15}"},
        {"1. !2f4 *", FAILED},
        {"1. 2f4 *", FAILED},
        {"1. e4 e5 2.", "e4 e5{2.}"},
        {"1. e4 \"open string", "e4"},
        {"1. \"open string", FAILED},
        {"1. e4 {open comment", "e4"},
        // "(" with no move before it in its line.
        {"( 1. e4 ) *", FAILED},
        {"1. e4 ((1. d4)) *", "e4"},
        // A move that does not read inside a variation costs the rest of that
        // variation alone, nested ones in it included.
        {"1. e4 (1. d4 Kxx d5) e5 *", "e4 (d4) e5"},
        {"1. e4 (1. d4 d5 (1... Kxx (1... c5) Nf6) 2. c4) e5 *", "e4 (d4 d5 c4) e5"},
        {"1. e4 (1. d4 {a} Kxx {b}) e5 *", "e4 (d4{a}) e5"},
        // A game without a result ends at the next game's tags.
        {"1. e4 e5\n\n[Event \"next\"]\n1. d4 *", "e4 e5"},
        {"1. e4 (1. d4 d5\n[Event \"next\"]\n1. d4 *", "e4 (d4 d5)"},
        // A variation left open at the result or the end keeps what it has.
        {"1. e4 (1. d4 d5 *", "e4 (d4 d5)"},
        {"1. e4 (1. d4 d5 1-0) e5 *", "e4 (d4 d5) e5"},
        {"1. e4 (1. d4", "e4 (d4)"},
        // Move words too long for any move.
        {"1. e4xxxxxxxxxxxxxxxxxxxxxxxxx *", FAILED},
        {"1. e4 " + std::string(50, '1') + ". e5 *", "e4 e5"},
        {"1. " + std::string(50, '1') + ". e4 *", FAILED},
        {"1. e4 $" + std::string(50, '9') + " *", "e4$255"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(readTree(test.text), test.tree) << test.text;
}

TEST(PgnReader, PliesFollowTheStartPosition) {
    ReadResult normal = readPgn("1. e4 e5 2. Nf3 *");
    ASSERT_TRUE(normal.game);
    EXPECT_EQ(mainLinePlies(*normal.game), (std::vector<int>{-1, 0, 1, 2}));
    EXPECT_EQ(tag(*normal.game, "Result"), "*");
    EXPECT_EQ(std::string(normal.game->root()->moveText.c_str()), "root");
    EXPECT_TRUE(normal.game->root()->comment.isEmpty());
    EXPECT_EQ(normal.game->root()->move, NO_MOVE);

    ReadResult black = readPgn("[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 12\"]\n12... Kd7 13. Kd2 *");
    ASSERT_TRUE(black.game);
    EXPECT_EQ(mainLinePlies(*black.game), (std::vector<int>{22, 23, 24}));
    static_cast<CPgnGame&>(*black.game).setOptions(75, false, true, true, true, false);
    EXPECT_EQ(std::string(black.game->toString().c_str()), "12.. Kd7 13. Kd2 *\r\n\r\n");
}

TEST(PgnReader, Tags) {
    struct Case {
        std::string text;
        const char* name;
        std::string value;
    };
    const Case cases[] = {
        {"[Round 3]\n*", "Round", " 3"},
        {"[Event]\n*", "Event", ""},
        {"[Event \"The \\\"Big\\\" Match\"]\n*", "Event", "The \"Big\" Match"},
        {"[Event \"The \"Big\" Match\"]\n*", "Event", "The \"Big\" Match"},
        {"[White Carlsen, Magnus]\n*", "White", " Carlsen, Magnus"},
        {"[Site \"a\"]\n[Site \"b\"]\n*", "Site", "b"},
        {"[Annotator \"x\" ; note\n]\n*", "Annotator", "x"},
        {"[Result \"1-0\"]\n1. e4 1-0", "Result", "1-0"},
        {"[Black \"M\xC3\xBCller\"]\n*", "Black", "M\xC3\xBCller"},
        {"\xEF\xBB\xBF[Event \"BOM\"]\r\n*", "Event", "BOM"},
    };
    for (const Case& test : cases) {
        ReadResult result = readPgn(test.text);
        ASSERT_TRUE(result.game) << test.text;
        EXPECT_EQ(tag(*result.game, test.name), test.value) << test.text;
    }
    ReadResult order = readPgn("[ECO \"B20\"]\n[White \"W\"]\n[Event \"E\"]\n*");
    ASSERT_TRUE(order.game);
    std::vector<std::string> names;
    for (const CTagPair& pair : order.game->tags())
        names.emplace_back(pair.name.c_str());
    EXPECT_EQ(names, (std::vector<std::string>{"Event", "Site", "Date", "Round", "White", "Black",
                                               "Result", "ECO"}));
    // A FEN tag gets its SetUp tag where the writer puts it, once.
    for (const std::string& text :
         {std::string("[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n*"),
          std::string("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n*")}) {
        ReadResult setUp = readPgn(text);
        ASSERT_TRUE(setUp.game);
        std::vector<std::string> extra;
        for (size_t i = 7; i < setUp.game->tags().size(); ++i)
            extra.emplace_back(setUp.game->tags()[i].name.c_str());
        EXPECT_EQ(extra, (std::vector<std::string>{"SetUp", "FEN"})) << text;
    }
    // A broken tag pair ends the tag section; its tokens are then move text.
    EXPECT_FALSE(readPgn("[Event \"x\"]\n[\"no name\"]\n1. e4 *").game);
}

TEST(PgnReader, OffsetsBetweenGames) {
    const std::string first = "[Event \"one\"]\n\n1. e4 {a [bracket] inside} e5 1-0\n\n";
    const std::string second = "[Event \"two\"]\n\n1. d4 *\n";
    const std::string text = first + second;
    for (bool scan : {false, true}) {
        ReadResult one = readPgn(text, 0, scan);
        ASSERT_TRUE(one.game);
        EXPECT_EQ(one.nextOffset, int64_t(first.size())) << scan;
        ReadResult two = readPgn(text, one.nextOffset, scan);
        ASSERT_TRUE(two.game);
        EXPECT_EQ(tag(*two.game, "Event"), "two");
        EXPECT_EQ(two.nextOffset, int64_t(text.size())) << scan;
        EXPECT_FALSE(readPgn(text, two.nextOffset, scan).game);
        EXPECT_FALSE(readPgn(text, int64_t(text.size()) + 10, scan).game);
        EXPECT_FALSE(readPgn(text, -1, scan).game);
    }
    // Scanning reads tags only and never fails on the move text.
    ReadResult scanned = readPgn("[White \"W\"]\n1. e4 e9 ) < >\n[Event \"next\"]", 0, true);
    ASSERT_TRUE(scanned.game);
    EXPECT_EQ(tag(*scanned.game, "White"), "W");
    EXPECT_EQ(treeText(*scanned.game), "");
    EXPECT_EQ(scanned.nextOffset, 27);
    // A game without a blank line or line break after it.
    ReadResult last = readPgn("[Event \"x\"]\n1. e4 1-0");
    ASSERT_TRUE(last.game);
    EXPECT_EQ(last.nextOffset, 21);
    // After a game followed by text that is not a game, the next read starts there.
    ReadResult trailing = readPgn("1. e4 * junk [Event \"x\"]");
    ASSERT_TRUE(trailing.game);
    EXPECT_EQ(trailing.nextOffset, 8);
}

TEST(PgnReader, HostileInputNeitherCrashesNorHangs) {
    struct Case {
        const char* name;
        std::string text;
        bool reads;
    };
    std::string deepVariations = "1. e4 ";
    for (int i = 0; i < 100000; ++i)
        deepVariations += "(1. e4 ";
    // Knights out and back, then each variation starts the same again: new nodes
    // all the way down. (5 000 levels: taking back a quiet move recounts the
    // quiet moves before it, so a long run of them costs quadratic time.)
    std::string deepDifferent;
    for (int i = 0; i < 5000; ++i)
        deepDifferent += "Nf3 Nf6 Ng1 Ng8 Nc3 (";
    const Case cases[] = {
        {"100 000 nested brackets", std::string(100000, '('), false},
        {"100 000 nested brackets after a move", "1. e4 " + std::string(100000, '('), true},
        {"100 000 nested variations", deepVariations + "*", true},
        {"5 000 nested variations with moves", deepDifferent, true},
        {"10 MB comment", "1. e4 {" + std::string(10 << 20, 'c') + "} e5 *", true},
        {"10 MB unterminated comment", "1. e4 {" + std::string(10 << 20, 'c'), true},
        {"10 MB symbol", std::string(10 << 20, 'a'), false},
        {"NUL bytes", std::string("1. e4 \0\0 e5 *", 13), true},
        {"only NUL bytes", std::string(100, '\0'), false},
        {"only blanks", std::string(1000, ' '), false},
        {"empty", "", false},
    };
    for (const Case& test : cases) {
        ReadResult read = readPgn(test.text);
        EXPECT_EQ(bool(read.game), test.reads) << test.name;
        ReadResult scan = readPgn(test.text, 0, true);
        EXPECT_EQ(bool(scan.game),
                  test.text.find_first_not_of(std::string(" \0", 2)) != std::string::npos)
            << test.name;
    }
    ReadResult comment = readPgn("1. e4 {" + std::string(10 << 20, 'c') + "} e5 *");
    ASSERT_TRUE(comment.game);
    EXPECT_EQ(comment.game->root()->child(0)->comment.length(), uint32_t(10 << 20));
}

TEST(PgnReader, OneReaderServesManyReads) {
    const std::string text =
        "[Event \"a\"]\n1. e4 *\n\n[Event \"b\"]\n1. e9 *\n\n[Event \"c\"]\n1. d4 *\n";
    std::istringstream stream(text);
    CPgnReader reader;
    int64_t offset = 0;
    std::vector<std::string> outcomes;
    for (;;) {
        int64_t next = -1;
        std::unique_ptr<CGame> game;
        if (!reader.scanGame(stream, offset, next, game)) break;
        std::unique_ptr<CGame> full;
        int64_t fullNext = -1;
        outcomes.push_back(reader.readGame(stream, offset, fullNext, full) ? treeText(*full) : "-");
        offset = next;
    }
    EXPECT_EQ(outcomes, (std::vector<std::string>{"e4", "-", "d4"}));
}

TEST(PgnReader, ReportsWhatWasLeftOut) {
    struct Case {
        std::string text;
        CReadReport::Outcome outcome;
        std::string stoppedAt;
        int moveNumber;
        bool blackMove;
        int gaps;
        std::string message;
    };
    using O = CReadReport::Outcome;
    const Case cases[] = {
        {"1. e4 e5 2. Nf3 *", O::WHOLE, "", 0, false, 0, ""},
        {"1. e4 e5 2. Nf3 Nc9 3. Bb5 *", O::IN_PART, "Nc9", 2, true, 1,
         "move 2... Nc9 does not read: the rest of the game is kept in a comment"},
        {"1. e4 (1. d4 Kxx) (1. c4 Qxx) e5 *", O::IN_PART, "Kxx", 1, true, 2,
         "move 1... Kxx does not read: the rest of its variation is left out"},
        {"1. e4 e5 2. ) *", O::IN_PART, ")", 2, false, 1,
         "move 2. ) does not read: the rest of the game is kept in a comment"},
        {"1. e5 *", O::FAILED, "", 0, false, 0, "move 1. e5 does not read"},
        {"1. e4 e5 2.", O::IN_PART, "", 2, false, 1,
         "the text ends inside move 2.: the rest of the game is kept in a comment"},
        {"[FEN \"8/8/8/8/8/8/8/4K3 w - - 0 1\"]\n*", O::FAILED, "", 0, false, 0,
         "its FEN tag gives an impossible position: Black has no king"},
        {"[FEN \"4k3/8/8/8/8/8/8/3QK3 b - - 0 1\"]\n*", O::WHOLE, "", 0, false, 0, ""},
        {"[FEN \"4k3/8/8/8/8/8/8/4QK2 w - - 0 1\"]\n*", O::FAILED, "", 0, false, 0,
         "its FEN tag gives an impossible position: Black is in check but White is to move"},
    };
    for (const Case& test : cases) {
        std::istringstream stream(test.text);
        CPgnReader reader;
        int64_t next = 0;
        std::unique_ptr<CGame> game;
        const bool read = reader.readGame(stream, 0, next, game);
        const CReadReport& report = reader.report();
        EXPECT_EQ(read, test.outcome != O::FAILED) << test.text;
        EXPECT_EQ(report.outcome, test.outcome) << test.text;
        EXPECT_EQ(report.message, test.message) << test.text;
        EXPECT_EQ(report.gaps, test.gaps) << test.text;
        if (test.outcome == O::IN_PART) {
            EXPECT_EQ(report.stoppedAt, test.stoppedAt) << test.text;
            EXPECT_EQ(report.moveNumber, test.moveNumber) << test.text;
            EXPECT_EQ(report.blackMove, test.blackMove) << test.text;
            EXPECT_EQ(std::string(game->leftOut.c_str()), test.message) << test.text;
        } else if (game) {
            EXPECT_TRUE(game->leftOut.isEmpty()) << test.text;
        }
    }
}

// Nothing of one game carries over into the next, whatever the reader read before.
TEST(PgnReader, EveryGameStartsAfresh) {
    const std::string text = "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 1\"]\n1... Kd7 *\n\n"
                             "[FEN \"4k3/8/8/8/8/8/8/4K3\"]\n1. Kd2 *\n";
    std::istringstream stream(text);
    CPgnReader reader;
    int64_t next = 0;
    std::unique_ptr<CGame> first;
    ASSERT_TRUE(reader.readGame(stream, 0, next, first));
    std::unique_ptr<CGame> second;
    int64_t after = 0;
    ASSERT_TRUE(reader.readGame(stream, next, after, second)) << "White moves first";
    EXPECT_EQ(treeText(*second), "Kd2");
    EXPECT_EQ(treeText(*readPgn(text, next).game), "Kd2") << "read on its own, the same";
}

TEST(PgnReader, ResultsFromTheMoveText) {
    struct Case {
        std::string text;
        std::string result;
    };
    const Case cases[] = {
        {"1. e4 1-0", "1-0"},
        {"[Result \"0-1\"]\n1. e4 1-0", "0-1"},
        {"1. e4 e5 2. Kxx 1/2-1/2", "1/2-1/2"},
        {"1. e4", "*"},
    };
    for (const Case& test : cases) {
        ReadResult read = readPgn(test.text);
        ASSERT_TRUE(read.game) << test.text;
        EXPECT_EQ(tag(*read.game, "Result"), test.result) << test.text;
    }
}

TEST(PgnReader, LineEndsOfEveryKind) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const std::string e = end;
        const std::string text = "[Event \"x\"]" + e + "%escape line" + e + e +
                                 "1. e4 ; to the end" + e + "e5 {a" + e + "b} 2. Nf3 *" + e + e +
                                 "[Event \"y\"]" + e + "1. d4 *" + e;
        ReadResult first = readPgn(text);
        ASSERT_TRUE(first.game) << int(end[0]);
        EXPECT_EQ(treeText(*first.game), "e4 e5{a b} Nf3") << int(end[0]);
        ReadResult second = readPgn(text, first.nextOffset);
        ASSERT_TRUE(second.game) << int(end[0]);
        EXPECT_EQ(tag(*second.game, "Event"), "y");
    }
}

TEST(PgnReader, Windows1252GamesBecomeUtf8Throughout) {
    ReadResult read = readPgn("[White \"M\xFCller\"]\n[Annotator \"Jos\xE9\"]\n"
                              "1. e4 {\x93gut\x94 \x80} *");
    ASSERT_TRUE(read.game);
    EXPECT_EQ(tag(*read.game, "White"), "M\xC3\xBCller");
    EXPECT_EQ(tag(*read.game, "Annotator"), "Jos\xC3\xA9");
    EXPECT_EQ(treeText(*read.game), "e4{\xE2\x80\x9Cgut\xE2\x80\x9D \xE2\x82\xAC}");
    // A game in UTF-8 is left as it is.
    ReadResult utf8 = readPgn("[White \"M\xC3\xBCller\"]\n1. e4 {\xE2\x82\xAC} *");
    ASSERT_TRUE(utf8.game);
    EXPECT_EQ(tag(*utf8.game, "White"), "M\xC3\xBCller");
    EXPECT_EQ(treeText(*utf8.game), "e4{\xE2\x82\xAC}");
}

// Text before the first tag pair of a file is no game.
TEST(PgnReader, FirstGameOffset) {
    struct Case {
        std::string text;
        int64_t offset;
    };
    const Case cases[] = {
        {"[Event \"a\"]\n*", 0},
        {"%escape line [Event \"no\"]\n[Event \"a\"]\n*", 26},
        {"Games of the club, 2005 [see page 2]\n[Event \"a\"]\n*", 37},
        {"{a comment [Event \"no\"]}\n[Event \"a\"]\n*", 25},
        {"; a line comment [Event \"no\"]\n[Event \"a\"]\n*", 30},
        // No tag pair anywhere: the text is a game without tags.
        {"1. e4 e5 *", 0},
    };
    for (const Case& test : cases) {
        std::istringstream stream(test.text);
        CPgnReader reader;
        EXPECT_EQ(reader.firstGameOffset(stream, 0), test.offset) << test.text;
    }
}

TEST(PgnReader, ScanningCountsTheMovesOfTheMainLine) {
    struct Case {
        const char* text;
        int plies;
    };
    const Case cases[] = {
        {"1. e4 e5 2. Nf3 *", 3},
        {"1.e4 e5 2.Nf3 Nc6 1-0", 4},
        {"1. e4 (1. d4 d5 (1... Nf6) 2. c4) 1... e5 0-1", 2},
        {"1. e4 {a comment 2. d4 with moves} e5 $1 2. Nf3!? $14 1/2-1/2", 3},
        {"1. e4 ; a rest-of-line comment Nf3\ne5 *", 2},
        {"1. O-O 0-0 2. O-O-O 0-0-0+ *", 4},
        {"1. e4 -- 2. -- e5 *", 4},
        {"1. e4 d5 2. e5 f5 3. exf6 e.p. Nf6 4. exf6ep *", 7},
        {"12. e4 12... e5", 2},
        {"1-0", 0},
        {"1. e4 ((( e5 2. Nf3", 1}, // variations never closed
        {"1. e4 ) e5 *", 2},        // a stray ")" ends no variation
    };
    for (const Case& test : cases) {
        const std::string text =
            std::string("[Event \"x\"]\n\n") + test.text + "\n\n[Event \"y\"]\n1. d4 *\n";
        std::istringstream stream(text);
        CPgnReader reader;
        int64_t next = 0;
        std::unique_ptr<CGame> game;
        ASSERT_TRUE(reader.scanGame(stream, 0, next, game)) << test.text;
        EXPECT_EQ(reader.scannedPlies(), test.plies) << test.text;
        ASSERT_TRUE(reader.scanGame(stream, next, next, game));
        EXPECT_EQ(reader.scannedPlies(), 1)
            << "the next game counts from nothing, after " << test.text;
    }
    CGameReader base;
    EXPECT_EQ(base.scannedPlies(), -1) << "a reader that does not count says so";
}
