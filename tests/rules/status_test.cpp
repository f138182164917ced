// The end of a game (mate, stalemate, repetition, fifty moves, material) and the
// checks a hand-made position must pass before a game may start from it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "rules/position.h"

#include "../support/fen_text.h"

namespace {

int statusAfter(const char* fen, const std::vector<const char*>& moves) {
    CPosition position;
    position.setFen(fen);
    for (const char* move : moves)
        EXPECT_TRUE(position.makeCoordinateMove(move)) << move;
    int reason = -1;
    const bool over = position.gameStatus(reason);
    EXPECT_EQ(over, reason != STATUS_ON) << fen;
    return reason;
}

TEST(GameStatus, Cases) {
    struct {
        const char* fen;
        std::vector<const char*> moves;
        int reason;
    } cases[] = {
        {START_FEN, {}, STATUS_ON},
        {START_FEN, {"f2f3", "e7e5", "g2g4", "d8h4"}, STATUS_CHECKMATE},
        {START_FEN, {"f2f3", "e7e5", "g2g4"}, STATUS_ON},
        // Stalemate wins over the material that would also end the game.
        {"k7/2Q5/1K6/8/8/8/8/8 b - - 0 1", {}, STATUS_STALEMATE},
        {"k7/8/1QK5/8/8/8/8/8 w - - 0 1", {"b6c7"}, STATUS_STALEMATE},
        {"7k/8/6KN/8/8/8/8/8 b - - 0 1", {}, STATUS_STALEMATE},
        // Repetition: the start position for the third time after the eighth half-move.
        {START_FEN, {"g1f3", "g8f6", "f3g1", "f6g8"}, STATUS_ON},
        {START_FEN, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"}, STATUS_ON},
        {START_FEN,
         {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"},
         STATUS_REPETITION},
        // A double step nobody can take en passant does not make positions differ.
        {"4k3/8/8/8/8/8/4P3/4K1N1 w - - 0 1",
         {"g1f3", "e8d8", "f3g1", "d8e8", "g1f3", "e8d8", "f3g1", "d8e8"},
         STATUS_REPETITION},
        {"4k3/8/8/8/8/8/4P3/4K1N1 w - - 0 1",
         {"g1f3", "e8d8", "f3g1", "d8e8", "e2e4", "e8d8", "g1f3", "d8e8"},
         STATUS_ON},
        // Material: dead only where no sequence of moves can mate.
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", {}, STATUS_MATERIAL},
        {"4k3/8/8/8/8/8/8/4K1N1 w - - 0 1", {}, STATUS_MATERIAL},
        {"4k3/8/8/8/8/8/8/4KB2 w - - 0 1", {}, STATUS_MATERIAL},
        {"4kn2/8/8/8/8/8/8/4K3 w - - 0 1", {}, STATUS_MATERIAL},
        {"4k3/8/8/8/8/8/8/2B1KB2 w - - 0 1", {}, STATUS_ON},        // bishops of both colours
        {"4k3/8/8/8/8/4B3/8/2B1K3 w - - 0 1", {}, STATUS_MATERIAL}, // both on dark squares
        {"4kb2/8/8/8/8/8/8/4K1B1 w - - 0 1", {}, STATUS_MATERIAL},  // f8 and g1: both dark
        {"4kb2/8/8/8/8/8/8/4KB2 w - - 0 1", {}, STATUS_ON},         // f8 dark, f1 light
        {"1b2kb2/b7/8/8/8/8/8/2B1K1B1 w - - 0 1", {}, STATUS_MATERIAL},
        {"4kn2/8/8/8/8/8/8/4KN2 w - - 0 1", {}, STATUS_ON},
        {"4kn2/8/8/8/8/8/8/4KB2 w - - 0 1", {}, STATUS_ON},
        {"4k3/8/8/8/8/8/8/4KNN1 w - - 0 1", {}, STATUS_ON},
        {"4k3/8/8/8/8/8/8/4KBN1 w - - 0 1", {}, STATUS_ON},
        {"4k3/8/8/8/8/8/4P3/4KB2 w - - 0 1", {}, STATUS_ON},
        {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", {}, STATUS_ON},
        {"4k3/8/8/8/8/8/8/q3K3 w - - 0 1", {}, STATUS_ON},
        // The fifty-move rule counts on from the clock of a FEN, through castling,
        // and restarts at a pawn move; mate on the hundredth half-move is mate.
        {"4k3/8/8/8/8/8/8/R3K3 w - - 99 80", {"a1a2"}, STATUS_FIFTY_MOVES},
        {"4k3/8/8/8/8/8/8/R3K3 w - - 98 80", {"a1a2"}, STATUS_ON},
        {"4k3/8/8/8/8/8/P7/R3K3 w - - 99 80", {"a2a3"}, STATUS_ON},
        {"4k3/8/8/8/8/8/8/R3K3 w Q - 99 80", {"e1c1"}, STATUS_FIFTY_MOVES},
        {"4k3/8/8/8/8/8/8/R3K3 w - - 150 80", {}, STATUS_FIFTY_MOVES},
        {"4k3/R7/8/8/8/8/8/1R2K3 w - - 99 80", {"b1b8"}, STATUS_CHECKMATE},
        // Without a king the side to move has no move; not in check, so stalemate.
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", {}, STATUS_STALEMATE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusAfter(c.fen, c.moves), c.reason) << c.fen;
}

// Plays quiet moves (no pawn, capture, castling, nor any move of the pieces on the
// kept squares) that neither repeat a position a third time nor end the game.
void quietWalk(CPosition& position, int plies, std::vector<Square> kept = {}) {
    std::map<std::string, int> seen;
    for (int ply = 0; ply < plies; ++ply) {
        ++seen[withoutCounters(position)];
        CMove moves[MAX_MOVES];
        uint16_t count = 0;
        position.legalMoves(moves, count);
        bool moved = false;
        for (uint16_t i = 0; i < count && !moved; ++i) {
            const CMove move = moves[i];
            bool keep = false;
            for (Square square : kept)
                keep = keep || move.from == square;
            if (!move.isQuiet() || keep) continue;
            position.makeMove(move);
            if (seen[withoutCounters(position)] < 1 && !position.inCheck() &&
                position.hasLegalMove()) {
                moved = true;
                break;
            }
            position.takeBack();
        }
        ASSERT_TRUE(moved) << "the walk got stuck at ply " << ply;
    }
}

TEST(GameStatus, FiftyMoves) {
    CPosition position;
    position.setFen("r3k2r/8/2n2b2/3q4/3Q4/2B2N2/8/R3K2R w KQkq - 0 1");
    quietWalk(position, 99, {0x40, 0x00, 0x70, 0x47, 0x07, 0x77});
    int reason = -1;
    EXPECT_FALSE(position.gameStatus(reason));
    EXPECT_EQ(reason, STATUS_ON);
    ASSERT_NO_FATAL_FAILURE(quietWalk(position, 1, {0x40, 0x00, 0x70, 0x47, 0x07, 0x77}));
    EXPECT_TRUE(position.gameStatus(reason));
    EXPECT_EQ(reason, STATUS_FIFTY_MOVES);
    EXPECT_EQ(position.historyCount(), 100u) << "the status leaves the history alone";

    // Castling counts on, though no position before it can come back.
    position.setFen("r3k2r/8/2n2b2/3q4/3Q4/2B2N2/8/R3K2R w KQkq - 0 1");
    quietWalk(position, 60, {0x40, 0x00, 0x70, 0x47, 0x07, 0x77});
    ASSERT_TRUE(position.makeCoordinateMove("e1g1"));
    quietWalk(position, 38, {0x47, 0x07, 0x77});
    EXPECT_FALSE(position.gameStatus(reason));
    ASSERT_NO_FATAL_FAILURE(quietWalk(position, 1, {0x47, 0x07, 0x77}));
    EXPECT_TRUE(position.gameStatus(reason));
    EXPECT_EQ(reason, STATUS_FIFTY_MOVES);

    // Taking back below the hundredth half-move goes on again, from the FEN's clock.
    position.setFen("4k3/8/8/8/8/8/8/R3K3 w - - 99 80");
    ASSERT_TRUE(position.makeCoordinateMove("a1a2"));
    EXPECT_TRUE(position.gameStatus(reason));
    position.takeBack();
    EXPECT_FALSE(position.gameStatus(reason));
    ASSERT_TRUE(position.makeCoordinateMove("a1b1"));
    EXPECT_TRUE(position.gameStatus(reason));
    EXPECT_EQ(reason, STATUS_FIFTY_MOVES);
}

TEST(GameStatus, RepetitionNeedsTheSameCastlingRights) {
    // The rook goes out and back, giving up the right: the start does not count as
    // the first of the three.
    CPosition position;
    position.setFen("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    for (const char* move : {"h1h2", "e8d8", "h2h1", "d8e8"})
        ASSERT_TRUE(position.makeCoordinateMove(move));
    int reason = -1;
    EXPECT_FALSE(position.gameStatus(reason)) << "the right was lost: not the same position";
    for (const char* move : {"h1h2", "e8d8", "h2h1", "d8e8"})
        ASSERT_TRUE(position.makeCoordinateMove(move));
    EXPECT_FALSE(position.gameStatus(reason));
    for (const char* move : {"h1h2", "e8d8", "h2h1", "d8e8"})
        ASSERT_TRUE(position.makeCoordinateMove(move));
    EXPECT_TRUE(position.gameStatus(reason));
    EXPECT_EQ(reason, STATUS_REPETITION);

    position.setFen("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    for (const char* move :
         {"e1g1", "e8d8", "g1h2", "d8e8", "h2g1", "e8d8", "g1h2", "d8e8", "h2g1", "e8d8"})
        ASSERT_TRUE(position.makeCoordinateMove(move));
    EXPECT_TRUE(position.gameStatus(reason));
    EXPECT_EQ(reason, STATUS_REPETITION) << "repeats after castling are found";
}

TEST(GameStatus, AskedTwiceAnswersTheSameAndChangesNothing) {
    CPosition position;
    for (const char* move : {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"})
        position.makeCoordinateMove(move);
    char before[FEN_BUFFER_SIZE];
    position.getFen(before);
    for (int ask = 0; ask < 3; ++ask) {
        int reason = -1;
        EXPECT_TRUE(position.gameStatus(reason));
        EXPECT_EQ(reason, STATUS_REPETITION);
    }
    char after[FEN_BUFFER_SIZE];
    position.getFen(after);
    EXPECT_STREQ(before, after);
    EXPECT_EQ(position.historyCount(), 8u);
    position.takeBack();
    int reason = -1;
    EXPECT_FALSE(position.gameStatus(reason));
}

TEST(ValidSetup, Cases) {
    struct {
        const char* fen;
        bool valid;
        uint8_t castling = 0xFF; // 0xFF: as read
        Square enPassant = 0xFF; // 0xFF: as read
    } cases[] = {
        {START_FEN, true},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", true},
        {"4k3/8/8/8/8/8/8/3KK3 w - - 0 1", false}, // two white kings
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", false},    // no white king
        {"4k2P/8/8/8/8/8/8/4K3 w - - 0 1", false}, // white pawn on h8
        {"4k3/8/8/8/8/8/8/p3K3 w - - 0 1", false}, // black pawn on a1
        {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", true},
        {"4k2R/8/8/8/8/8/8/4K3 w - - 0 1", false}, // Black in check, White to move
        {"4k2R/8/8/8/8/8/8/4K3 b - - 0 1", true},
        {"4k3/8/8/8/8/8/8/4K1R1 w K - 0 1", false, CASTLE_K}, // the rook is on g1
        {"4k3/8/8/8/8/8/8/4K2R w K - 0 1", true, CASTLE_K},
        {"4k3/8/8/8/8/8/8/r3K3 w - - 0 1", false, CASTLE_Q}, // a black rook is no white right
        {"r3k3/8/8/8/8/8/8/4K3 w - - 0 1", true, CASTLE_q},
        {"4k3/8/8/8/3pP3/8/8/4K3 w - - 0 1", false, 0xFF, 0x42}, // e3 with White to move
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", true},
        {"4k3/8/8/3Pp3/8/8/8/4K3 w - - 0 1", true, 0xFF, 0x45},
        {"4k3/8/8/3P4/8/8/8/4K3 w - - 0 1", false, 0xFF, 0x45}, // no black pawn below e6
        {"4k3/pppppppp/p7/8/8/8/8/4K3 w - - 0 1", false},       // nine pawns
        {"4k3/pppppppp/8/8/8/8/8/QQ2K3 w - - 0 1", true},
        {"4k3/8/8/8/8/8/PPPPPPPP/QQ2K3 w - - 0 1", false},  // pawns + queens = 10
        {"4k3/8/8/8/8/NNN5/PPPPPPPP/4K3 w - - 0 1", false}, // pawns + knights = 11
        {"4k3/8/8/8/8/BB6/PPPPPPPP/4K3 w - - 0 1", true},
        {"4k3/8/8/NNNNNNNN/NNNNNNNN/8/8/4K3 w - - 0 1", false}, // 17 white pieces
    };
    for (const auto& c : cases) {
        CPosition position;
        position.setFen(c.fen);
        if (c.castling != 0xFF) position.setCastling(c.castling);
        if (c.enPassant != 0xFF) position.setEnPassant(c.enPassant);
        EXPECT_EQ(position.isValidSetup(), c.valid) << c.fen;
    }
    CPosition position;
    position.put(0x33, OFF_BOARD);
    EXPECT_FALSE(position.isValidSetup()) << "only pieces and empty squares belong on the board";
}

TEST(Playable, NamesWhatMakesAGameImpossible) {
    struct {
        const char* fen;
        const char* why; // null: playable
    } cases[] = {
        {START_FEN, nullptr},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", nullptr},
        {"4k2R/8/8/8/8/8/8/4K3 b - - 0 1", nullptr}, // the side to move may be in check
        // Finer faults are the setup's business, not a reason to refuse a file.
        {"4k3/pppppppp/p7/8/8/8/8/4K3 w - - 0 1", nullptr},
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", "White has no king"},
        {"4k3/8/8/8/8/8/8/3KK3 w - - 0 1", "White has more than one king"},
        {"8/8/8/8/8/8/8/4K3 w - - 0 1", "Black has no king"},
        {"3kk3/8/8/8/8/8/8/4K3 b - - 0 1", "Black has more than one king"},
        {"8/8/8/8/8/8/8/8 w - - 0 1", "White has no king"},
        {"4k2P/8/8/8/8/8/8/4K3 w - - 0 1", "A pawn stands on the first or last rank"},
        {"4k3/8/8/8/8/8/8/p3K3 b - - 0 1", "A pawn stands on the first or last rank"},
        {"4k3/8/8/8/8/8/8/P3K3 w - - 0 1", "A pawn stands on the first or last rank"},
        {"4k2R/8/8/8/8/8/8/4K3 w - - 0 1", "Black is in check but White is to move"},
        {"4k3/8/8/8/8/8/3p4/4K3 b - - 0 1", "White is in check but Black is to move"},
        {"4k3/8/8/8/8/5n2/8/4K3 b - - 0 1", "White is in check but Black is to move"},
        {"8/8/8/8/8/8/8/kK6 w - - 0 1", "Black is in check but White is to move"},
    };
    for (const auto& c : cases) {
        CPosition position;
        position.setFen(c.fen);
        const char* why = position.whyNotPlayable();
        EXPECT_EQ(why ? std::string(why) : "playable", c.why ? c.why : "playable") << c.fen;
        EXPECT_EQ(why == nullptr || !position.isValidSetup(), true)
            << "whatever cannot be played is no valid setup either: " << c.fen;
    }
}

} // namespace
