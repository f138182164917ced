// Tarnwick.pge loaded with dlopen and driven through its fifteen exports only, as the
// program's loader drives it. Legality of what it reports is checked with the engine's
// perft-checked move generator.
#include "../support/engine_exports.h"
#include "engine_interface.h"
#include "movegen.h"
#include "test_network.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Everything the callbacks heard during one search.
struct Heard {
    std::mutex lock;
    std::vector<std::string> lines;
    std::vector<int> scores;
    std::vector<int> depths;
    std::vector<std::string> currentMoves;
    std::vector<std::pair<int, int>> moveIndexes; // index, count
    uint64_t nodes = 0;
    std::atomic<int> deepest{0};
    void clear() {
        std::lock_guard<std::mutex> guard(lock);
        lines.clear();
        scores.clear();
        depths.clear();
        currentMoves.clear();
        moveIndexes.clear();
        nodes = 0;
        deepest = 0;
    }
};
Heard heard;

void onNodes(uint32_t low, uint32_t high) {
    std::lock_guard<std::mutex> guard(heard.lock);
    heard.nodes = (uint64_t(high) << 32) | low;
}
void onDepth(int32_t depth, int32_t) {
    std::lock_guard<std::mutex> guard(heard.lock);
    heard.depths.push_back(depth);
    heard.deepest = depth;
}
void onCurrentMove(const char* move, int32_t index, int32_t count) {
    std::lock_guard<std::mutex> guard(heard.lock);
    heard.currentMoves.push_back(move);
    heard.moveIndexes.push_back({index, count});
}
void onPrincipalVariation(const char* pv, int32_t score) {
    std::lock_guard<std::mutex> guard(heard.lock);
    heard.lines.push_back(pv);
    heard.scores.push_back(score);
}
void onExtra(int32_t) {}

EngineCallbacks callbacks = {0, onNodes, onDepth, onCurrentMove, onPrincipalVariation, onExtra};

std::vector<std::string> split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// Whether every move of line is legal in turn from fen followed by moves.
bool lineIsLegal(const std::string& fen, const std::vector<std::string>& moves,
                 const std::string& line) {
    tarnwick::Position pos;
    if (!pos.setFen(fen)) return false;
    std::vector<std::string> all = moves;
    for (const std::string& m : split(line))
        all.push_back(m);
    // The program may write the promotion letter in either case.
    for (std::string& text : all)
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& text : all) {
        tarnwick::MoveList legal;
        tarnwick::generateLegalMoves(pos, legal);
        bool found = false;
        for (tarnwick::Move m : legal) {
            if (tarnwick::moveToText(m) == text) {
                tarnwick::UndoInfo undo;
                pos.makeMove(m, undo);
                found = true;
                break;
            }
        }
        if (!found) return false;
    }
    return true;
}

class EngineModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle_ = dlopen(TARNWICK_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        resolveEngineExports(handle_, x);
        x.startEngine(1024, &callbacks);
    }
    static void TearDownTestSuite() {
        if (x.exitEngine) x.exitEngine();
        // The module stays loaded: like the program, we never unload it while running.
    }
    void SetUp() override {
        ASSERT_NE(handle_, nullptr);
        heard.clear();
        x.clearHashtables();
        x.setBook("", 0);
    }

    // Sets up fen and moves and searches to a fixed depth; returns the last line.
    std::string searchDepth(const std::string& fen, const std::vector<std::string>& moves,
                            int depth) {
        x.setPosition(fen.c_str());
        for (const std::string& m : moves)
            x.enterMove(m.c_str());
        x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, depth);
        heard.clear();
        x.startAnalyse(0);
        std::lock_guard<std::mutex> guard(heard.lock);
        return heard.lines.empty() ? std::string("<none>") : heard.lines.back();
    }

    static inline void* handle_ = nullptr;
    static inline EngineExports x{};
};

TEST_F(EngineModule, NamesAndVersion) {
    ASSERT_NE(x.getEngineName(), nullptr);
    EXPECT_STRNE(x.getEngineName(), "");
    EXPECT_EQ(x.getInterfaceVersion(), ENGINE_INTERFACE_VERSION);
    EXPECT_NE(std::string(x.getParameterList()).find("RemainingMs"), std::string::npos);
    EXPECT_EQ(x.setParameter("NoSuchParameter", "1"), 0);
    EXPECT_EQ(x.setParameter("MoveOverheadMs", "abc"), 0);
    EXPECT_EQ(x.setParameter(nullptr, nullptr), 0);
    x.setPonderOff();
}

TEST_F(EngineModule, FixedDepthSearchesReportLegalLinesAndTheirDepth) {
    const std::vector<std::string> game = {"e2e4", "e7e5", "g1f3", "b8c6"};
    for (int depth : {1, 2, 3, 5}) {
        std::string line = searchDepth(START_FEN, game, depth);
        std::lock_guard<std::mutex> guard(heard.lock);
        ASSERT_FALSE(heard.lines.empty()) << "depth " << depth;
        for (const std::string& l : heard.lines)
            EXPECT_TRUE(lineIsLegal(START_FEN, game, l)) << l;
        EXPECT_EQ(heard.depths.back(), depth) << "the search goes exactly as deep as asked";
        EXPECT_GE(int(split(line).size()), 1);
        EXPECT_GT(heard.nodes, 0u);
        // Root moves are announced with their number out of all legal moves.
        ASSERT_FALSE(heard.moveIndexes.empty());
        for (auto [index, count] : heard.moveIndexes) {
            EXPECT_GE(index, 1);
            EXPECT_LE(index, count);
        }
        EXPECT_TRUE(lineIsLegal(START_FEN, game, heard.currentMoves.front()));
    }
}

TEST_F(EngineModule, CurrentMoveCountIsTheNumberOfLegalMoves) {
    searchDepth(START_FEN, {}, 1);
    std::lock_guard<std::mutex> guard(heard.lock);
    ASSERT_EQ(heard.moveIndexes.size(), 20u);
    EXPECT_EQ(heard.moveIndexes.back(), std::make_pair(20, 20));
}

TEST_F(EngineModule, MateScoresCountPlies) {
    struct Case {
        const char* fen;
        int depth;
        const char* firstMove; // nullptr: any
        int score;
    };
    const Case CASES[] = {
        {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 3, "d1d8", ENGINE_MATE_SCORE - 1},
        {"k7/8/1K6/8/8/8/8/7R b - - 0 1", 4, "a8b8", -(ENGINE_MATE_SCORE - 2)},
        // Mate in two moves (three plies): a queen sacrifice before the back-rank mate.
        {"6k1/5ppp/8/8/8/8/1q3PPP/1R1R2K1 w - - 0 1", 5, nullptr, ENGINE_MATE_SCORE - 1},
    };
    for (const Case& c : CASES) {
        std::string line = searchDepth(c.fen, {}, c.depth);
        std::lock_guard<std::mutex> guard(heard.lock);
        ASSERT_FALSE(heard.scores.empty()) << c.fen;
        if (c.firstMove) {
            EXPECT_EQ(split(line).front(), c.firstMove) << c.fen;
        }
        EXPECT_EQ(heard.scores.back(), c.score) << c.fen << " line " << line;
        EXPECT_TRUE(lineIsLegal(c.fen, {}, line)) << line;
    }
}

TEST_F(EngineModule, NoLegalMoveGivesAnEmptyLine) {
    struct Case {
        const char* fen;
        int score;
    };
    const Case CASES[] = {
        {"3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", -ENGINE_MATE_SCORE}, // checkmated
        {"k7/8/1Q6/8/8/8/8/7K b - - 0 1", 0},                          // stalemate
    };
    for (const Case& c : CASES) {
        EXPECT_EQ(searchDepth(c.fen, {}, 3), "") << c.fen;
        std::lock_guard<std::mutex> guard(heard.lock);
        EXPECT_EQ(heard.scores.back(), c.score) << c.fen;
    }
}

TEST_F(EngineModule, BadPositionsAndMovesGiveNoLineAndNoCrash) {
    const std::string longText(100000, 'x');
    struct Case {
        const char* fen;
        std::vector<std::string> moves;
    };
    const Case CASES[] = {
        {"not a fen", {}},
        {"", {}},
        {longText.c_str(), {}},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"e2e5"}}, // illegal
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"e2"}},   // too short
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"i9j9"}}, // off board
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {longText}},
        {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", {"b7b8x"}}, // unknown promotion piece
        {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", {"b7b8"}},  // promotion without a piece
    };
    for (const Case& c : CASES) {
        EXPECT_EQ(searchDepth(c.fen, c.moves, 2), "") << c.fen;
    }
    x.setPosition(nullptr);
    x.enterMove(nullptr);
    x.setBook(nullptr, 2);
    // A good position afterwards is searched as usual.
    EXPECT_TRUE(lineIsLegal(START_FEN, {}, searchDepth(START_FEN, {}, 2)));
}

TEST_F(EngineModule, PromotionLettersInEitherCaseAndCastling) {
    const char* fen = "4k3/1P6/8/8/8/8/8/R3K2R w KQ - 0 1";
    for (const char* move : {"b7b8q", "b7b8Q", "b7b8n", "e1g1", "e1c1"}) {
        std::string line = searchDepth(fen, {move}, 2);
        EXPECT_TRUE(lineIsLegal(fen, {move}, line)) << move << ": " << line;
    }
}

TEST_F(EngineModule, RepetitionInTheGameIsSeen) {
    // Black is a queen down, but the knight's return makes the third occurrence of the start
    // position: a draw the engine can only see through the game's moves.
    const char* fen = "6nk/8/8/8/8/8/Q7/4K3 w - - 0 1";
    const std::vector<std::string> moves = {"e1d1", "g8f6", "d1e1", "f6g8", "e1d1", "g8f6", "d1e1"};
    std::string line = searchDepth(fen, moves, 4);
    {
        std::lock_guard<std::mutex> guard(heard.lock);
        EXPECT_EQ(split(line).front(), "f6g8");
        EXPECT_EQ(heard.scores.back(), 0);
    }
    // One repetition fewer and there is no way out for Black.
    searchDepth("7k/8/5n2/8/8/8/Q7/3K4 w - - 0 1", {"d1e1", "f6g8", "e1d1", "g8f6", "d1e1"}, 4);
    std::lock_guard<std::mutex> guard(heard.lock);
    EXPECT_LT(heard.scores.back(), -300);
}

TEST_F(EngineModule, SameSearchSameNodesAfterClearingTheTables) {
    searchDepth(START_FEN, {"d2d4"}, 6);
    uint64_t first = heard.nodes;
    x.clearHashtables();
    searchDepth(START_FEN, {"d2d4"}, 6);
    EXPECT_EQ(heard.nodes, first);
}

TEST_F(EngineModule, TimedSearchEndsByItselfWithALine) {
    x.setPosition(START_FEN);
    x.setTimeControl(1, 1);
    x.setLevel(1, 1, 0, 99);
    auto search = std::async(std::launch::async, [] { x.startAnalyse(0); });
    // Generous bound: only a search that ignores its level would take this long.
    ASSERT_EQ(search.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    {
        std::lock_guard<std::mutex> guard(heard.lock);
        ASSERT_FALSE(heard.lines.empty());
        EXPECT_TRUE(lineIsLegal(START_FEN, {}, heard.lines.back()));
    }

    // Whole-game levels too: a game in 2 seconds, and 3 moves in 1 second.
    for (auto [movesToGo, seconds] : {std::pair{0, 2}, std::pair{3, 1}}) {
        x.setTimeControl(movesToGo, seconds);
        x.setLevel(movesToGo, seconds, 0, 99);
        auto again = std::async(std::launch::async, [] { x.startAnalyse(0); });
        ASSERT_EQ(again.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    }
}

TEST_F(EngineModule, StopFromAnotherThreadEndsAnUnlimitedSearch) {
    x.setPosition("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, 99);
    auto search = std::async(std::launch::async, [] { x.startAnalyse(0); });
    // Let it get properly under way, then stop it as the interface thread would.
    while (heard.deepest < 4 &&
           search.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {}
    x.stopAnalyse();
    ASSERT_EQ(search.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    std::lock_guard<std::mutex> guard(heard.lock);
    ASSERT_FALSE(heard.lines.empty());
    EXPECT_TRUE(lineIsLegal("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", {},
                            heard.lines.back()));
}

TEST_F(EngineModule, StopBeforeTheFirstIterationStillGivesALegalMove) {
    // A stop that arrives before the search starts is forgotten: it belongs to no search.
    x.stopAnalyse();
    std::string line = searchDepth(START_FEN, {}, 1);
    EXPECT_TRUE(lineIsLegal(START_FEN, {}, line));
}

// Writes a Polyglot book of the given records (key, move, weight).
std::string writeBook(const std::string& name,
                      const std::vector<std::tuple<uint64_t, uint16_t, uint16_t>>& records,
                      bool truncate = false) {
    std::string path = ::testing::TempDir() + name;
    std::ofstream out(path, std::ios::binary);
    for (auto [key, move, weight] : records) {
        unsigned char bytes[16] = {};
        for (int i = 0; i < 8; ++i)
            bytes[i] = uint8_t(key >> (56 - 8 * i));
        bytes[8] = uint8_t(move >> 8);
        bytes[9] = uint8_t(move);
        bytes[10] = uint8_t(weight >> 8);
        bytes[11] = uint8_t(weight);
        out.write(reinterpret_cast<const char*>(bytes), truncate ? 9 : 16);
    }
    return path;
}

// Polyglot move: to file, to row, from file, from row, three bits each.
constexpr uint16_t bookMove(int fromFile, int fromRow, int toFile, int toRow) {
    return uint16_t(toFile | (toRow << 3) | (fromFile << 6) | (fromRow << 9));
}

TEST_F(EngineModule, PolyglotBookMovesAreOneMoveLines) {
    // The keys the book format gives for the start position and for 1.e4.
    constexpr uint64_t START_KEY = 0x463b96181691fc9cULL;
    constexpr uint64_t AFTER_E4_KEY = 0x823c9b50fd114196ULL;
    std::string book = writeBook("tarnwick_book.bin",
                                 {{START_KEY, bookMove(4, 1, 4, 3), 5},
                                  {AFTER_E4_KEY, bookMove(4, 6, 4, 4), 1},
                                  {AFTER_E4_KEY, bookMove(4, 6, 4, 1), 9}}); // illegal: skipped
    x.setBook(book.c_str(), 2);
    EXPECT_EQ(searchDepth(START_FEN, {}, 6), "e2e4");
    x.setBook(book.c_str(), 2);
    EXPECT_EQ(searchDepth(START_FEN, {"e2e4"}, 6), "e7e5");
    // Off the book the engine searches; with use 0 the book is not consulted.
    x.setBook(book.c_str(), 2);
    EXPECT_NE(split(searchDepth(START_FEN, {"d2d4"}, 2)).size(), 0u);
    x.setBook(book.c_str(), 0);
    std::string line = searchDepth(START_FEN, {}, 3);
    EXPECT_GT(split(line).size(), 1u) << "a searched line, not a book move";
}

TEST_F(EngineModule, MissingOrMalformedBookMeansNoBook) {
    std::string truncated = writeBook("tarnwick_bad_book.bin",
                                      {{0x463b96181691fc9cULL, bookMove(4, 1, 4, 3), 5}}, true);
    std::string empty = writeBook("tarnwick_empty_book.bin", {});
    for (const std::string& path :
         {truncated, empty, std::string("/nonexistent/zorbook.gbk"), ::testing::TempDir()}) {
        x.setBook(path.c_str(), 2);
        std::string line = searchDepth(START_FEN, {}, 3);
        EXPECT_TRUE(lineIsLegal(START_FEN, {}, line)) << path;
        EXPECT_GT(split(line).size(), 1u) << path;
    }
}

} // namespace

namespace {

// Writes the test network to a file the module can load.
std::string writeTestNetwork(const std::string& name) {
    const std::string path = ::testing::TempDir() + name;
    EXPECT_TRUE(tarnwick::nnue::save(path, *testNetwork(3)));
    return path;
}

TEST_F(EngineModule, MissingOrDamagedNetworkMeansTheHandMadeEvaluation) {
    const std::string fen = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8";
    auto scoreAtDepth = [&](int depth) {
        x.clearHashtables();
        const std::string line = searchDepth(fen, {}, depth);
        EXPECT_TRUE(lineIsLegal(fen, {}, line)) << line;
        std::lock_guard<std::mutex> guard(heard.lock);
        return std::make_pair(heard.scores.empty() ? 99999 : heard.scores.back(), heard.nodes);
    };
    // The module took the network beside it when it started, if the build put one there.
    const std::string moduleDir = [] {
        const std::string path = TARNWICK_MODULE_PATH;
        return path.substr(0, path.find_last_of('/') + 1);
    }();
    const std::string shipped = moduleDir + "Tarnwick.nnue";
    const bool shipsNetwork = std::ifstream(shipped).good();
    EXPECT_EQ(x.setParameter("UseNNUE", "1"), shipsNetwork ? 1 : 0);
    EXPECT_EQ(x.setParameter("EvalFile", "/nonexistent"), 0);

    EXPECT_EQ(x.setParameter("UseNNUE", "0"), 1);
    const auto handMade = scoreAtDepth(6);
    EXPECT_EQ(x.setParameter("UseNNUE", "2"), 0);

    const std::string good = writeTestNetwork("tarnwick_module.nnue");
    std::vector<unsigned char> bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bytes[4000] ^= 1;
    const std::string damaged = ::testing::TempDir() + "tarnwick_damaged.nnue";
    std::ofstream(damaged, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    EXPECT_EQ(x.setParameter("UseNNUE", "1"), 0) << "no network loaded yet";
    EXPECT_EQ(x.setParameter("EvalFile", good.c_str()), 1);
    const auto learned = scoreAtDepth(6);
    EXPECT_NE(learned, handMade) << "the network decides the search";

    for (const std::string& bad :
         {damaged, ::testing::TempDir() + "no_such.nnue", std::string(""), ::testing::TempDir()}) {
        EXPECT_EQ(x.setParameter("EvalFile", bad.c_str()), 0) << bad;
        EXPECT_EQ(scoreAtDepth(6), handMade) << bad << ": back to the hand-made evaluation";
    }
    // Switching off and on keeps the loaded network.
    EXPECT_EQ(x.setParameter("EvalFile", good.c_str()), 1);
    EXPECT_EQ(x.setParameter("UseNNUE", "0"), 1);
    EXPECT_EQ(scoreAtDepth(6), handMade);
    EXPECT_EQ(x.setParameter("UseNNUE", "1"), 1);
    EXPECT_EQ(scoreAtDepth(6), learned);
    // The other tests search with what the module ships.
    EXPECT_EQ(x.setParameter("EvalFile", shipsNetwork ? shipped.c_str() : "/nonexistent"),
              shipsNetwork ? 1 : 0);
}

} // namespace
