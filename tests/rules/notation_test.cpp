// Writing and reading move text: SAN with its disambiguation and suffixes, the
// looser forms other programs write, and the canonical key used to compare them.
#include <gtest/gtest.h>

#include <string>

#include "rules/notation.h"
#include "rules/position.h"

namespace {

std::string coordinate(CMove move) {
    if (move == NO_MOVE) return "none";
    char text[6];
    coordinateText(move, text);
    return text;
}

struct SanCase {
    const char* fen;
    const char* move; // coordinate text
    const char* san;  // with suffix, no list, no forcing
};

const SanCase SAN_CASES[] = {
    {START_FEN, "g1f3", "Nf3"},
    {START_FEN, "e2e4", "e4"},
    {"rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "e4d5", "exd5"},
    {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3", "e5f6", "exf6"},
    // Rivals on another file ask for the file, on the same file for the rank.
    {"4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1", "b1d2", "Nbd2"},
    {"4k3/8/8/R7/8/8/8/R3K3 w - - 0 1", "a1a3", "R1a3"},
    {"4k3/8/8/8/8/1N6/8/1N2KN2 w - - 0 1", "b1d2", "Nb1d2"},
    {"4k3/8/8/1N6/8/8/8/1N2KN2 w - - 0 1", "b1d2", "Nbd2"}, // b5 does not reach d2
    {"4k3/8/8/1N6/8/8/8/1N2KN2 w - - 0 1", "f1d2", "Nfd2"},
    // A pinned knight still counts without a list.
    {"4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1", "g1e2", "Nge2"},
    // Suffixes.
    {"3k4/4P3/8/8/8/8/8/4K3 w - - 0 1", "e7e8q", "e8=Q+"},
    {"3k4/4P3/8/8/8/8/8/4K3 w - - 0 1", "e7e8n", "e8=N"},
    {"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2", "d8h4", "Qh4#"},
    {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", "e1g1", "O-O+"},
    {"r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "e8c8", "O-O-O"},
    // Black pieces are written in capitals too.
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", "g8f6", "Nf6"},
    {"4k3/8/8/8/8/8/1p6/R3K3 b - - 0 1", "b2a1r", "bxa1=R+"},
    // A pawn push never names its file, even beside a capturing promotion.
    {"2r1k3/3P4/8/8/8/8/8/4K3 w - - 0 1", "d7d8q", "d8=Q+"},
    {"2r1k3/3P4/8/8/8/8/8/4K3 w - - 0 1", "d7c8q", "dxc8=Q+"},
    // One rival on the same file and one on another: file and rank both written.
    {"7k/8/8/Q7/8/7K/Q5Q1/8 w - - 0 1", "a2d2", "Qa2d2"},
    {"7k/8/8/Q7/8/7K/Q5Q1/8 w - - 0 1", "g2d2", "Qgd2"},
    {"7k/8/8/Q7/8/7K/Q5Q1/8 w - - 0 1", "a5d2", "Qa5d2"},
};

TEST(SanText, WritesTheNotation) {
    for (const SanCase& c : SAN_CASES) {
        CPosition position;
        position.setFen(c.fen);
        char before[FEN_BUFFER_SIZE];
        position.getFen(before);
        CMove moves[MAX_MOVES];
        uint16_t count = 0;
        position.legalMoves(moves, count);
        CMove move = NO_MOVE;
        for (uint16_t i = 0; i < count; ++i)
            if (coordinate(moves[i]) == c.move) move = moves[i];
        ASSERT_NE(move, NO_MOVE) << c.fen << " " << c.move;
        EXPECT_STREQ(sanText(position, move, true).c_str(), c.san) << c.fen;
        char after[FEN_BUFFER_SIZE];
        position.getFen(after);
        EXPECT_STREQ(before, after) << "the clock and everything else is left as found";
    }
}

TEST(SanText, ListAndForcing) {
    CPosition position;
    position.setFen("4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1");
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    const CMove move = position.findMove(0x60, 0x41, 0);
    EXPECT_STREQ(sanText(position, move, false, moves, count).c_str(), "Ne2")
        << "with the legal list the pinned knight is no rival";
    EXPECT_STREQ(sanText(position, move, false, nullptr, 0, true, false).c_str(), "N1e2");
    EXPECT_STREQ(sanText(position, move, false, nullptr, 0, false, true).c_str(), "Nge2");
    EXPECT_STREQ(sanText(position, move, false, nullptr, 0, true, true).c_str(), "Ng1e2");
    EXPECT_STREQ(sanText(position, NO_MOVE, true).c_str(), "");
}

struct ParseCase {
    const char* fen;
    const char* text;
    const char* move; // coordinate text, or "none"
};

const char* const AFTER_E4_D5 = "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2";
const char* const CASTLES = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
const char* const EN_PASSANT = "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3";
const char* const PROMOTION = "3k4/4P3/8/8/8/8/8/4K3 w - - 0 1";
const char* const PINNED = "4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1";
const char* const BLACK_BISHOP_OUT =
    "rnbqkbnr/ppp1pppp/8/3p4/3P4/5N2/PPP1PPPP/RNBQKB1R b KQkq - 1 2";

const ParseCase PARSE_CASES[] = {
    {START_FEN, "e4", "e2e4"},
    {START_FEN, "E4?", "e2e4"},
    {START_FEN, "Pe2-e4", "e2e4"},
    {START_FEN, "e2e4", "e2e4"},
    {START_FEN, "e2-e4", "e2e4"},
    {START_FEN, "e3", "e2e3"},
    {START_FEN, "Nf3", "g1f3"},
    {START_FEN, "ng1f3", "g1f3"},
    {START_FEN, "Ng1-f3", "g1f3"},
    {START_FEN, "N1f3", "g1f3"},
    {START_FEN, "Ngf3", "g1f3"},
    {START_FEN, "Nf3!?", "g1f3"},
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", "e5", "e7e5"},
    {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", "Nf6", "g8f6"},
    {CASTLES, "O-O", "e1g1"},
    {CASTLES, "0-0", "e1g1"},
    {CASTLES, "o-o", "e1g1"},
    {CASTLES, "O-O+", "e1g1"},
    {CASTLES, "O-O-O", "e1c1"},
    {CASTLES, "0-0-0", "e1c1"},
    {CASTLES, "e1g1", "e1g1"},
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "O-O-O", "e8c8"},
    {"r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1", "O-O", "none"}, // f1 attacked
    {EN_PASSANT, "exd6", "e5d6"},
    {EN_PASSANT, "exd6ep", "e5d6"},
    {EN_PASSANT, "exd6e.p.", "none"},
    {EN_PASSANT, "ed6", "e5d6"},
    {EN_PASSANT, "exf6", "none"}, // no en-passant square on f6
    {AFTER_E4_D5, "exd5", "e4d5"},
    {AFTER_E4_D5, "ed5", "e4d5"},
    {AFTER_E4_D5, "e4pd5", "e4d5"},
    {AFTER_E4_D5, "Pe4pd5", "e4d5"},
    {AFTER_E4_D5, "e4xd5", "e4d5"},
    {AFTER_E4_D5, "Bb5+", "f1b5"},
    {AFTER_E4_D5, "Bf1b5", "f1b5"},
    {AFTER_E4_D5, "Ke2", "e1e2"},
    {"4k3/8/8/8/8/8/2P5/1P2K3 w - - 0 1", "bc4", "none"}, // no b-pawn can take on c4
    {"4k3/8/8/8/2p5/1P6/8/2B1K3 w - - 0 1", "bc4", "b3c4"},
    {"4k3/8/8/8/2p5/1P6/8/4KB2 w - - 0 1", "Bc4", "f1c4"},
    {"4k3/8/8/8/2p5/1P6/8/4KB2 w - - 0 1", "Bxc4", "f1c4"},
    {PROMOTION, "e8=Q", "e7e8q"},
    {PROMOTION, "e8Q", "e7e8q"},
    {PROMOTION, "e8q", "e7e8q"},
    {PROMOTION, "e8=Q+", "e7e8q"},
    {PROMOTION, "e8=N", "e7e8n"},
    {PROMOTION, "e8=R", "e7e8r"},
    // Coordinates: the promotion letter in either case, with or without "=";
    // without a letter the queen.
    {PROMOTION, "e7e8", "e7e8q"},
    {PROMOTION, "e7e8q", "e7e8q"},
    {PROMOTION, "e7e8Q", "e7e8q"},
    {PROMOTION, "e7-e8=Q", "e7e8q"},
    {PROMOTION, "e7e8=q", "e7e8q"},
    {PROMOTION, "e7e8n", "e7e8n"},
    {PROMOTION, "e7e8N", "e7e8n"},
    {PROMOTION, "e7e8r", "e7e8r"},
    {PROMOTION, "e7e8b", "e7e8b"},
    {PROMOTION, "e7e8B", "e7e8b"},
    {PROMOTION, "e7-e8=B", "e7e8b"},
    {PROMOTION, "Pe7-e8=N", "e7e8n"},
    {PROMOTION, "e7e8k", "none"},
    {PROMOTION, "e7e8p", "none"},
    {"3qk3/4P3/8/8/8/8/8/4K3 w - - 0 1", "e7d8n", "e7d8n"},
    {"3qk3/4P3/8/8/8/8/8/4K3 w - - 0 1", "e7xd8=R", "e7d8r"},
    {"4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", "b2b1N", "b2b1n"},
    {"4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", "b2b1b", "b2b1b"},
    {"4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", "b2-b1=B", "b2b1b"},
    {"4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", "b2b1", "b2b1q"},
    {PROMOTION, "e8", "none"}, // a pawn never stays a pawn on the last rank
    {PROMOTION, "Pe7e8", "e7e8q"},
    // Long algebraic for every piece of either colour.
    {BLACK_BISHOP_OUT, "Bc8-f5", "c8f5"},
    {BLACK_BISHOP_OUT, "Bc8f5", "c8f5"},
    {BLACK_BISHOP_OUT, "bc8f5", "c8f5"},
    {BLACK_BISHOP_OUT, "Bf5", "c8f5"},
    {BLACK_BISHOP_OUT, "Pe7-e5", "e7e5"},
    {BLACK_BISHOP_OUT, "Ng8-f6", "g8f6"},
    {BLACK_BISHOP_OUT, "Ke8-d7", "e8d7"},
    {BLACK_BISHOP_OUT, "Qd8-d6", "d8d6"},
    {BLACK_BISHOP_OUT, "Bc8-h3", "c8h3"},
    {BLACK_BISHOP_OUT, "Bf8-d6", "none"}, // the e7 pawn is in the way
    {START_FEN, "Bc1-f4", "none"},
    {"rnbqkbnr/ppp1pppp/8/3p4/3P4/8/PPP1PPPP/RNBQKBNR w KQkq - 0 2", "Bc1-f4", "c1f4"},
    {"rnbqkbnr/ppp1pppp/8/3p4/3P4/8/PPP1PPPP/RNBQKBNR w KQkq - 0 2", "Bc1f4", "c1f4"},
    {"3qk3/8/8/8/8/8/3P4/4K3 b - - 0 1", "Qd8xd2", "d8d2"},
    {"3qk3/8/8/8/8/8/3P4/4K3 b - - 0 1", "Qd8-d2", "d8d2"},
    {"3qk3/3p4/8/8/8/8/8/3QK3 w - - 0 1", "Qd1xd7", "d1d7"},
    {"r3k3/8/8/8/8/8/8/R3K3 b - - 0 1", "Ra8xa1", "a8a1"},
    {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", "Ke1-g1", "e1g1"},
    // A b-pawn's capture and a bishop's move to the same square stay apart.
    {"4k3/8/2p5/1P6/4B3/8/8/4K3 w - - 0 1", "bxc6", "b5c6"},
    {"4k3/8/2p5/1P6/4B3/8/8/4K3 w - - 0 1", "Bxc6", "e4c6"},
    {"4k3/8/2p5/1P6/4B3/8/8/4K3 w - - 0 1", "Be4xc6", "e4c6"},
    {"4k3/8/2p5/1P6/4B3/8/8/4K3 w - - 0 1", "b5xc6", "b5c6"},
    {"4k3/8/8/8/4b3/1p6/2P5/4K3 b - - 0 1", "bxc2", "b3c2"},
    {"4k3/8/8/8/4b3/1p6/2P5/4K3 b - - 0 1", "Bxc2", "e4c2"},
    {"4k3/8/8/8/4b3/1p6/2P5/4K3 b - - 0 1", "Be4xc2", "e4c2"},
    {"4k3/8/8/8/4b3/1p6/2P5/4K3 b - - 0 1", "b3xc2", "b3c2"},
    {PINNED, "Ne2", "g1e2"},
    {PINNED, "Nge2", "g1e2"},
    {PINNED, "Nce2", "none"},
    // Text that names no move.
    {START_FEN, "Ke2", "none"},
    {START_FEN, "xyz", "none"},
    {START_FEN, "", "none"},
    {START_FEN, "e", "none"},
    {START_FEN, "+", "none"},
    {START_FEN, "--", "none"},
    {START_FEN, "e5", "none"},
    {START_FEN, "Nd2", "none"}, // d2 holds White's own pawn
    {START_FEN, "Qd3", "none"},
    {START_FEN, "ed3", "none"},
    {"4k3/8/8/8/8/4P3/8/4K3 w - - 0 1", "e5", "none"}, // a pawn off its start rank steps once
    {"4k3/4r3/8/8/8/8/4P3/4K3 w - - 0 1", "e4", "e2e4"},
    {"4k3/8/8/8/7b/8/5P2/4K3 w - - 0 1", "f3", "none"}, // the pawn is pinned
    {"4k3/8/8/8/7b/8/5P2/4K3 w - - 0 1", "f4", "none"},
    {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "\xc9\xe9\xff", "none"},
};

TEST(ParseSan, ReadsTheTextOfAMove) {
    for (const ParseCase& c : PARSE_CASES) {
        CPosition position;
        position.setFen(c.fen);
        EXPECT_EQ(coordinate(parseSan(position, c.text)), c.move)
            << c.fen << " \"" << c.text << '"';
        char after[FEN_BUFFER_SIZE];
        position.getFen(after);
        CPosition fresh;
        fresh.setFen(c.fen);
        char before[FEN_BUFFER_SIZE];
        fresh.getFen(before);
        EXPECT_STREQ(before, after);
    }
}

TEST(ParseSan, SurvivesLongAndNullTexts) {
    CPosition position;
    EXPECT_EQ(parseSan(position, nullptr), NO_MOVE);
    const std::string longText(10000, 'N');
    EXPECT_EQ(parseSan(position, longText.c_str()), NO_MOVE);
    EXPECT_EQ(parseSan(position, "e4                    garbage"), NO_MOVE);
}

TEST(NormalizeMoveText, Keys) {
    struct {
        const char* text;
        const char* key;
    } cases[] = {
        {"O-O", "oo"},
        {"0-0", "oo"},
        {"o-o", "oo"},
        {"O-O-O", "ooo"},
        {"Nxe5+", "ne5"},
        {"exd6ep", "ed6"},
        {"d6ep", "d6"},
        {"dep", "dep"}, // three characters keep their "ep"
        {"e8=Q", "e8q"},
        {"Bxc4", "Bc4"},
        {"bxc4", "bc4"},
        {"e4!!", "e4"},
        {"Qh4#", "qh4"},
        {"XYZ", "xyz"},
        {"", ""},
        // Reading stops after 19 characters, skipped ones included.
        {"+++++++++++++++++++e4", ""},
        {"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrs"},
    };
    for (const auto& c : cases) {
        char key[MOVE_KEY_SIZE];
        normalizeMoveText(c.text, key);
        EXPECT_STREQ(key, c.key) << c.text;
    }
}

} // namespace
