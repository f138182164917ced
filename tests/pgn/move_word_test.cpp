#include <gtest/gtest.h>

#include <string>

#include "pgn/move_word.h"
#include "rules/position.h"

TEST(MoveWord, WordsAndWhatTheyMean) {
    struct Case {
        const char* fen; // null: the start position
        std::string word;
        std::string text; // "" when the word is no move
        int glyph;
    };
    const char* const EN_PASSANT = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1";
    const char* const CHECKED = "4k3/8/8/8/8/8/8/r3K3 w - - 0 1";
    const Case cases[] = {
        {nullptr, "Nf3", "Nf3", 0},
        {nullptr, "e4!?", "e4", 5},
        {nullptr, "e4?!", "e4", 6},
        {nullptr, "e4!!?", "e4", 0},
        {nullptr, "e2-e4", "e2-e4", 0},
        {EN_PASSANT, "exd6e.p.", "exd6", 0},
        {EN_PASSANT, "exd6", "exd6", 0},
        // Only an en-passant capture carries the mark.
        {"4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", "exd5e.p.", "", 0},
        // Null moves: a pass, refused in check.
        {nullptr, "--", "--", 0},
        {nullptr, "Z0", "--", 0},
        {CHECKED, "--", "", 0},
        {CHECKED, "Z0", "", 0},
        // Words no move is written as.
        {nullptr, "Nf3-----------------xyz", "", 0},
        {nullptr, "Nf3 ", "", 0},
        {nullptr, "Nf3.", "", 0},
        {nullptr, "", "", 0},
        {nullptr, "e5", "", 0},
        {nullptr, "1-0", "", 0},
    };
    for (const Case& test : cases) {
        CPosition position;
        if (test.fen) position.setFen(test.fen);
        CMoveWord read;
        const bool reads = readMoveWord(position, test.word, read);
        EXPECT_EQ(reads ? read.text : "", test.text) << test.word;
        if (reads) {
            EXPECT_EQ(read.glyph, test.glyph) << test.word;
            EXPECT_EQ(read.text == "--", read.move == NULL_MOVE) << test.word;
        }
    }
}
