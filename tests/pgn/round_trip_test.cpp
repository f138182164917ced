// Writing a game that was read and reading the text back gives the same game;
// writing that again gives the same bytes. Checked over generated games with
// variations, comments, glyphs, odd move forms and awkward tag values.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "pgn/pgn_game.h"
#include "pgn/pgn_reader.h"
#include "rules/notation.h"
#include "rules/position.h"
#include "tree_compare.h"
#include "tree_text.h"

#include "../support/file_text.h"

namespace {

const char* const WORDS[] = {"good",
                             "Well",
                             "done!",
                             "[%clk",
                             "0:03:00]",
                             "[%csl",
                             "Gf6]",
                             "{",
                             ";semi",
                             "%pct",
                             "$5",
                             "\"quoted\"",
                             "back\\slash",
                             "(",
                             ")",
                             "*",
                             "1-0",
                             "e4",
                             "\xC3\xBCmlaut",
                             "a.b.c",
                             "tab\there",
                             "rootnode",
                             "12,",
                             "[Event",
                             "\"x\"]",
                             "twentythreecharslongish",
                             "https://lichess.org/study/AbCdEfGh/IjKlMnOp#12",
                             "[%cal Ge2e4,Gd2d4,Rg1f3,Yb1c3,Gc1f4,Rf1c4,Gd1d3]",
                             "\xE8\xBF\x99\xE6\x98\xAF\xE4\xB8\x80\xE6\xAD\xA5\xE5\xA5\xBD"
                             "\xE6\xA3\x8B\xEF\xBC\x8C\xE7\x99\xBD\xE6\x96\xB9\xE5\xBE\x97"
                             "\xE5\x88\xB0\xE4\xBC\x98\xE5\x8A\xBF"};
const char* const SEPARATORS[] = {" ", " ", " ", "  ", "\r\n", "\n", " \r\n "};
const char* const FENS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
    "rnbqkb1r/pppppppp/5n2/8/3P4/8/PPP1PPPP/RNBQKBNR w KQkq - 1 2",
    "4k3/8/8/8/8/8/4P3/4K3 b - - 0 12",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/8/8/8/8/5k2/4p3/4K3 b - - 0 200",
};
const char* const RESULTS[] = {"*", "1-0", "0-1", "1/2-1/2", "", "1/2"};

class CRandomGames {
public:
    explicit CRandomGames(uint64_t seed) : m_random(seed) {}

    std::string pgn() {
        CPgnGame game;
        if (percent(30)) game.setTag("FEN", CText(FENS[m_random() % 6]));
        m_position.setFen(game.tag("FEN").isEmpty() ? FENS[0] : game.tag("FEN").c_str());
        game.setResult(CText(RESULTS[m_random() % 6]));
        if (percent(50)) game.setTag("Annotator", CText(comment().c_str()));
        if (percent(20)) game.setEvent(CText("The \"Big\" one \\ [x]"));
        const int rootPly = 2 * m_position.moveNumber() - 3 + m_position.sideToMove();
        auto* root = new CMoveNode(NO_MOVE, CText("root"), int16_t(rootPly), CText(""), 0, 0);
        if (percent(30)) root->comment = comment().c_str();
        game.setRoot(root);
        addLine(root, int(m_random() % 60), 0);
        game.setOptions(75, true, true, true, true, percent(20));
        return game.toString().c_str();
    }

private:
    bool percent(int chance) { return int(m_random() % 100) < chance; }

    std::string comment() {
        std::string text;
        const int words = int(m_random() % 14);
        for (int i = 0; i < words; ++i) {
            if (i > 0 || percent(20)) text += SEPARATORS[m_random() % 7];
            text += WORDS[m_random() % (sizeof WORDS / sizeof *WORDS)];
        }
        if (percent(20)) text += SEPARATORS[m_random() % 7];
        return text;
    }

    // The move as some program might have written it.
    std::string moveText(CMove move) {
        std::string san = sanText(m_position, move, true).c_str();
        char coordinates[8];
        coordinateText(move, coordinates);
        switch (m_random() % 10) {
        case 0:
            return san + (percent(50) ? "!" : "?!");
        case 1:
            return move.isPromotion() ? san : coordinates;
        case 2:
            return san == "O-O" ? "0-0" : san == "O-O-O" ? "0-0-0" : san;
        default:
            return san;
        }
    }

    void addLine(CMoveNode* node, int length, int depth) {
        int made = 0;
        for (int i = 0; i < length; ++i) {
            CMove moves[MAX_MOVES];
            uint16_t count = 0;
            m_position.legalMoves(moves, count);
            if (count == 0) break;
            // Now and then a pass, as analysis files write one.
            const bool pass = percent(3) && !m_position.inCheck();
            const CMove move = pass ? NULL_MOVE : moves[m_random() % count];
            auto* child = new CMoveNode(move, CText(pass ? "--" : moveText(move).c_str()),
                                        int16_t(node->ply + 1), CText(""), 0, 0);
            if (percent(15)) child->comment = comment().c_str();
            if (percent(10)) child->nag = uint8_t(1 + m_random() % 255);
            if (percent(5)) {
                child->nags = {uint8_t(1 + m_random() % 255), uint8_t(1 + m_random() % 255)};
                child->nag = child->nags.back();
            }
            node->addChild(child);
            if (depth < 3 && i > 0 && percent(12))
                addLine(node, 1 + int(m_random() % 8), depth + 1);
            m_position.makeMove(move);
            ++made;
            node = child;
        }
        for (int i = 0; i < made; ++i)
            m_position.takeBack();
    }

    std::mt19937_64 m_random;
    CPosition m_position;
};

std::string rewrite(CGame& game, int width = 75) {
    game.setOptions(width, true, true, true, true, false);
    return game.toString().c_str();
}

// Reads text, writes it, reads and writes that again: same game, same bytes,
// at the file width and at the narrow widths the tool accepts.
void expectRoundTrip(const std::string& text, const std::string& what) {
    ReadResult first = readPgn(text);
    if (!first.game) return; // only games that read are promised a round trip
    for (int width : {75, 30, 20}) {
        const std::string written = rewrite(*first.game, width);
        ReadResult second = readPgn(written);
        ASSERT_TRUE(second.game) << what << " width " << width << "\n"
                                 << text << "\n--- written ---\n"
                                 << written;
        EXPECT_EQ(gameDifference(*first.game, *second.game), "")
            << what << " width " << width << "\n"
            << text << "\n--- written ---\n"
            << written;
        EXPECT_EQ(rewrite(*second.game, width), written) << what << " width " << width;
        if (::testing::Test::HasFailure()) return;
    }
}

TEST(PgnRoundTrip, GeneratedGames) {
    CRandomGames games(20240601);
    int read = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string text = games.pgn();
        ASSERT_TRUE(readPgn(text).game) << "a written game must read\n" << text;
        ++read;
        expectRoundTrip(text, "game " + std::to_string(i));
        if (HasFailure()) break;
    }
    EXPECT_EQ(read, 400);
}

// Every game of the file reads whole (unless the file was made to be broken)
// and comes back byte for byte.
void expectFileRoundTrips(const std::string& path, bool broken) {
    const std::string text = fileText(path);
    ASSERT_FALSE(text.empty()) << path;
    std::istringstream stream(text);
    CPgnReader reader;
    int64_t offset = reader.firstGameOffset(stream, 0);
    int games = 0;
    for (;;) {
        int64_t next = 0;
        std::unique_ptr<CGame> scanned;
        if (!reader.scanGame(stream, offset, next, scanned)) break;
        if (!broken) {
            std::unique_ptr<CGame> game;
            int64_t end = 0;
            EXPECT_TRUE(reader.readGame(stream, offset, end, game) &&
                        reader.report().outcome == CReadReport::Outcome::WHOLE)
                << path << " game " << games << ": " << reader.report().message;
        }
        expectRoundTrip(text.substr(size_t(offset), size_t(next - offset)),
                        path + " game " + std::to_string(games));
        if (::testing::Test::HasFailure()) return;
        offset = next;
        ++games;
    }
    EXPECT_GE(games, 2) << path;
}

} // namespace

// Files as other programs export them.
TEST(PgnRoundTrip, SampleFiles) {
    for (const char* name :
         {"lichess.pgn", "database_export.pgn", "study.pgn", "broken.pgn", "lichess_study.pgn",
          "windows1252.pgn", "cr_only.pgn", "preamble.pgn"}) {
        expectFileRoundTrips(std::string(TEST_DATA_DIR) + "/" + name,
                             std::string(name) == "broken.pgn");
    }
}

// PGN files that Debian's chess packages install: thousands of games written by
// other hands than ours.
TEST(PgnRoundTrip, FilesOfOtherPrograms) {
    int found = 0;
    for (const char* path : {"/usr/share/pgn-extract/eco.pgn"}) {
        if (fileText(path).empty()) continue;
        ++found;
        expectFileRoundTrips(path, false);
    }
    if (found == 0) GTEST_SKIP() << "pgn-extract's eco.pgn is not installed";
}

TEST(PgnRoundTrip, HandPickedTexts) {
    const std::string cases[] = {
        "{rootnode} 1. e4 *",
        "{12,rootnode} 1. e4 *",
        "1. e4 {a}{b}{}{ c } e5 *",
        "1. e4 {\r\n%starts with a percent} *",
        "1. e4 {\r\n;starts with a semicolon} *",
        "1. e4 {ends in blanks   } *",
        "[Result \"1/2\"]\n1. e4 *",
        "[Round 3]\n[Event\n\"multi\nline\"]\n1. e4 *",
        "1. e4! e5!! 2. Nf3?? Nc6!? *",
        "1. e4 d5 2. e5 f5 3. exf6 e.p. *",
        "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 7\"]\n7... Kd7 -- Kc7 *",
        "1. e4 {a} $1 {b} $14 (1. d4 {c} (1. c4) {d}) {e} e5 1-0",
        "1. e4 e5 2. Kxx {rest} (2. d4) *",
    };
    for (const std::string& text : cases)
        expectRoundTrip(text, text);
}

// A comment word longer than the line stands on a line of its own and reads
// back unbroken: URLs, arrow lists and sentences without blanks survive saving.
TEST(PgnRoundTrip, LongWordsComeBackWhole) {
    const std::string words[] = {
        std::string(100, 'w'),
        "https://lichess.org/study/AbCdEfGh/IjKlMnOp",
        "[%cal Ge2e4,Gd2d4,Rg1f3,Yb1c3]",
        "\xE7\x99\xBD\xE6\x96\xB9\xE5\xBE\x97\xE5\x88\xB0\xE4\xBC\x98\xE5\x8A\xBF"
        "\xE7\x99\xBD\xE6\x96\xB9\xE5\xBE\x97\xE5\x88\xB0\xE4\xBC\x98\xE5\x8A\xBF",
    };
    for (const std::string& word : words) {
        const std::string comment = "see " + word + " and " + word;
        ReadResult first = readPgn("1. e4 {" + comment + "} e5 *");
        ASSERT_TRUE(first.game);
        for (int width : {75, 30, 20}) {
            const std::string written = rewrite(*first.game, width);
            ReadResult second = readPgn(written);
            ASSERT_TRUE(second.game) << written;
            EXPECT_EQ(std::string(second.game->root()->child(0)->comment.c_str()), comment)
                << width << "\n"
                << written;
        }
    }
}
