// The engine's move texts read as moves, and its lines written as the panel shows them.
#include <gtest/gtest.h>

#include <string>

#include "engine/engine_line.h"
#include "rules/position.h"

#include "../support/fen_text.h"

namespace {

CPosition positionAt(const char* fen) {
    CPosition position;
    position.setFen(fen);
    return position;
}

const char PROMOTING_WHITE[] = "8/P7/8/8/8/8/8/k6K w - - 0 1";
const char PROMOTING_BLACK[] = "k7/8/8/8/8/8/p7/7K b - - 0 1";

} // namespace

TEST(EngineLine, MoveTextsBecomeTheLegalMovesTheyName) {
    struct Case {
        const char* fen;
        const char* text;
        const char* from; // null: NO_MOVE
        const char* to;
        Piece placed;
    };
    const Case cases[] = {
        {START_FEN, "e2e4", "e2", "e4", WHITE_PAWN},
        {START_FEN, "   e2e4", "e2", "e4", WHITE_PAWN},
        {START_FEN, "E2E4", "e2", "e4", WHITE_PAWN},
        {START_FEN, "g1f3 b8c6", "g1", "f3", WHITE_KNIGHT},
        {START_FEN, "e2e4!", "e2", "e4", WHITE_PAWN},
        {START_FEN, "e2e5", nullptr, nullptr, 0},
        {START_FEN, "e2e", nullptr, nullptr, 0},
        {START_FEN, "", nullptr, nullptr, 0},
        {START_FEN, "    ", nullptr, nullptr, 0},
        {START_FEN, "z9e4", nullptr, nullptr, 0},
        {START_FEN, "e1e1", nullptr, nullptr, 0},
        {PROMOTING_WHITE, "a7a8q", "a7", "a8", WHITE_QUEEN},
        {PROMOTING_WHITE, "a7a8Q", "a7", "a8", WHITE_QUEEN},
        {PROMOTING_WHITE, "a7a8N", "a7", "a8", WHITE_KNIGHT},
        {PROMOTING_WHITE, "a7a8r", "a7", "a8", WHITE_ROOK},
        {PROMOTING_WHITE, "a7a8", nullptr, nullptr, 0},
        {PROMOTING_WHITE, "a7a8k", nullptr, nullptr, 0},
        {PROMOTING_BLACK, "a2a1q", "a2", "a1", BLACK_QUEEN},
        {PROMOTING_BLACK, "a2a1Q", "a2", "a1", BLACK_QUEEN},
        {PROMOTING_BLACK, "a2a1B", "a2", "a1", BLACK_BISHOP},
    };
    for (const Case& c : cases) {
        CPosition position = positionAt(c.fen);
        const CMove move = engineMove(position, c.text);
        if (!c.from) {
            EXPECT_EQ(move, NO_MOVE) << c.text;
            continue;
        }
        EXPECT_EQ(move.from, squareFromText(c.from)) << c.text;
        EXPECT_EQ(move.to, squareFromText(c.to)) << c.text;
        EXPECT_EQ(move.piece, c.placed) << c.text;
    }
    CPosition position;
    EXPECT_EQ(engineMove(position, nullptr), NO_MOVE);
}

TEST(EngineLine, LinesReadAsNumberedSanFromTheirFirstMove) {
    struct Case {
        const char* what;
        const char* movesBefore; // played from the start first
        int32_t firstPly;
        const char* line;
        uint32_t maxLength;
        const char* san;
    };
    const Case cases[] = {
        {"from the start", "", 0, "e2e4 e7e5 g1f3", 479, "1.e4 e5 2.Nf3"},
        {"White at move 12", "", 22, "g1f3 g8f6 e2e4", 479, "12.Nf3 Nf6 13.e4"},
        {"Black at move 12", "e2e4", 23, "g8f6 d2d4", 479, "12..Nf6 13.d4"},
        {"checks and captures", "e2e4 f7f6", 2, "d1h5 g7g6 h5g6", 479, "2.Qh5+ g6 3.Qxg6+"},
        {"stops at the first move that does not convert", "", 0, "e2e4 e2e4 g1f3", 479, "1.e4"},
        {"an engine's mark at the end", "", 0, "e2e4 e7e5!", 479, "1.e4 e5!"},
        {"a question mark too", "", 0, "e2e4?", 479, "1.e4?"},
        {"a move that does not fit ends it", "", 0, "e2e4 e7e5 g1f3 b8c6", 10, "1.e4 e5"},
        {"blanks between moves", "", 0, "  e2e4   e7e5 ", 479, "1.e4 e5"},
        {"nothing that converts", "", 0, "x", 479, ""},
        {"an empty line", "", 0, "", 479, ""},
        {"a first move that is no move, marked", "", 0, "e2e5!", 479, ""},
    };
    for (const Case& c : cases) {
        CPosition position;
        std::string before = c.movesBefore;
        for (size_t start = 0; start < before.size(); start += 5) {
            ASSERT_TRUE(position.makeCoordinateMove(before.substr(start, 4).c_str())) << c.what;
        }
        const std::string fen = fenOf(position);
        EXPECT_EQ(std::string(numberedSanLine(position, c.firstPly, c.line, c.maxLength).c_str()),
                  c.san)
            << c.what;
        EXPECT_EQ(fenOf(position), fen) << c.what << ": the position is as it was";
    }
}

TEST(EngineLine, LongLinesAreCutAfterTheirLastWholeMove) {
    struct Case {
        const char* line;
        uint32_t maxLength;
        const char* kept;
    };
    const Case cases[] = {
        {"e2e4 e7e5 g1f3", 100, "e2e4 e7e5 g1f3"},
        {"e2e4 e7e5 g1f3", 14, "e2e4 e7e5 g1f3"},
        {"e2e4 e7e5 g1f3", 13, "e2e4 e7e5"},
        {"e2e4 e7e5 g1f3", 9, "e2e4 e7e5"},
        {"e2e4 e7e5 g1f3", 8, "e2e4"},
        {"e2e4e7e5g1f3", 8, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(boundedLine(c.line, c.maxLength).c_str()), c.kept)
            << c.line << " within " << c.maxLength;
    }
    EXPECT_EQ(std::string(boundedLine(nullptr, 10).c_str()), "");
}
