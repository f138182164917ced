// Generation order, attack tests and legality: the order is part of the contract,
// since every caller that searches a list takes the first match.
#include <gtest/gtest.h>

#include <string>

#include "rules/position.h"

namespace {

std::string coordinates(const CMove* moves, uint16_t count) {
    std::string text;
    for (uint16_t i = 0; i < count; ++i) {
        char move[6];
        coordinateText(moves[i], move);
        if (!text.empty()) text += ' ';
        text += move;
    }
    return text;
}

std::string legalMoves(const char* fen) {
    CPosition position;
    position.setFen(fen);
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    return coordinates(moves, count);
}

std::string movesFrom(const char* fen, const char* square, bool legal) {
    CPosition position;
    position.setFen(fen);
    CMove moves[MAX_SQUARE_MOVES];
    uint16_t count = 0;
    if (legal)
        position.legalMovesFrom(squareFromText(square), moves, count);
    else
        position.generateMoves(squareFromText(square), moves, count);
    return coordinates(moves, count);
}

TEST(Generation, StartPositionOrder) {
    EXPECT_EQ(legalMoves(START_FEN), "a2a3 a2a4 b1a3 b1c3 b2b3 b2b4 c2c3 c2c4 d2d3 d2d4 e2e3 e2e4 "
                                     "f2f3 f2f4 g1f3 g1h3 g2g3 g2g4 h2h3 h2h4");
    EXPECT_EQ(legalMoves("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"),
              "a7a6 a7a5 b7b6 b7b5 b8a6 b8c6 c7c6 c7c5 d7d6 d7d5 e7e6 e7e5 f7f6 f7f5 g7g6 g7g5 "
              "g8f6 g8h6 h7h6 h7h5");
}

struct SquareCase {
    const char* fen;
    const char* square;
    bool legal;
    const char* moves;
};

const SquareCase SQUARE_CASES[] = {
    // Kings castle first, short before long, then step in their table's order.
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1", true, "e1g1 e1c1 f1 d1 f2 e2 d2"},
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8", true, "e8g8 e8c8 f8 d8 f7 e7 d7"},
    // No castling through or out of an attacked square; b1 may be attacked.
    {"4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", "e1", false, "e1c1 f1 d1 f2 e2 d2"},
    {"4k3/8/8/8/8/8/6r1/R3K2R w KQ - 0 1", "e1", true, "e1c1 f1 d1"},
    {"4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1", "e1", true, "f1 d1 e2"},
    {"4k3/8/8/8/8/8/1r6/R3K2R w KQ - 0 1", "e1", true, "e1g1 e1c1 f1 d1"},
    {"4k3/8/8/8/8/8/8/RN2K2R w KQ - 0 1", "e1", true, "e1g1 f1 d1 f2 e2 d2"},
    // Promotions: queen, knight, rook, bishop for the push and each capture.
    {"r1r1k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7", false,
     "b7b8q b7b8n b7b8r b7b8b b7a8q b7a8n b7a8r b7a8b b7c8q b7c8n b7c8r b7c8b"},
    {"4k3/8/8/8/8/8/1p6/R1R1K3 b - - 0 1", "b2", false,
     "b2b1q b2b1n b2b1r b2b1b b2a1q b2a1n b2a1r b2a1b b2c1q b2c1n b2c1r b2c1b"},
    // En passant comes after the captures; one that uncovers the king is illegal.
    {"4k3/8/8/2pPp3/8/8/8/4K3 w - e6 0 1", "d5", true, "d5d6 d5e6"},
    {"4k3/8/8/K2Pp2r/8/8/8/8 w - e6 0 1", "d5", true, "d5d6"},
    {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "d4", true, "d4d3 d4e3"},
    // A pinned piece keeps only the moves along the pin.
    {"4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1", "e2", true, "e2e3 e2e4 e2e5 e2e6 e2e7"},
    // Rays: bishop +17, -15, +15, -17; rook +1, +16, -16, -1 (mirrored for Black).
    {"4k3/8/8/8/3B4/8/8/4K3 w - - 0 1", "d4", false,
     "d4e5 d4f6 d4g7 d4h8 d4c5 d4b6 d4a7 d4e3 d4f2 d4g1 d4c3 d4b2 d4a1"},
    {"4k3/8/8/8/3r4/8/8/4K3 b - - 0 1", "d4", false,
     "d4d3 d4d2 d4d1 d4e4 d4f4 d4g4 d4h4 d4c4 d4b4 d4a4 d4d5 d4d6 d4d7 d4d8"},
    {"4k3/8/8/8/3N4/8/8/4K3 w - - 0 1", "d4", false, "d4b5 d4f5 d4b3 d4f3 d4c6 d4e6 d4c2 d4e2"},
    {"4k3/8/8/8/3n4/8/8/4K3 b - - 0 1", "d4", false, "d4b3 d4f3 d4b5 d4f5 d4c2 d4e2 d4c6 d4e6"},
    // Nothing moves from an empty or off-board square, and nothing without its king.
    {START_FEN, "e4", false, ""},
    {START_FEN, "i4", false, ""},
    {"8/8/8/8/3Q4/8/8/8 w - - 0 1", "d4", true, ""},
};

TEST(Generation, MovesOfOneSquare) {
    for (const SquareCase& c : SQUARE_CASES) {
        std::string expected = c.moves;
        // Short forms in the table: bare destinations are steps from the named square.
        std::string full;
        size_t start = 0;
        while (start < expected.size()) {
            size_t end = expected.find(' ', start);
            if (end == std::string::npos) end = expected.size();
            std::string word = expected.substr(start, end - start);
            if (word.size() == 2) word = c.square + word;
            if (!full.empty()) full += ' ';
            full += word;
            start = end + 1;
        }
        EXPECT_EQ(movesFrom(c.fen, c.square, c.legal), full) << c.fen << " " << c.square;
    }
}

TEST(Generation, EnPassantOnlyWhereItCanBeRight) {
    // Set by hand, past the FEN reader's checks: a square the side to move cannot
    // use is not honoured, so no pawn takes its own side or one piece twice.
    const struct {
        const char* fen;
        const char* enPassant;
        const char* square;
        const char* moves; // pseudo-legal moves of the pawn on the square
    } cases[] = {
        {"4k3/8/8/8/3pP3/8/3PP3/4K3 w - - 0 1", "e3", "d2", "d2d3"},
        {"4k3/8/3n4/3pP3/8/8/8/4K3 w - - 0 1", "d6", "e5", "e5e6 e5d6"},
        {"4k3/3n4/8/3pP3/8/8/8/4K3 w - - 0 1", "d6", "e5", "e5e6"},
        {"4k3/8/8/3PP3/8/8/8/4K3 w - - 0 1", "d6", "e5", "e5e6"},
        {"4k3/8/8/3pP3/8/8/8/4K3 b - - 0 1", "d6", "e5", "e5e6"},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "d6", "e5", "e5e6 e5d6"},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1", "e3", "d4", "d4d3 d4e3"},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1", "e6", "d4", "d4d3"},
    };
    for (const auto& c : cases) {
        CPosition position;
        position.setFen(c.fen);
        position.setEnPassant(squareFromText(c.enPassant));
        CMove moves[MAX_SQUARE_MOVES];
        uint16_t count = 0;
        position.generateMoves(squareFromText(c.square), moves, count);
        EXPECT_EQ(coordinates(moves, count), c.moves) << c.fen << " " << c.enPassant;
    }
}

TEST(Generation, ListNeverOverflows) {
    // Far more pieces than a game can have: the side's list stops at MAX_MOVES.
    CPosition position;
    position.setFen("kQQQQQQ1/Q6Q/Q6Q/Q2Q3Q/Q6Q/Q6Q/1Q5Q/1QQQQQQK w - - 0 1");
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    EXPECT_EQ(count, MAX_MOVES);
}

TEST(Attacks, BySide) {
    struct {
        const char* fen;
        const char* square;
        bool byWhite;
        bool byBlack;
    } cases[] = {
        {START_FEN, "e3", true, false},
        {START_FEN, "f6", false, true},
        {START_FEN, "e4", false, false},
        {START_FEN, "a1", false, false}, // own pieces do not count as attacked... by the rival
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a8", true, false},
        {"4k3/8/8/8/8/8/p7/R3K3 w - - 0 1", "a8", false, false}, // blocked ray
        {"4k3/8/8/8/8/8/1p6/4K3 w - - 0 1", "a1", false, true},
        {"4k3/8/8/8/8/8/1p6/4K3 w - - 0 1", "b1", false, false}, // pawns attack diagonally
        {"4k3/8/8/8/8/1P6/8/4K3 w - - 0 1", "c4", true, false},
        {"4k3/8/8/8/8/1P6/8/4K3 w - - 0 1", "c2", false, false},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "d2", true, false},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "d7", false, true},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "i1", false, false},
    };
    for (const auto& c : cases) {
        CPosition position;
        position.setFen(c.fen);
        const Square square = squareFromText(c.square);
        EXPECT_EQ(position.isAttackedByWhite(square), c.byWhite) << c.fen << " " << c.square;
        EXPECT_EQ(position.isAttackedByBlack(square), c.byBlack) << c.fen << " " << c.square;
    }
}

TEST(Lookup, FindMoveAndUniqueMoves) {
    CPosition position;
    position.setFen("4r2k/4P3/8/8/8/8/8/1N2KN2 w - - 0 1");
    char text[6];
    auto textOf = [&](CMove move) {
        if (move == NO_MOVE) return std::string("none");
        if (move == AMBIGUOUS_MOVE) return std::string("ambiguous");
        coordinateText(move, text);
        return std::string(text);
    };
    EXPECT_EQ(textOf(position.findMove(0x46, 0x47, WHITE_KNIGHT)), "none") << "e8 is occupied";
    position.setFen("7k/4P3/8/8/8/8/8/1N2KN2 w - - 0 1");
    EXPECT_EQ(textOf(position.findMove(0x46, 0x47, WHITE_KNIGHT)), "e7e8n");
    EXPECT_EQ(textOf(position.findMove(0x46, 0x47, WHITE_QUEEN)), "e7e8q");
    EXPECT_EQ(textOf(position.findMove(0x46, 0x47, BLACK_QUEEN)), "none");
    EXPECT_EQ(textOf(position.findMove(0x10, 0x31, 0)), "b1d2");
    EXPECT_EQ(textOf(position.findMove(0x10, 0x32, 0)), "none");
    EXPECT_EQ(textOf(position.findMove(0x88, 0x34, 0)), "none");
    EXPECT_EQ(textOf(position.uniqueMoveTo(0x31)), "ambiguous"); // both knights reach d2
    EXPECT_EQ(textOf(position.uniqueMoveTo(0x47)), "e7e8q");
    EXPECT_EQ(textOf(position.uniqueMoveTo(0x22)), "b1c3");
    EXPECT_EQ(textOf(position.uniqueMoveTo(0x37)), "none");
    EXPECT_EQ(textOf(position.uniqueMoveFrom(0x46)), "e7e8q");
    EXPECT_EQ(textOf(position.uniqueMoveFrom(0x10)), "ambiguous");
    EXPECT_EQ(textOf(position.uniqueMoveFrom(0x47)), "none") << "the rival's pieces do not count";
    EXPECT_EQ(textOf(position.uniqueMoveFrom(0x31)), "none");
}

TEST(Legality, LeavesThePositionAsItWas) {
    CPosition position;
    position.setFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 7 12");
    position.makeCoordinateMove("a2a4"); // gives an en-passant square to b4
    char before[FEN_BUFFER_SIZE];
    position.getFen(before);
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    EXPECT_EQ(count, 44);
    EXPECT_TRUE(position.hasLegalMove());
    position.uniqueMoveTo(0x20);
    char after[FEN_BUFFER_SIZE];
    position.getFen(after);
    EXPECT_STREQ(before, after);
    EXPECT_EQ(position.historyCount(), 1u);
}

} // namespace
