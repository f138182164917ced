// Making and taking back moves: what each move changes (board, rights, en-passant
// square, counters, history) and that taking back restores it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/position.h"

#include "../support/fen_text.h"

namespace {

void play(CPosition& position, const std::vector<const char*>& moves) {
    for (const char* move : moves)
        ASSERT_TRUE(position.makeCoordinateMove(move)) << move;
}

TEST(Squares, ReadAndWrite) {
    struct {
        const char* text;
        int square; // -1: off the board
    } cases[] = {{"a1", 0x00},
                 {"a8", 0x07},
                 {"e1", 0x40},
                 {"E8", 0x47},
                 {"h1", 0x70},
                 {"h8", 0x77},
                 {"i1", -1},
                 {"a9", -1},
                 {"a0", -1},
                 {"", -1},
                 {"e", -1},
                 {"\xff"
                  "1",
                  -1}};
    for (const auto& c : cases) {
        const Square square = squareFromText(c.text);
        if (c.square < 0) {
            EXPECT_FALSE(onBoard(square)) << c.text;
            continue;
        }
        EXPECT_EQ(square, c.square) << c.text;
        char text[3];
        squareText(square, text);
        EXPECT_EQ(text[0], char(std::tolower(c.text[0])));
        EXPECT_EQ(text[1], c.text[1]);
    }
}

TEST(Squares, LetterTables) {
    EXPECT_EQ(fenLetter(WHITE_KING), 'K');
    EXPECT_EQ(fenLetter(BLACK_QUEEN), 'q');
    EXPECT_EQ(fenLetter(EMPTY), ' ');
    EXPECT_EQ(fenLetter(14), '?');
    EXPECT_EQ(fenLetter(200), '?');
    EXPECT_EQ(SAN_LETTERS[BLACK_KNIGHT], 'N');
    EXPECT_EQ(LOWER_LETTERS[WHITE_ROOK], 'r');
    for (Piece piece : {0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13})
        EXPECT_EQ(pieceFromLetter(fenLetter(piece)), piece);
    EXPECT_EQ(pieceFromLetter('x'), EMPTY);
}

TEST(Moves, SpecialValuesAreTheirWords) {
    EXPECT_EQ(NULL_MOVE.word(), 0u);
    EXPECT_EQ(NO_MOVE.word(), 0x06880688u);
    EXPECT_EQ(AMBIGUOUS_MOVE.word(), 0x06000600u);
    EXPECT_EQ(CMove().word(), EMPTY_MOVE.word());
    EXPECT_EQ(CASTLE_WHITE_SHORT.word(), 0x27600040u);
    EXPECT_EQ(CASTLE_BLACK_LONG.word(), 0x27270847u);
    EXPECT_TRUE(CMove(0x10, WHITE_KNIGHT, 0x22, 0x07).isQuiet());
    EXPECT_FALSE(CASTLE_WHITE_SHORT.isQuiet());
    EXPECT_FALSE(CMove(0x41, WHITE_PAWN, 0x43, 0x07).isQuiet());
    EXPECT_TRUE(NULL_MOVE.isQuiet());
    // The clock restarts at pawn moves and captures only.
    EXPECT_FALSE(CASTLE_WHITE_SHORT.resetsClock());
    EXPECT_FALSE(NULL_MOVE.resetsClock());
    EXPECT_FALSE(CMove(0x10, WHITE_KNIGHT, 0x22, 0x07).resetsClock());
    EXPECT_TRUE(CMove(0x41, WHITE_PAWN, 0x43, 0x07).resetsClock());
    EXPECT_TRUE(CMove(0x10, WHITE_KNIGHT, 0x22, 0x80 | BLACK_ROOK).resetsClock());
    EXPECT_TRUE(CMove(0x16, WHITE_QUEEN, 0x17, 0x17).resetsClock());
}

TEST(Moves, CoordinateText) {
    struct {
        CMove move;
        const char* text;
    } cases[] = {
        {CMove(0x41, WHITE_PAWN, 0x43, 0x07), "e2e4"},
        {CMove(0x11, BLACK_KNIGHT, 0x10, 0x17), "b2b1n"},
        {CMove(0x46, WHITE_QUEEN, 0x57, 0x9B), "e7f8q"},
        {CASTLE_BLACK_LONG, "e8c8"},
        {NULL_MOVE, "null"},
    };
    for (const auto& c : cases) {
        char text[6];
        coordinateText(c.move, text);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(MakeMove, EnPassantSquareOnlyWhenACaptureIsPossible) {
    CPosition position;
    play(position, {"e2e4"});
    EXPECT_EQ(position.enPassant(), 0);
    play(position, {"d7d5", "e4e5", "f7f5"});
    EXPECT_EQ(position.enPassant(), 0x55); // f6
    EXPECT_EQ(fenOf(position), "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
    play(position, {"e5f6"});
    EXPECT_EQ(position.lastMove(), CMove(0x44, WHITE_PAWN, 0x55, 0xCC));
    EXPECT_EQ(position.at(0x54), EMPTY) << "the pawn taken en passant is removed";
    position.takeBack();
    EXPECT_EQ(fenOf(position), "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
}

TEST(MakeMove, CastlingMovesTheRookAndRightsFollowTheCorners) {
    CPosition position;
    position.setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    play(position, {"e1g1"});
    EXPECT_EQ(position.lastMove(), CASTLE_WHITE_SHORT);
    EXPECT_EQ(fenOf(position), "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 1 1")
        << "castling is neither a capture nor a pawn move: the clock counts on";
    play(position, {"e8c8"});
    EXPECT_EQ(fenOf(position), "2kr3r/8/8/8/8/8/8/R4RK1 w - - 2 2");
    position.takeBack();
    position.takeBack();

    position.setFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    play(position, {"a1a8"});
    EXPECT_EQ(position.castling(), CASTLE_K | CASTLE_k)
        << "rook taken on a8 ends black's long right";
    play(position, {"h8h1"});
    EXPECT_EQ(position.castling(), 0);
    position.takeBack();
    EXPECT_EQ(position.castling(), CASTLE_K | CASTLE_k);
}

TEST(MakeMove, CountersRiseAndFallWithTheMoves) {
    CPosition position;
    position.setFen("4k3/8/8/8/8/8/8/4K1N1 w - - 10 30");
    play(position, {"g1f3", "e8d8", "f3g5"});
    EXPECT_EQ(position.halfMoveClock(), 13);
    EXPECT_EQ(position.moveNumber(), 31);
    const int clocks[] = {12, 11, 10};
    const int numbers[] = {31, 30, 30};
    for (int i = 0; i < 3; ++i) {
        position.takeBack();
        EXPECT_EQ(position.halfMoveClock(), clocks[i]) << "the clock read from the FEN counts on";
        EXPECT_EQ(position.moveNumber(), numbers[i]);
    }
    position.takeBack(); // nothing left: nothing happens
    EXPECT_EQ(fenOf(position), "4k3/8/8/8/8/8/8/4K1N1 w - - 10 30");

    play(position, {"g1f3", "e8d7", "f3e5", "d7e6", "e5d3"});
    EXPECT_EQ(position.halfMoveClock(), 15);
    play(position, {"e6d5", "d3b4"});
    position.takeBack();
    EXPECT_EQ(position.halfMoveClock(), 16);

    // Behind a capture or pawn move the FEN's clock no longer counts.
    position.setFen("4k3/8/8/3p4/8/2N5/8/4K3 w - - 40 1");
    play(position, {"c3b5", "e8d7", "b5c7", "d5d4", "c7e8"});
    EXPECT_EQ(position.halfMoveClock(), 1);
    position.takeBack();
    EXPECT_EQ(position.halfMoveClock(), 0);
    position.takeBack();
    EXPECT_EQ(position.halfMoveClock(), 43);

    // A clock set by hand during the game is where taking back counts down from.
    position.setFen("4k3/8/8/8/8/8/8/4K1N1 w - - 0 1");
    play(position, {"g1f3", "e8d8", "f3g5"});
    position.setHalfMoveClock(50);
    position.takeBack();
    EXPECT_EQ(position.halfMoveClock(), 49);
    position.takeBack();
    position.takeBack();
    EXPECT_EQ(position.halfMoveClock(), 47);
}

TEST(MakeMove, PawnMovesAndCapturesResetTheClock) {
    CPosition position;
    position.setFen("4k3/8/8/3p4/8/2N5/4P3/4K3 w - - 7 1");
    play(position, {"c3b5"});
    EXPECT_EQ(position.halfMoveClock(), 8);
    play(position, {"d5d4"});
    EXPECT_EQ(position.halfMoveClock(), 0);
    play(position, {"b5d4"});
    EXPECT_EQ(position.halfMoveClock(), 0);
    EXPECT_EQ(position.lastMove(), CMove(0x14, WHITE_KNIGHT, 0x33, 0x80 | BLACK_PAWN));
}

TEST(MakeMove, NullMovePasses) {
    CPosition position;
    play(position, {"e2e4", "d7d5", "e4e5", "f7f5"});
    ASSERT_NE(position.enPassant(), 0);
    const std::string board = fenOf(position).substr(0, fenOf(position).find(' '));
    play(position, {"null"});
    EXPECT_EQ(position.enPassant(), 0);
    EXPECT_EQ(position.sideToMove(), BLACK);
    EXPECT_EQ(position.lastMove(), NULL_MOVE);
    EXPECT_EQ(fenOf(position).substr(0, board.size()), board);
    position.takeBack();
    EXPECT_EQ(position.enPassant(), 0x55);
}

TEST(MakeCoordinateMove, PromotionColourFollowsTheDestinationRank) {
    CPosition position;
    position.setFen("4k3/8/8/8/8/8/1p6/4K3 b - - 0 1");
    play(position, {"b2b1N"});
    EXPECT_EQ(position.at(0x10), BLACK_KNIGHT);
    EXPECT_EQ(position.lastMove(), CMove(0x11, BLACK_KNIGHT, 0x10, 0x17));
    char text[6];
    coordinateText(position.lastMove(), text);
    EXPECT_STREQ(text, "b2b1n");

    position.setFen("r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    play(position, {"b7a8q"});
    EXPECT_EQ(position.at(0x07), WHITE_QUEEN);
    EXPECT_EQ(position.lastMove().flags, 0x90 | BLACK_ROOK);
    EXPECT_EQ(position.castling(), 0);
}

TEST(MakeCoordinateMove, RefusesTextsThatNameNoMove) {
    CPosition position;
    for (const char* text : {"", "e", "e2", "e2e", "i2i4", "e2e9", "e3e4", "e2e2", "e2e4x", "nul",
                             "NULL", "\xe9\xe9\xe9\xe9"}) {
        EXPECT_FALSE(position.makeCoordinateMove(text)) << text;
        EXPECT_EQ(fenOf(position), START_FEN);
    }
    EXPECT_FALSE(position.makeCoordinateMove(nullptr));
}

TEST(History, GrowsByDoublingAndTakesEverythingBack) {
    CPosition position;
    EXPECT_EQ(position.historyCapacity(), 16u);
    const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(position.makeCoordinateMove(shuffle[i % 4]));
    EXPECT_EQ(position.historyCount(), 100u);
    EXPECT_EQ(position.historyCapacity(), 128u);
    EXPECT_EQ(position.moveNumber(), 51);
    CPosition copy(position);
    for (int i = 0; i < 100; ++i)
        position.takeBack();
    EXPECT_EQ(fenOf(position), START_FEN);
    EXPECT_EQ(copy.historyCount(), 100u) << "a copy keeps its own history";
    copy.takeBack();
    EXPECT_EQ(copy.lastMove(), CMove(0x52, WHITE_KNIGHT, 0x60, 0x07));
    copy = position;
    EXPECT_EQ(copy.historyCount(), 0u);
    EXPECT_EQ(fenOf(copy), START_FEN);
}

TEST(KingSquare, FollowsTheKingAndAnswersNoneWithoutOne) {
    CPosition position;
    EXPECT_EQ(position.kingSquare(WHITE_KING), 0x40);
    EXPECT_EQ(position.kingSquare(BLACK_KING), 0x47);
    play(position, {"e2e4", "e7e5", "e1e2"});
    EXPECT_EQ(position.kingSquare(WHITE_KING), 0x41);
    position.takeBack();
    EXPECT_EQ(position.kingSquare(WHITE_KING), 0x40);
    position.setFen("8/8/8/8/8/8/8/7K w - - 0 1");
    EXPECT_EQ(position.kingSquare(BLACK_KING), NO_SQUARE);
    EXPECT_EQ(position.kingSquare(WHITE_KING), 0x70);
    position.put(0x70, EMPTY);
    position.put(0x33, WHITE_KING);
    EXPECT_EQ(position.kingSquare(WHITE_KING), 0x33) << "a stale cache is refreshed";
}

TEST(Clear, EmptiesTheBoardButKeepsTheHistory) {
    CPosition position;
    play(position, {"e2e4"});
    position.clear();
    EXPECT_EQ(fenOf(position), "8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(position.historyCount(), 1u);
    EXPECT_EQ(position.at(0x08), OFF_BOARD);
    EXPECT_EQ(position.at(0xFF), OFF_BOARD);
}

} // namespace
