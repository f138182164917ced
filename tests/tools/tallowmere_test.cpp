// The tallowmere tool as a user runs it: outputs, exit codes, and the one-line
// messages for bad FENs, bad moves and bad usage.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tool_run.h"

namespace {

const std::string START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string KIWIPETE = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

void expectOneLineError(const CToolResult& result, int exitCode, const std::string& part) {
    EXPECT_EQ(result.exitCode, exitCode) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(outputLines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find(part), std::string::npos) << result.err;
}

TEST(Tool, HelpAndUsage) {
    const CToolResult help = runTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"fen", "moves", "perft", "divide", "play", "status", "pgn"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    expectOneLineError(runTool({}), 2, "usage");
    expectOneLineError(runTool({"frobnicate"}), 2, "frobnicate");
    expectOneLineError(runTool({"fen"}), 2, "usage: tallowmere fen FEN");
    expectOneLineError(runTool({"fen", START, "extra"}), 2, "usage");
    expectOneLineError(runTool({"moves"}), 2, "usage");
    expectOneLineError(runTool({"play"}), 2, "usage");
    expectOneLineError(runTool({"status"}), 2, "usage");
    for (const char* depth : {"x", "-1", "99", "3x", ""})
        expectOneLineError(runTool({"perft", depth}), 2, "usage: tallowmere perft DEPTH [FEN]");
    expectOneLineError(runTool({"divide"}), 2, "usage: tallowmere divide DEPTH [FEN]");
}

TEST(Tool, FenIsWrittenBackAsRead) {
    const struct {
        std::string fen;
        std::string written;
    } cases[] = {
        {START, START},
        {"4k3/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"},
        {"4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1", "4k3/8/8/8/4P3/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/8/8/8/4K3  w  -  -  5  0", "4k3/8/8/8/8/8/8/4K3 w - - 5 1"},
    };
    for (const auto& c : cases) {
        const CToolResult result = runTool({"fen", c.fen});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, c.written + "\n");
    }
}

TEST(Tool, MalformedFenNamesTheField) {
    const struct {
        std::string fen;
        std::string message;
    } cases[] = {
        {"", "expected 6 fields, found 0"},
        {"8/8/8/8/8/8/8/8 w - - 0", "expected 6 fields, found 5"},
        {START + " extra", "expected 6 fields, found 7"},
        {"rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
         "board field: rank 7 has 9 files"},
        {"rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
         "board field: rank 7 has 7 files"},
        {"8/8/8/8/8/8/8 w - - 0 1", "board field: 7 ranks"},
        {"8/8/8/8/8/8/8/8/8 w - - 0 1", "board field: 9 ranks"},
        {"8/8/8/8/8/8/8/7X w - - 0 1", "board field: unknown piece letter 'X' in rank 1"},
        {"8/8/8/8/8/8/8/7\xe9 w - - 0 1", "board field: unknown piece letter byte 233 in rank 1"},
        {"8/8/8/8/8/8/8/8 x - - 0 1", "side to move field"},
        {"8/8/8/8/8/8/8/8 white - - 0 1", "side to move field"},
        {"8/8/8/8/8/8/8/8 w KQx - 0 1", "castling field"},
        {"8/8/8/8/8/8/8/8 w KK - 0 1", "castling field"},
        {"8/8/8/8/8/8/8/8 w - e9 0 1", "en passant field"},
        {"8/8/8/8/8/8/8/8 w - e 0 1", "en passant field"},
        {"8/8/8/8/8/8/8/8 w - - -3 1", "half-move clock field"},
        {"8/8/8/8/8/8/8/8 w - - 0 x", "move number field"},
        {"8/8/8/8/8/8/8/8 w - - 0 99999", "move number field"},
    };
    for (const auto& c : cases) {
        for (const char* command : {"fen", "moves", "status"}) {
            SCOPED_TRACE(std::string(command) + " " + c.fen);
            expectOneLineError(runTool({command, c.fen}), 1, "bad FEN: " + c.message);
        }
    }
    expectOneLineError(runTool({"perft", "1", "8/8 w - - 0 1"}), 1, "bad FEN: board field");
    expectOneLineError(runTool({"play", "8/8 w - - 0 1", "e4"}), 1, "bad FEN: board field");
}

TEST(Tool, ImpossiblePositionIsRefusedWithTheReason) {
    const struct {
        std::string fen;
        std::string reason;
    } cases[] = {
        {"4k3/8/8/8/8/8/8/8 w - - 0 1", "White has no king"},
        {"4k3/8/8/8/8/8/8/3KK3 w - - 0 1", "White has more than one king"},
        {"8/8/8/8/8/8/8/4K3 b - - 0 1", "Black has no king"},
        {"4k2P/8/8/8/8/8/8/4K3 w - - 0 1", "A pawn stands on the first or last rank"},
        // Moves from here would capture the king.
        {"4k2R/8/8/8/8/8/8/4K3 w - - 0 1", "Black is in check but White is to move"},
        {"4k3/8/8/8/8/5n2/8/4K3 b - - 0 1", "White is in check but Black is to move"},
    };
    for (const auto& c : cases) {
        for (const std::vector<std::string>& arguments :
             std::vector<std::vector<std::string>>{{"fen", c.fen},
                                                   {"moves", c.fen},
                                                   {"perft", "1", c.fen},
                                                   {"divide", "1", c.fen},
                                                   {"play", c.fen, "Kd1"},
                                                   {"status", c.fen}}) {
            SCOPED_TRACE(arguments[0] + " " + c.fen);
            expectOneLineError(runTool(arguments), 1, "impossible position: " + c.reason);
        }
    }
    // The form is checked first: a malformed FEN is named for its field.
    expectOneLineError(runTool({"fen", "8/8/8/8/8/8/8/8 x - - 0 1"}), 1, "side to move field");
    EXPECT_EQ(runTool({"fen", "4k2R/8/8/8/8/8/8/4K3 b - - 0 1"}).exitCode, 0)
        << "the side to move may be in check";
}

TEST(Tool, FenWithTabsAndTrailingWhiteSpace) {
    const std::string written = "4k3/8/8/8/8/8/8/R3K3 w Q - 3 9\n";
    for (const std::string& fen : {std::string("4k3/8/8/8/8/8/8/R3K3 w Q - 3 9\n"),
                                   std::string("4k3/8/8/8/8/8/8/R3K3 w Q - 3 9\r\n"),
                                   std::string("4k3/8/8/8/8/8/8/R3K3 w Q - 3 9 \t "),
                                   std::string("4k3/8/8/8/8/8/8/R3K3\tw\tQ\t-\t3\t9"),
                                   std::string("\t 4k3/8/8/8/8/8/8/R3K3 w\t\tQ -  3 9")}) {
        const CToolResult result = runTool({"fen", fen});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, written);
    }
    EXPECT_EQ(runTool({"perft", "2", "4k3/8/8/8/8/8/8/R3K3 w Q - 3 9\n"}).out, "71\n");
}

TEST(Tool, EnPassantSquareThatCannotBeRight) {
    // On White's own side: "dxe3" would take White's own e2 pawn.
    const std::string ownSide = "4k3/8/8/8/3pP3/8/3PP3/4K3 w - e3 0 1";
    EXPECT_EQ(runTool({"fen", ownSide}).out, "4k3/8/8/8/3pP3/8/3PP3/4K3 w - - 0 1\n");
    EXPECT_EQ(runTool({"perft", "1", ownSide}).out, "6\n");
    // On an occupied square: exd6 takes the knight, once.
    const std::string occupied = "4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1";
    EXPECT_EQ(runTool({"perft", "1", occupied}).out, "7\n");
    const std::vector<std::string> moves = outputLines(runTool({"moves", occupied}).out);
    EXPECT_EQ(std::count(moves.begin(), moves.end(), "e5d6 exd6"), 1);
    EXPECT_EQ(moves.size(), 7u);
}

TEST(Tool, FiftyMoveRuleFromTheFenClock) {
    const std::string fen = "4k3/8/8/8/8/8/P7/R3K3 w Q - 99 60";
    EXPECT_EQ(runTool({"status", fen}).out, "on 0\n");
    EXPECT_EQ(runTool({"status", fen, "Rb1"}).out, "over 4\n");
    EXPECT_EQ(runTool({"status", fen, "O-O-O"}).out, "over 4\n") << "castling counts on";
    EXPECT_EQ(runTool({"status", fen, "a3"}).out, "on 0\n");
    EXPECT_EQ(runTool({"play", fen, "O-O-O", "Kf7"}).out, "8/5k2/8/8/8/8/P7/2KR4 w - - 101 61\n");
}

TEST(Tool, MovesInGenerationOrderWithSan) {
    const CToolResult start = runTool({"moves", START});
    EXPECT_EQ(start.exitCode, 0);
    const std::vector<std::string> moves = outputLines(start.out);
    ASSERT_EQ(moves.size(), 20u);
    EXPECT_EQ(moves.front(), "a2a3 a3");
    EXPECT_EQ(moves[2], "b1a3 Na3");
    EXPECT_EQ(moves.back(), "h2h4 h4");

    const CToolResult mating = runTool({"moves", "6k1/5ppp/8/8/8/8/8/R3K2R w KQ - 0 1"});
    const std::vector<std::string> mates = outputLines(mating.out);
    EXPECT_NE(std::find(mates.begin(), mates.end(), "a1a8 Ra8#"), mates.end());
    EXPECT_NE(std::find(mates.begin(), mates.end(), "e1c1 O-O-O"), mates.end());
    EXPECT_EQ(mates.front(), "a1a2 Ra2");

    EXPECT_EQ(runTool({"moves", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"}).out, "") << "stalemate";
}

TEST(Tool, PerftAndDivide) {
    EXPECT_EQ(runTool({"perft", "3"}).out, "8902\n");
    EXPECT_EQ(runTool({"perft", "0"}).out, "1\n");
    EXPECT_EQ(runTool({"perft", "2", KIWIPETE}).out, "2039\n");

    const CToolResult divide = runTool({"divide", "2", KIWIPETE});
    EXPECT_EQ(divide.exitCode, 0);
    const std::vector<std::string> rows = outputLines(divide.out);
    ASSERT_EQ(rows.size(), 49u);
    EXPECT_EQ(rows.back(), "total 2039");
    EXPECT_NE(std::find(rows.begin(), rows.end(), "e1g1: 43"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), "d5e6: 46"), rows.end());
    EXPECT_EQ(runTool({"divide", "1"}).out.substr(0, 10), "a2a3: 1\na2");
    EXPECT_EQ(runTool({"divide", "0"}).out, "total 1\n");
}

TEST(Tool, PlayAndStatus) {
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out;
        std::string err;
    } cases[] = {
        {{"play", START, "e4", "e5", "Nf3"},
         0,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2\n",
         ""},
        {{"play", START, "e2e4", "e7-e5", "Ng1-f3"},
         0,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2\n",
         ""},
        {{"play", START}, 0, START + "\n", ""},
        {{"play", START, "e4", "Ke2"}, 1, "", "illegal move: Ke2\n"},
        {{"play", START, "e4", ""}, 1, "", "illegal move: \n"},
        {{"play", START, "e9"}, 1, "", "illegal move: e9\n"},
        // Moves read as the PGN reader reads them.
        {{"play", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "exd6e.p."},
         0,
         "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1\n",
         ""},
        {{"play", START, "Nf3-----------------xyz"},
         1,
         "",
         "illegal move: Nf3-----------------xyz\n"},
        {{"play", START, "e4", "--", "d4"},
         0,
         "rnbqkbnr/pppppppp/8/8/3PP3/8/PPP2PPP/RNBQKBNR b KQkq - 0 2\n",
         ""},
        {{"status", START}, 0, "on 0\n", ""},
        {{"status", START, "f3", "e5", "g4", "Qh4#"}, 0, "over 1\n", ""},
        {{"status", START, "f3", "e5", "g4", "Qh4#", "a3"}, 1, "", "illegal move: a3\n"},
        {{"status", "k7/2Q5/1K6/8/8/8/8/8 b - - 0 1"}, 0, "over 2\n", ""},
        {{"status", START, "Nf3", "Nf6", "Ng1", "Ng8", "Nf3", "Nf6", "Ng1", "Ng8"},
         0,
         "over 3\n",
         ""},
        {{"status", "4k3/8/8/8/8/8/8/4KN2 w - - 0 1"}, 0, "over 5\n", ""},
    };
    for (const auto& c : cases) {
        const CToolResult result = runTool(c.arguments);
        SCOPED_TRACE(c.arguments.back());
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

} // namespace
