// The learned evaluation: its file is checked before use, its values are pinned and symmetric
// between the colours, and the sums kept along a line equal those of a fresh count.
#include "accumulator_stack.h"
#include "movegen.h"
#include "nnue.h"
#include "test_network.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using tarnwick::Position;
namespace nnue = tarnwick::nnue;

Position positionFrom(const std::string& fen) {
    Position pos;
    EXPECT_TRUE(pos.setFen(fen)) << fen;
    return pos;
}

// The same position with the colours exchanged: ranks mirrored, letters' case swapped.
std::string colourMirror(const std::string& fen) {
    std::string placement, side, castling, ep, rest;
    std::istringstream in(fen);
    in >> placement >> side >> castling >> ep;
    std::getline(in, rest);
    std::vector<std::string> ranks;
    std::istringstream rankText(placement);
    for (std::string rank; std::getline(rankText, rank, '/');)
        ranks.insert(ranks.begin(), rank);
    std::string mirrored;
    for (const std::string& rank : ranks)
        mirrored += (mirrored.empty() ? "" : "/") + rank;
    auto swapCase = [](std::string text) {
        for (char& c : text)
            c = std::isupper(static_cast<unsigned char>(c)) ? char(std::tolower(c))
                                                            : char(std::toupper(c));
        return text;
    };
    std::string castlingMirrored = castling == "-" ? "-" : swapCase(castling);
    std::sort(castlingMirrored.begin(), castlingMirrored.end()); // KQkq order: capitals first
    if (ep != "-") ep[1] = ep[1] == '3' ? '6' : '3';
    return swapCase(mirrored) + (side == "w" ? " b " : " w ") + castlingMirrored + " " + ep + rest;
}

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(NnueFile, EveryFaultIsFoundBeforeTheWeightsAreUsed) {
    const std::string good = ::testing::TempDir() + "tarnwick_test.nnue";
    auto net = testNetwork(7);
    ASSERT_TRUE(nnue::save(good, *net));
    const std::vector<unsigned char> bytes = fileBytes(good);
    ASSERT_EQ(bytes.size(), nnue::FILE_SIZE);

    auto withWord = [&bytes](size_t offset, uint32_t word) {
        std::vector<unsigned char> changed = bytes;
        std::memcpy(changed.data() + offset, &word, sizeof word);
        return changed;
    };
    auto withFlippedByte = [&bytes](size_t offset) {
        std::vector<unsigned char> changed = bytes;
        changed[offset] ^= 0x10;
        return changed;
    };
    std::vector<unsigned char> longer = bytes;
    longer.push_back(0);
    struct Case {
        const char* what;
        std::vector<unsigned char> content;
        nnue::LoadResult expected;
    };
    const Case CASES[] = {
        {"intact", bytes, nnue::LoadResult::OK},
        {"empty", {}, nnue::LoadResult::NOT_A_NETWORK},
        {"header only", {bytes.begin(), bytes.begin() + 28}, nnue::LoadResult::WRONG_SIZE},
        {"cut short", {bytes.begin(), bytes.end() - 100}, nnue::LoadResult::WRONG_SIZE},
        {"one byte more", longer, nnue::LoadResult::WRONG_SIZE},
        {"other magic", withWord(0, 0x12345678), nnue::LoadResult::NOT_A_NETWORK},
        {"next version", withWord(4, nnue::FILE_VERSION + 1), nnue::LoadResult::WRONG_VERSION},
        {"other hidden size", withWord(12, 256), nnue::LoadResult::WRONG_SHAPE},
        {"other scale", withWord(24, 600), nnue::LoadResult::WRONG_SHAPE},
        {"a weight changed", withFlippedByte(1000), nnue::LoadResult::DAMAGED},
        {"the output bias changed", withFlippedByte(bytes.size() - 6), nnue::LoadResult::DAMAGED},
        {"the checksum changed", withFlippedByte(bytes.size() - 1), nnue::LoadResult::DAMAGED},
    };
    const std::string path = ::testing::TempDir() + "tarnwick_case.nnue";
    for (const Case& c : CASES) {
        writeBytes(path, c.content);
        auto loaded = testNetwork(99);
        const int before = nnue::evaluate(*loaded, positionFrom("4k3/8/8/8/8/8/8/4K2R w K - 0 1"));
        EXPECT_EQ(nnue::load(path, *loaded), c.expected) << c.what;
        if (c.expected == nnue::LoadResult::OK) {
            EXPECT_EQ(std::memcmp(loaded.get(), net.get(), sizeof *net), 0) << c.what;
        } else {
            const int after =
                nnue::evaluate(*loaded, positionFrom("4k3/8/8/8/8/8/8/4K2R w K - 0 1"));
            EXPECT_EQ(after, before) << c.what << ": a refused file leaves the network as it was";
        }
    }
    EXPECT_EQ(nnue::load(::testing::TempDir() + "no_such_network.nnue", *net),
              nnue::LoadResult::UNREADABLE);
    EXPECT_EQ(nnue::load(::testing::TempDir(), *net), nnue::LoadResult::UNREADABLE) << "a folder";
}

TEST(NnueEvaluation, PinnedValuesAndTheColourMirrorScoresOpposite) {
    auto net = testNetwork(11);
    struct Case {
        const char* fen;
        int value; // for the side to move
    };
    const Case CASES[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 1096},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 1049},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 832},
        {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3", -137},
        {"8/8/4k3/8/8/8/8/4K3 b - - 0 1", 239},
    };
    for (const Case& c : CASES) {
        const Position pos = positionFrom(c.fen);
        const Position mirror = positionFrom(colourMirror(c.fen));
        const int value = nnue::evaluate(*net, pos);
        EXPECT_EQ(value, c.value) << c.fen;
        // The mirror's side to move is the other colour: the same value for it is the
        // opposite from White's side.
        EXPECT_EQ(nnue::evaluate(*net, mirror), value) << colourMirror(c.fen);
    }
}

// Walks random lines from each position as a search does: down a few plies, back up some,
// down another way, with null moves among the moves. At every node the sums kept along the
// line must equal a fresh count of the board.
TEST(NnueAccumulators, IncrementalSumsEqualAFreshCountAlongRandomLines) {
    auto net = testNetwork(5);
    const char* const STARTS[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", // castling
        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",        // en passant
        "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq - 0 1",                         // promotions
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    };
    std::mt19937 random(2024);
    static nnue::AccumulatorStack stack; // large: keep it off the test's stack
    int checked = 0, captures = 0, promotions = 0, castles = 0, enPassants = 0;
    for (const char* fen : STARTS) {
        Position pos = positionFrom(fen);
        stack.reset(*net, pos);
        struct Made {
            tarnwick::Move move;
            tarnwick::UndoInfo undo;
        };
        std::vector<Made> line;
        for (int step = 0; step < 400; ++step) {
            tarnwick::MoveList legal;
            tarnwick::generateLegalMoves(pos, legal);
            const bool goBack =
                !line.empty() && (legal.size == 0 || line.size() >= 12 || random() % 3 == 0);
            if (goBack) {
                Made last = line.back();
                line.pop_back();
                if (last.move == tarnwick::NO_MOVE)
                    pos.unmakeNullMove(last.undo);
                else
                    pos.unmakeMove(last.move, last.undo);
            } else if (legal.size == 0) {
                break;
            } else {
                const int ply = int(line.size()) + 1;
                Made next{};
                if (!pos.inCheck() && random() % 10 == 0) {
                    stack.recordNullMove(ply);
                    pos.makeNullMove(next.undo);
                } else {
                    // Half the time a move that changes more than one square's piece, when
                    // there is one: those are where an update can go wrong.
                    std::vector<tarnwick::Move> special;
                    for (tarnwick::Move m : legal)
                        if (tarnwick::moveKind(m) != tarnwick::NORMAL ||
                            pos.pieceOn(tarnwick::moveTo(m)) != tarnwick::NO_PIECE)
                            special.push_back(m);
                    next.move = !special.empty() && random() % 2 == 0
                                    ? special[random() % special.size()]
                                    : legal.moves[random() % legal.size];
                    const tarnwick::MoveKind kind = tarnwick::moveKind(next.move);
                    captures += pos.pieceOn(tarnwick::moveTo(next.move)) != tarnwick::NO_PIECE;
                    promotions += kind == tarnwick::PROMOTION;
                    castles += kind == tarnwick::CASTLING;
                    enPassants += kind == tarnwick::EN_PASSANT;
                    stack.recordMove(ply, pos, next.move);
                    pos.makeMove(next.move, next.undo);
                }
                line.push_back(next);
            }
            // Not every node is evaluated in a search: leave some for a later ply to catch up.
            if (random() % 4 == 0) continue;
            nnue::Accumulator fresh;
            nnue::refresh(*net, pos, fresh);
            const nnue::Accumulator& kept = stack.accumulatorAt(int(line.size()));
            ASSERT_EQ(std::memcmp(&kept, &fresh, sizeof fresh), 0)
                << fen << " after " << line.size() << " plies, step " << step;
            ASSERT_EQ(stack.evaluate(int(line.size()), pos), nnue::evaluate(*net, pos));
            ++checked;
        }
    }
    EXPECT_GT(checked, 800);
    // The walk must have met every kind of move that changes more than two squares' pieces.
    EXPECT_GT(captures, 0);
    EXPECT_GT(promotions, 0);
    EXPECT_GT(castles, 0);
    EXPECT_GT(enPassants, 0);
}

} // namespace
