// tallowmere pgn as a user runs it on PGN files: check, cat, index, filter.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tool_run.h"

namespace {

std::string sample(const char* name) {
    return std::string(TEST_DATA_DIR) + "/" + name;
}

std::string temporaryPath(const char* stem) {
    return std::string(P_tmpdir) + "/" + stem + std::to_string(getpid()) + ".pgn";
}

} // namespace

TEST(PgnTool, CheckReadsEveryGameAndNamesTheBrokenOnes) {
    const std::string broken = sample("broken.pgn");
    const CToolResult result = runTool({"pgn", "check", broken});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(outputLines(result.out),
              (std::vector<std::string>{
                  broken + ": games 4, read 2, in part 1, failed 1",
                  broken + ": game 2 at offset 81 reads in part: move 2. Ke3 does not read: the "
                           "rest of the game is kept in a comment",
                  broken + ": game 4 at offset 210 does not read: its FEN tag gives an "
                           "impossible position: Black has no king"}));

    std::vector<std::string> arguments = {"pgn", "check"};
    for (const char* name : {"lichess.pgn", "database_export.pgn", "study.pgn", "lichess_study.pgn",
                             "windows1252.pgn", "cr_only.pgn", "preamble.pgn"})
        arguments.push_back(sample(name));
    const CToolResult good = runTool(arguments);
    EXPECT_EQ(good.exitCode, 0) << good.out << good.err;
    EXPECT_EQ(outputLines(good.out),
              (std::vector<std::string>{
                  sample("lichess.pgn") + ": games 3, read 3, in part 0, failed 0",
                  sample("database_export.pgn") + ": games 3, read 3, in part 0, failed 0",
                  sample("study.pgn") + ": games 2, read 2, in part 0, failed 0",
                  sample("lichess_study.pgn") + ": games 2, read 2, in part 0, failed 0",
                  sample("windows1252.pgn") + ": games 2, read 2, in part 0, failed 0",
                  sample("cr_only.pgn") + ": games 2, read 2, in part 0, failed 0",
                  sample("preamble.pgn") + ": games 2, read 2, in part 0, failed 0"}));

    const CToolResult missing = runTool({"pgn", "check", sample("missing.pgn")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(outputLines(missing.err).size(), 1u);
    EXPECT_NE(missing.err.find("missing.pgn"), std::string::npos);
}

// check reads each file once; its games must be exactly the ones the index has.
TEST(PgnTool, CheckCountsTheGamesTheIndexHas) {
    const std::string path = temporaryPath("tallowmere-check-");
    std::ofstream(path, std::ios::binary)
        << "junk before [Event \"a\"]\n1. e4 1-0 {after the result}\n\n"
           "[Event \"b\"]\n1. e4 1-0 e5 more text\n"
           "[Event \"c\"] 1. e4 e5\n"                    // no result, next game follows
           "[Event \"d\"] 1. d4 { [brackets] } 1/2-1/2 " // next game on the same line
           "[Event \"e\"] 1. e9 *\n"
           "[Event \"f\"] 1. c4 * trailing words";
    const CToolResult index = runTool({"pgn", "index", path});
    const CToolResult check = runTool({"pgn", "check", path});
    std::remove(path.c_str());
    const std::vector<std::string> entries = outputLines(index.out);
    std::vector<std::string> starts;
    for (const std::string& entry : entries) {
        const size_t last = entry.rfind('\t');
        const size_t before = entry.rfind('\t', last - 1);
        starts.push_back(entry.substr(before + 1, last - before - 1));
    }
    // The junk before the first game is no game; the game without a result
    // ends at the next game's tags.
    ASSERT_EQ(entries.size(), 6u) << index.out;
    EXPECT_EQ(starts[0], "12");
    const std::vector<std::string> lines = outputLines(check.out);
    ASSERT_EQ(lines.size(), 2u) << check.out;
    EXPECT_EQ(lines[0], path + ": games 6, read 5, in part 0, failed 1");
    EXPECT_EQ(lines[1], path + ": game 5 at offset " + starts[4] +
                            " does not read: move 1. e9 does not read");
}

TEST(PgnTool, CatWritesWhatReadsBackTheSame) {
    const CToolResult all = runTool({"pgn", "cat", sample("database_export.pgn")});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out.substr(0, 19), "[Event \"London\"]\r\n[");
    const std::string path = temporaryPath("tallowmere-cat-");
    std::ofstream(path, std::ios::binary) << all.out;
    const CToolResult again = runTool({"pgn", "cat", path});
    EXPECT_EQ(again.out, all.out);
    EXPECT_EQ(runTool({"pgn", "check", path}).exitCode, 0);
    std::remove(path.c_str());

    const CToolResult narrow =
        runTool({"pgn", "cat", sample("study.pgn"), "--game", "2", "--width", "30"});
    ASSERT_EQ(narrow.exitCode, 0) << narrow.err;
    EXPECT_NE(narrow.out.find("[Event \"Study with glyphs\"]"), std::string::npos);
    EXPECT_EQ(narrow.out.find("Endgame"), std::string::npos);
    for (const std::string& line : outputLines(narrow.out))
        if (!line.empty() && line[0] != '[') {
            EXPECT_LE(line.size(), 31u) << line;
        }

    // A game read in part is written with the unread rest in a comment.
    const CToolResult broken = runTool({"pgn", "cat", sample("broken.pgn")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find("game 2 at offset 81 reads in part"), std::string::npos);
    EXPECT_NE(broken.out.find("e5 {2. Ke3 Nc6 3. Kf5}"), std::string::npos) << broken.out;
    EXPECT_NE(broken.out.find("Good two"), std::string::npos);
    EXPECT_NE(broken.err.find("game 4 at offset 210 does not read"), std::string::npos);
}

// What cat writes, cat writes again unchanged, at every width: no line break
// ever lands inside a word.
TEST(PgnTool, CatIsStableAtEveryWidth) {
    const std::string path = temporaryPath("tallowmere-widths-");
    for (const char* name : {"lichess.pgn", "study.pgn", "lichess_study.pgn", "windows1252.pgn",
                             "cr_only.pgn", "preamble.pgn", "broken.pgn"}) {
        for (const char* width : {"75", "30", "20"}) {
            const CToolResult first = runTool({"pgn", "cat", sample(name), "--width", width});
            std::ofstream(path, std::ios::binary) << first.out;
            const CToolResult second = runTool({"pgn", "cat", path, "--width", width});
            EXPECT_EQ(second.exitCode, 0) << name << " " << width << second.err;
            EXPECT_EQ(second.out, first.out) << name << " " << width;
        }
    }
    std::remove(path.c_str());
}

TEST(PgnTool, IndexListsTagsAndRanges) {
    const CToolResult result = runTool({"pgn", "index", sample("lichess.pgn")});
    ASSERT_EQ(result.exitCode, 0);
    const std::vector<std::string> lines = outputLines(result.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "2\tBetaBishop\talpha_knight\t2023.05.15\tRated Bullet game\tC00\t"
                        "https://example.org/efgh5678\t0-1\t1248\t1618");
    EXPECT_EQ(lines[2].substr(0, 8), "3\tgamma\t");
    EXPECT_EQ(lines[2].substr(lines[2].size() - 10), "\t1618\t1926");
}

TEST(PgnTool, FilterPrintsTheNumbersOfMatchingGames) {
    const std::string file = sample("lichess.pgn");
    struct Case {
        std::vector<std::string> options;
        std::string numbers;
    };
    const Case cases[] = {
        {{}, "1\n2\n3\n"},
        {{"--white", "alpha"}, "1\n"},
        {{"--white", "alpha", "--any-colour"}, "1\n2\n"},
        {{"--black", "DELTA"}, "3\n"},
        {{"--result", "0-1", "--result", "*"}, "2\n3\n"},
        {{"--result", "1/2"}, ""},
        {{"--from", "2023.05.15", "--to", "2023.05.31"}, "2\n3\n"},
        {{"--event", "blitz"}, "1\n"},
        {{"--eco", "C4"}, "1\n"},
    };
    for (const Case& test : cases) {
        std::vector<std::string> arguments = {"pgn", "filter", file};
        arguments.insert(arguments.end(), test.options.begin(), test.options.end());
        const CToolResult result = runTool(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, test.numbers) << test.options.size();
    }
}

TEST(PgnTool, BadUsage) {
    const std::vector<std::vector<std::string>> usages = {
        {"pgn"},
        {"pgn", "frobnicate", "x.pgn"},
        {"pgn", "check"},
        {"pgn", "cat"},
        {"pgn", "cat", "x.pgn", "--game"},
        {"pgn", "cat", "x.pgn", "--game", "-1"},
        {"pgn", "cat", "x.pgn", "--game", "0"}, // games count from 1
        {"pgn", "cat", "x.pgn", "--width", "0"},
        {"pgn", "cat", "x.pgn", "--colour"},
        {"pgn", "index"},
        {"pgn", "index", "a.pgn", "b.pgn"},
        {"pgn", "filter"},
        {"pgn", "filter", "x.pgn", "--result", "2-0"},
        {"pgn", "filter", "x.pgn", "--white"},
    };
    for (const std::vector<std::string>& arguments : usages) {
        const CToolResult result = runTool(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.size();
        EXPECT_EQ(outputLines(result.err).size(), 1u) << result.err;
        EXPECT_NE(result.err.find("usage: tallowmere pgn"), std::string::npos) << result.err;
    }
    const CToolResult range = runTool({"pgn", "cat", sample("study.pgn"), "--game", "3"});
    EXPECT_EQ(range.exitCode, 1);
    EXPECT_EQ(outputLines(range.err).size(), 1u);
    EXPECT_EQ(runTool({"pgn", "index", sample("none.pgn")}).exitCode, 1);
    EXPECT_EQ(runTool({"pgn", "filter", sample("none.pgn")}).exitCode, 1);
}
