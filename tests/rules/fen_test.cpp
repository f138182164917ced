// Reading and writing FEN: round trips, the lenient reading of odd fields, and
// texts that stop early or run long, which must never be read out of bounds.
#include <gtest/gtest.h>

#include <string>

#include "rules/position.h"

#include "../support/fen_text.h"

namespace {

std::string readBack(const char* text) {
    CPosition position;
    position.setFen(text);
    return fenOf(position);
}

TEST(Fen, StartPositionRoundTrips) {
    CPosition position;
    EXPECT_EQ(fenOf(position), START_FEN);
    position.reset();
    EXPECT_EQ(fenOf(position), START_FEN);
    EXPECT_EQ(readBack(START_FEN), START_FEN);
}

struct FenCase {
    const char* text;
    const char* written;
};

// What a text reads as, written back: odd fields are dropped or clamped, never refused.
const FenCase FEN_CASES[] = {
    // Well-formed positions come back unchanged.
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
     "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"},
    {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
     "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3"},
    {"8/8/8/8/3pP3/8/8/4K2k b - e3 0 40", "8/8/8/8/3pP3/8/8/4K2k b - e3 0 40"},
    // Castling rights need their king and rook at home.
    {"r3k2r/8/8/8/8/8/8/R3K3 w KQkq - 0 1", "r3k2r/8/8/8/8/8/8/R3K3 w Qkq - 0 1"},
    {"r3k2r/8/8/8/8/8/8/R4K1R w KQkq - 0 1", "r3k2r/8/8/8/8/8/8/R4K1R w kq - 0 1"},
    {"4k3/8/8/8/8/8/8/R3K2R w KQxyz - 0 1", "4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"},
    // An en-passant square that no pawn can use is dropped.
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
     "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
    {"4k3/8/8/8/4P3/8/8/4K3 b - e4 0 1", "4k3/8/8/8/4P3/8/8/4K3 b - - 0 1"},
    {"4k3/8/8/8/3pP3/8/8/4K3 b - z9 0 1", "4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1"},
    // ... and so is one that cannot be right for the side to move: on the mover's
    // own side, on an occupied square, with the double step's origin occupied, or
    // with no rival pawn in front of it.
    {"4k3/8/8/8/3pP3/8/3PP3/4K3 w - e3 0 1", "4k3/8/8/8/3pP3/8/3PP3/4K3 w - - 0 1"},
    {"4k3/8/8/3pP3/8/8/8/4K3 b - d6 0 1", "4k3/8/8/3pP3/8/8/8/4K3 b - - 0 1"},
    {"4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", "4k3/8/3n4/3pP3/8/8/8/4K3 w - - 0 1"},
    {"4k3/3n4/8/3pP3/8/8/8/4K3 w - d6 0 1", "4k3/3n4/8/3pP3/8/8/8/4K3 w - - 0 1"},
    {"4k3/8/8/3PP3/8/8/8/4K3 w - d6 0 1", "4k3/8/8/3PP3/8/8/8/4K3 w - - 0 1"},
    {"4k3/8/8/8/3pp3/8/8/4K3 b - e3 0 1", "4k3/8/8/8/3pp3/8/8/4K3 b - - 0 1"},
    {"4k3/8/8/8/3pP3/8/4N3/4K3 b - e3 0 1", "4k3/8/8/8/3pP3/8/4N3/4K3 b - - 0 1"},
    {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"},
    {"4k3/8/8/8/Pp6/8/8/4K3 b - a3 0 1", "4k3/8/8/8/Pp6/8/8/4K3 b - a3 0 1"},
    {"4k3/8/8/6Pp/8/8/8/4K3 w - h6 0 1", "4k3/8/8/6Pp/8/8/8/4K3 w - h6 0 1"},
    {"4k3/8/8/7p/8/8/8/4K3 w - g6 0 1", "4k3/8/8/7p/8/8/8/4K3 w - - 0 1"},
    // Counters: negative clock reads 0, move number below 1 reads 1, missing ones too.
    {"4k3/8/8/8/8/8/8/4K3 w - - -3 0", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    {"4k3/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    {"4k3/8/8/8/8/8/8/4K3 w - - 12 345", "4k3/8/8/8/8/8/8/4K3 w - - 12 345"},
    {"4k3/8/8/8/8/8/8/4K3 w - -   7   9", "4k3/8/8/8/8/8/8/4K3 w - - 7 9"},
    {"4k3/8/8/8/8/8/8/4K3 w - - 40000 1", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    {"4k3/8/8/8/8/8/8/4K3 w - - 99999999999999999999 5", "4k3/8/8/8/8/8/8/4K3 w - - 0 5"},
    // Side letters in either case; anything else keeps White to move.
    {"4k3/8/8/8/8/8/8/4K3 B - - 0 1", "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
    {"4k3/8/8/8/8/8/8/4K3 x - - 0 1", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    // Unknown piece letters are empty squares; a short rank ends at "/".
    {"4k3/8/8/8/8/8/8/4K2X w - - 0 1", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    {"4k/8/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    // The board field ends only after eight files: blanks inside it are empty squares,
    // so a short last rank shifts every later field by what it swallowed.
    {"4k3/8/8/8/8/8/8/4K w - - 0 1", "4k3/8/8/8/8/8/8/4K3 w - - 1 1"},
    // Texts that stop early: the missing fields take their neutral values.
    {"", "8/8/8/8/8/8/8/8 w - - 0 1"},
    {"rnbqkbnr/pppp", "rnbqkbnr/pppp4/8/8/8/8/8/8 w - - 0 1"},
    {"4k3/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/4K3 w - - 0 1"},
    {"4k3/8/8/8/8/8/8/4K3 b", "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
    {"4k3/8/8/8/8/8/8/R3K3 w Q", "4k3/8/8/8/8/8/8/R3K3 w Q - 0 1"},
    {"4k3/8/8/8/3pP3/8/8/4K3 b - e", "4k3/8/8/8/3pP3/8/8/4K3 b - - 0 1"},
    {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1"},
    // Nine files in a rank: the extra character is skipped as the separator.
    {"ppppppppp/8/8/8/8/8/8/8 w - - 0 1", "pppppppp/8/8/8/8/8/8/8 w - - 0 1"},
    {"9/8/8/8/8/8/8/8 w - - 0 1", "8/8/8/8/8/8/8/8 w - - 0 1"},
    {"K9k/8/8/8/8/8/8/8 w - - 0 1", "K1k5/8/8/8/8/8/8/8 w - - 0 1"},
};

TEST(Fen, ReadsLenientlyAndWritesBack) {
    for (const FenCase& c : FEN_CASES)
        EXPECT_EQ(readBack(c.text), c.written) << c.text;
}

TEST(Fen, SurvivesHostileTexts) {
    // Long, non-ASCII and separator-only texts yield some position and a FEN that
    // fits the buffer; ASan reports any read past a terminator.
    std::string longText(10000, 'p');
    std::string slashes(10000, '/');
    std::string digits(10000, '8');
    std::string highBytes;
    for (int i = 0; i < 512; ++i)
        highBytes += char(0x80 + (i % 128));
    const std::string texts[] = {
        longText,  slashes,   digits,
        highBytes, " ",       "/",
        "w",       "- - - -", std::string("8/8/8/8/8/8/8/8 w KQkq e3 ") + std::string(5000, '9')};
    for (const std::string& text : texts) {
        CPosition position;
        position.setFen(text.c_str());
        const std::string written = fenOf(position);
        EXPECT_LT(written.size(), size_t(FEN_BUFFER_SIZE));
        EXPECT_EQ(readBack(written.c_str()), written);
    }
}

TEST(Fen, FillsTheBufferAtMost) {
    CPosition position;
    position.setFen(
        "qqqqqqqq/QQQQQQQQ/qqqqqqqq/QQQQQQQQ/qqqqqqqq/QQQQQQQQ/qqqqqqqq/QQQQQQQQ w - - 0 1");
    position.setHalfMoveClock(-32768);
    position.setMoveNumber(-32768);
    position.setEnPassant(0x42);
    position.setCastling(0x0F);
    char buffer[FEN_BUFFER_SIZE + 8];
    std::memset(buffer, 'x', sizeof buffer);
    position.getFen(buffer);
    EXPECT_LT(std::strlen(buffer), size_t(FEN_BUFFER_SIZE));
    EXPECT_EQ(buffer[FEN_BUFFER_SIZE], 'x');
}

TEST(Fen, ReadingEmptiesTheHistoryAndKeepsTheCapacity) {
    CPosition position;
    ASSERT_TRUE(position.makeCoordinateMove("e2e4"));
    EXPECT_EQ(position.historyCount(), 1u);
    position.setFen(START_FEN);
    EXPECT_EQ(position.historyCount(), 0u);
    EXPECT_EQ(position.historyCapacity(), 16u);
}

} // namespace
