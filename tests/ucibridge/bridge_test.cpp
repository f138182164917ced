// UciBridge.pge loaded with dlopen and driven through its fifteen exports only, against the
// scripted UCI engine of these tests (which logs what it is told) and, when installed,
// Debian's stockfish.
#include "../support/engine_exports.h"
#include "engine_interface.h"
#include "move_text.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* STOCKFISH = "/usr/games/stockfish";

// Every callback of one search, in the order they came.
struct Events {
    std::mutex lock;
    std::vector<std::string> all;
    std::vector<std::string> lines;
    std::vector<int> scores;
    std::vector<int> extras;

    void add(const std::string& event) {
        std::lock_guard<std::mutex> guard(lock);
        all.push_back(event);
    }
    void clear() {
        std::lock_guard<std::mutex> guard(lock);
        all.clear();
        lines.clear();
        scores.clear();
        extras.clear();
    }
    std::string lastLine() {
        std::lock_guard<std::mutex> guard(lock);
        return lines.empty() ? "<none>" : lines.back();
    }
};
Events events;

void onNodes(uint32_t low, uint32_t high) {
    events.add("nodes " + std::to_string((uint64_t(high) << 32) | low));
}
void onDepth(int32_t depth, int32_t selective) {
    events.add("depth " + std::to_string(depth) + "/" + std::to_string(selective));
}
void onCurrentMove(const char* move, int32_t index, int32_t count) {
    events.add("move " + std::string(move) + " " + std::to_string(index) + "/" +
               std::to_string(count));
}
void onPrincipalVariation(const char* pv, int32_t score) {
    events.add("line " + std::string(pv) + " " + std::to_string(score));
    std::lock_guard<std::mutex> guard(events.lock);
    events.lines.push_back(pv);
    events.scores.push_back(score);
}
void onExtra(int32_t value) {
    events.add("extra " + std::to_string(value));
    std::lock_guard<std::mutex> guard(events.lock);
    events.extras.push_back(value);
}
EngineCallbacks callbacks = {0, onNodes, onDepth, onCurrentMove, onPrincipalVariation, onExtra};

bool processIsGone(pid_t pid) {
    if (pid <= 0) return false;
    if (kill(pid, 0) != 0) return true;
    // A zombie nobody reaps is dead all the same.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t paren = text.rfind(')');
    return paren == std::string::npos || text.compare(paren + 2, 1, "Z") == 0;
}

// Waits, without any time limit that could fail a slow machine, for what must come.
template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 6000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

bool isLegalMove(const std::string& fen, const std::vector<std::string>& moves,
                 const std::string& move) {
    tarnwick::Position pos;
    if (!pos.setFen(fen)) return false;
    std::vector<std::string> all = moves;
    all.push_back(move);
    // The program may write promotion letters in either case.
    for (std::string& text : all)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
    for (const std::string& text : all)
        if (!playMoveText(pos, text)) return false;
    return true;
}

std::string firstWord(const std::string& text) {
    std::istringstream in(text);
    std::string word;
    in >> word;
    return word;
}

class UciBridgeModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle_ = dlopen(UCI_BRIDGE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        resolveEngineExports(handle_, x);
    }
    void SetUp() override {
        ASSERT_NE(handle_, nullptr);
        events.clear();
        // A blank in the folder's name: the command is split as a shell would split it.
        logPath_ = ::testing::TempDir() + "uci bridge " +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        std::remove(logPath_.c_str());
    }
    void TearDown() override { x.exitEngine(); }

    std::string command(const std::string& mode) const {
        return std::string("'") + SCRIPTED_UCI_PATH + "' " + mode + " '" + logPath_ + "'";
    }
    // The scripted engine in mode, started and ready.
    bool startScripted(const std::string& mode, int hashKB = 1024) {
        if (x.setParameter("EngineCommand", command(mode).c_str()) != 1) return false;
        x.startEngine(hashKB, &callbacks);
        return true;
    }
    std::vector<std::string> logged() const {
        std::ifstream in(logPath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool wasLogged(const std::string& line) const {
        for (const std::string& l : logged())
            if (l == line) return true;
        return false;
    }
    std::string lastLogged(const std::string& prefix) const {
        std::string found;
        for (const std::string& l : logged())
            if (l.rfind(prefix, 0) == 0) found = l;
        return found;
    }
    pid_t enginePid() const {
        const std::string line = lastLogged("pid ");
        return line.empty() ? -1 : pid_t(std::stoi(line.substr(4)));
    }
    void setGame(const std::string& fen, const std::vector<std::string>& moves) {
        x.setPosition(fen.c_str());
        for (const std::string& m : moves)
            x.enterMove(m.c_str());
        x.setBook("", 0);
    }
    std::string searchDepth(int depth) {
        x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, depth);
        events.clear();
        x.startAnalyse(0);
        return events.lastLine();
    }

    std::string logPath_;
    static inline void* handle_ = nullptr;
    static inline EngineExports x{};
};

TEST_F(UciBridgeModule, NamesComeFromTheEngine) {
    EXPECT_EQ(x.getInterfaceVersion(), ENGINE_INTERFACE_VERSION);
    EXPECT_STREQ(x.getParameterList(), "EngineCommand");
    ASSERT_TRUE(startScripted("normal", 65536));
    EXPECT_STREQ(x.getEngineName(), "Scripted UCI 1.0");
    // The hash in megabytes, within the engine's own bounds.
    EXPECT_TRUE(wasLogged("setoption name Hash value 64"));
    EXPECT_TRUE(wasLogged("isready"));
    x.exitEngine();
    ASSERT_TRUE(startScripted("normal", 1024));
    EXPECT_TRUE(wasLogged("setoption name Hash value 4"));
    // Options the engine announced pass through SetParameter; others are refused.
    EXPECT_EQ(x.setParameter("Skill Level", "3"), 1);
    EXPECT_TRUE(eventually([&] { return wasLogged("setoption name Skill Level value 3"); }));
    EXPECT_EQ(x.setParameter("NoSuchOption", "1"), 0);
    EXPECT_EQ(x.setParameter("Skill Level", "3\nquit"), 0);
    EXPECT_EQ(x.setParameter(nullptr, nullptr), 0);
    x.setPonderOff();
    x.exitEngine();
    // Without "id name" the engine is called by its program's name.
    ASSERT_TRUE(startScripted("noid"));
    EXPECT_STREQ(x.getEngineName(), "scripted_uci");
}

TEST_F(UciBridgeModule, EachLevelModeBecomesItsGoCommand) {
    ASSERT_TRUE(startScripted("normal"));
    struct Case {
        int periodMoves, periodSeconds; // -1: SetTimeControl not called
        int movesToGo, seconds, increment, maxPlies;
        const char* go;
    };
    const Case CASES[] = {
        // Fixed depth, no time limit.
        {-1, -1, 1, ENGINE_NO_TIME_LIMIT, 0, 3, "go depth 3"},
        {-1, -1, 1, ENGINE_NO_TIME_LIMIT, 0, 0, "go depth 1"},
        // Fixed seconds per move.
        {1, 30, 1, 30, 0, 99, "go movetime 30000"},
        // A game in 300 seconds plus 5 a move, 345 left.
        {0, 0, 0, 345, 5, 99, "go wtime 345000 btime 345000 winc 5000 binc 5000"},
        // Tournament periods: 20 moves in the 900 seconds left, and the last before control.
        {40, 600, 20, 900, 0, 99, "go wtime 900000 btime 900000 movestogo 20"},
        {40, 600, 1, 100, 0, 99, "go wtime 100000 btime 100000 movestogo 1"},
        // A timed search that is also limited in depth.
        {1, 5, 1, 5, 0, 4, "go movetime 5000 depth 4"},
    };
    for (const Case& c : CASES) {
        setGame(START_FEN, {"e2e4", "e7e5"});
        if (c.periodMoves >= 0) x.setTimeControl(c.periodMoves, c.periodSeconds);
        x.setLevel(c.movesToGo, c.seconds, c.increment, c.maxPlies);
        events.clear();
        x.startAnalyse(0);
        EXPECT_EQ(lastLogged("go"), c.go);
        EXPECT_EQ(lastLogged("position"), "position startpos moves e2e4 e7e5");
        EXPECT_TRUE(isLegalMove(START_FEN, {"e2e4", "e7e5"}, firstWord(events.lastLine())))
            << c.go << ": " << events.lastLine();
    }
}

TEST_F(UciBridgeModule, TheGameIsSentAsFenAndMoves) {
    ASSERT_TRUE(startScripted("normal"));
    struct Case {
        const char* fen;
        std::vector<std::string> moves;
        const char* position; // as the engine is told it
    };
    const Case CASES[] = {
        {START_FEN, {}, "position startpos"},
        // Promotion letters reach the engine in lower case.
        {"8/P6k/8/8/8/8/8/K7 w - - 0 1",
         {"a7a8Q", "h7g6"},
         "position fen 8/P6k/8/8/8/8/8/K7 w - - 0 1 moves a7a8q h7g6"},
        // Extra blanks in the program's text do not reach the engine.
        {"4k3/8/8/8/8/8/8/4K2R   w K - 3 40",
         {"e1g1"},
         "position fen 4k3/8/8/8/8/8/8/4K2R w K - 3 40 moves e1g1"},
    };
    for (const Case& c : CASES) {
        setGame(c.fen, c.moves);
        searchDepth(1);
        EXPECT_EQ(lastLogged("position"), c.position);
        EXPECT_TRUE(isLegalMove(c.fen, c.moves, events.lastLine())) << events.lastLine();
    }
}

TEST_F(UciBridgeModule, GamesTheBridgeCannotFollowAreNotSearched) {
    ASSERT_TRUE(startScripted("normal"));
    const std::vector<std::pair<const char*, std::vector<std::string>>> CASES = {
        {START_FEN, {"e2e5"}},                      // illegal move
        {START_FEN, {"e2e4", "junk"}},              // not a move
        {"not a fen", {}},                          // not a position
        {"8/8/8/8/8/8/8/8 w - - 0 1", {}},          // no kings
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1\nquit", {}} // a second command hidden in the text
    };
    for (const auto& [fen, moves] : CASES) {
        setGame(fen, moves);
        EXPECT_EQ(searchDepth(1), "") << fen;
        EXPECT_TRUE(events.extras.empty()) << "the engine itself is fine";
    }
    EXPECT_FALSE(wasLogged("quit"));
    EXPECT_EQ(lastLogged("go"), "") << "the engine was never asked";
    // The next good game is searched again.
    setGame(START_FEN, {"d2d4"});
    EXPECT_TRUE(isLegalMove(START_FEN, {"d2d4"}, searchDepth(1)));
}

TEST_F(UciBridgeModule, InfoLinesBecomeCallbacksInOrder) {
    ASSERT_TRUE(startScripted("normal"));
    setGame(START_FEN, {});
    searchDepth(2);
    // The scripted engine's first move in text order is a2a3; its second line comes from a
    // second PV of a multi-line search and is left out.
    const std::vector<std::string> expected = {
        "depth 1/2", "nodes 120",        "line a2a3 25", "depth 2/2", "move a2a3 1/20",
        "depth 2/4", "nodes 4294967396", "line a2a3 31", "depth 2/2",
    };
    std::lock_guard<std::mutex> guard(events.lock);
    EXPECT_EQ(events.all, expected);
}

TEST_F(UciBridgeModule, MateScoresCountPlies) {
    ASSERT_TRUE(startScripted("mate"));
    setGame(START_FEN, {});
    searchDepth(5);
    std::lock_guard<std::mutex> guard(events.lock);
    // Being mated in two moves is four plies, mating in three five.
    const std::vector<int> expected = {25, -(ENGINE_MATE_SCORE - 4), ENGINE_MATE_SCORE - 5};
    EXPECT_EQ(events.scores, expected);
}

TEST_F(UciBridgeModule, StopFromAnotherThreadEndsTheSearchWithItsMove) {
    ASSERT_TRUE(startScripted("normal"));
    setGame(START_FEN, {"g1f3"});
    // Idle, a stop is not passed on: it would be taken for the next search's.
    x.stopAnalyse();
    x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, 20);
    events.clear();
    std::thread search([] { x.startAnalyse(0); });
    EXPECT_TRUE(eventually([&] { return wasLogged("go depth 20"); }));
    EXPECT_FALSE(wasLogged("stop"));
    x.stopAnalyse();
    search.join();
    EXPECT_TRUE(wasLogged("stop"));
    EXPECT_EQ(events.lastLine(), "a7a5");
    EXPECT_TRUE(events.extras.empty());
}

TEST_F(UciBridgeModule, ABookIsTheEnginesWhenItHasOneElseTheBridges) {
    const std::string book = std::string(TEST_DATA_DIR) + "/e4_book.bin";
    // The scripted engine has no book of its own: the bridge plays e2e4 from the book
    // without asking it.
    ASSERT_TRUE(startScripted("normal"));
    setGame(START_FEN, {});
    x.setBook(book.c_str(), 2);
    x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, 1);
    x.startAnalyse(0);
    EXPECT_EQ(events.lastLine(), "e2e4");
    EXPECT_EQ(lastLogged("go"), "");
    // Out of the book, or with the book off, the engine searches.
    setGame(START_FEN, {"d2d4"});
    x.setBook(book.c_str(), 2);
    EXPECT_EQ(searchDepth(1), "a7a5");
    setGame(START_FEN, {});
    x.setBook(book.c_str(), 0);
    EXPECT_EQ(searchDepth(1), "a2a3");
    x.exitEngine();

    // An engine with OwnBook and BookFile gets the book and plays from it itself.
    ASSERT_TRUE(startScripted("book"));
    setGame(START_FEN, {});
    x.setBook(book.c_str(), 2);
    EXPECT_EQ(searchDepth(1), "a2a3");
    EXPECT_TRUE(wasLogged("setoption name BookFile value " + book));
    EXPECT_EQ(lastLogged("setoption name OwnBook"), "setoption name OwnBook value true");
    setGame(START_FEN, {});
    x.setBook(book.c_str(), 0);
    searchDepth(1);
    EXPECT_EQ(lastLogged("setoption name OwnBook"), "setoption name OwnBook value false");
}

TEST_F(UciBridgeModule, ClearHashtablesStartsANewGame) {
    ASSERT_TRUE(startScripted("normal"));
    x.clearHashtables();
    setGame(START_FEN, {});
    searchDepth(1);
    const std::vector<std::string> lines = logged();
    const auto newGame = std::find(lines.begin(), lines.end(), "ucinewgame");
    ASSERT_NE(newGame, lines.end());
    // The engine is ready again before it is told the position.
    const auto ready = std::find(newGame, lines.end(), "isready");
    const auto position = std::find(newGame, lines.end(), "position startpos");
    EXPECT_LT(ready, position);
}

TEST_F(UciBridgeModule, EnginesThatCannotStartAreRefusedAtOnce) {
    const std::string notExecutable = std::string(TEST_DATA_DIR) + "/e4_book.bin";
    const std::string CASES[] = {
        "/nonexistent/engine",
        "no-such-engine-on-path",
        "'" + notExecutable + "'",
        TEST_DATA_DIR, // a folder
        "",
        "   ",
        "'unbalanced quote",
        "/bin/true", // runs, but ends without a word
    };
    for (const std::string& command : CASES) {
        EXPECT_EQ(x.setParameter("EngineCommand", command.c_str()), 0) << command;
        // The program may go on as if it had an engine: nothing is searched, nothing hangs.
        x.startEngine(1024, &callbacks);
        setGame(START_FEN, {});
        EXPECT_EQ(searchDepth(1), "") << command;
        EXPECT_EQ(events.extras, std::vector<int>{ENGINE_EXTRA_FAILED}) << command;
        x.stopAnalyse();
        x.clearHashtables();
        x.exitEngine();
    }
}

TEST_F(UciBridgeModule, AnEngineThatNeverSaysUciokIsRefused) {
    EXPECT_EQ(x.setParameter("EngineCommand", command("silent").c_str()), 0);
    const pid_t pid = enginePid();
    EXPECT_TRUE(wasLogged("uci"));
    EXPECT_TRUE(processIsGone(pid));
}

TEST_F(UciBridgeModule, AnEngineThatDiesInASearchGivesNoMoveAndStaysFailed) {
    ASSERT_TRUE(startScripted("crash"));
    const pid_t pid = enginePid();
    setGame(START_FEN, {});
    // Its line before it died is taken back: its move must not be played.
    EXPECT_EQ(searchDepth(1), "");
    EXPECT_EQ(events.extras, std::vector<int>{ENGINE_EXTRA_FAILED});
    EXPECT_TRUE(processIsGone(pid));
    setGame(START_FEN, {});
    EXPECT_EQ(searchDepth(1), "");
    EXPECT_EQ(events.extras, std::vector<int>{ENGINE_EXTRA_FAILED});
    // Started again, it comes back.
    x.exitEngine();
    x.startEngine(1024, &callbacks);
    EXPECT_NE(enginePid(), pid);
    EXPECT_FALSE(processIsGone(enginePid()));
}

TEST_F(UciBridgeModule, AnEngineThatHangsIsKilledAfterItsTimeAndAStop) {
    ASSERT_TRUE(startScripted("hang"));
    const pid_t pid = enginePid();
    setGame(START_FEN, {});
    x.setTimeControl(1, 1);
    x.setLevel(1, 1, 0, 99);
    events.clear();
    x.startAnalyse(0);
    EXPECT_TRUE(wasLogged("stop")) << "the level's time ran out";
    EXPECT_EQ(events.lastLine(), "");
    EXPECT_EQ(events.extras, std::vector<int>{ENGINE_EXTRA_FAILED});
    EXPECT_TRUE(processIsGone(pid));
}

TEST_F(UciBridgeModule, AnEngineThatHangsAfterAStopFromOutsideIsKilled) {
    ASSERT_TRUE(startScripted("hang"));
    const pid_t pid = enginePid();
    setGame(START_FEN, {});
    x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, 99);
    events.clear();
    std::thread search([] { x.startAnalyse(0); });
    EXPECT_TRUE(eventually([&] { return wasLogged("go depth 99"); }));
    x.stopAnalyse();
    search.join();
    EXPECT_EQ(events.lastLine(), "");
    EXPECT_EQ(events.extras, std::vector<int>{ENGINE_EXTRA_FAILED});
    EXPECT_TRUE(processIsGone(pid));
}

TEST_F(UciBridgeModule, AnEngineThatAnswersGarbageGivesNoMove) {
    ASSERT_TRUE(startScripted("garbage"));
    setGame(START_FEN, {});
    EXPECT_EQ(searchDepth(1), "");
    EXPECT_EQ(events.extras, std::vector<int>{ENGINE_EXTRA_FAILED});
}

TEST_F(UciBridgeModule, TheEngineEndsWithExitEngineEvenWhenItIgnoresQuit) {
    for (const char* mode : {"normal", "hang"}) {
        ASSERT_TRUE(startScripted(mode));
        const pid_t pid = enginePid();
        EXPECT_FALSE(processIsGone(pid));
        x.exitEngine();
        EXPECT_TRUE(wasLogged("quit")) << mode;
        EXPECT_TRUE(processIsGone(pid)) << mode;
    }
}

TEST_F(UciBridgeModule, TheEngineDiesWithAProgramThatIsKilled) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t program = fork();
    if (program == 0) {
        const char started =
            x.setParameter("EngineCommand", command("normal").c_str()) == 1 ? 'y' : 'n';
        ssize_t written = write(ready[1], &started, 1);
        (void)written;
        for (;;)
            pause();
    }
    close(ready[1]);
    char started = 0;
    ASSERT_EQ(read(ready[0], &started, 1), 1);
    close(ready[0]);
    EXPECT_EQ(started, 'y');
    const pid_t engine = enginePid();
    EXPECT_FALSE(processIsGone(engine));
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    EXPECT_TRUE(eventually([&] { return processIsGone(engine); }));
}

class StockfishThroughTheBridge : public UciBridgeModule {
protected:
    void SetUp() override {
        UciBridgeModule::SetUp();
        if (access(STOCKFISH, X_OK) != 0) GTEST_SKIP() << STOCKFISH << " is not installed";
        ASSERT_EQ(x.setParameter("EngineCommand", STOCKFISH), 1);
        x.startEngine(16384, &callbacks);
    }
};

TEST_F(StockfishThroughTheBridge, PlaysLegalMovesAtEachLevelMode) {
    EXPECT_EQ(std::string(x.getEngineName()).rfind("Stockfish", 0), 0u) << x.getEngineName();
    const std::vector<std::string> game = {"e2e4", "c7c5", "g1f3"};
    setGame(START_FEN, game);
    EXPECT_TRUE(isLegalMove(START_FEN, game, firstWord(searchDepth(6))));
    setGame(START_FEN, game);
    x.setTimeControl(1, 1);
    x.setLevel(1, 1, 0, 99);
    events.clear();
    x.startAnalyse(0);
    EXPECT_TRUE(isLegalMove(START_FEN, game, firstWord(events.lastLine())));
    setGame(START_FEN, game);
    x.setTimeControl(0, 0);
    x.setLevel(0, 3, 1, 99);
    events.clear();
    x.startAnalyse(0);
    EXPECT_TRUE(isLegalMove(START_FEN, game, firstWord(events.lastLine())));
}

TEST_F(StockfishThroughTheBridge, ReportsMateInThePlayersConvention) {
    const char* MATE_IN_ONE = "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1";
    setGame(MATE_IN_ONE, {});
    EXPECT_EQ(firstWord(searchDepth(5)), "d1d8");
    EXPECT_EQ(events.scores.back(), ENGINE_MATE_SCORE - 1);
    // Black to move, mated next move whatever it plays.
    setGame("k7/8/1K6/8/8/8/8/7R b - - 0 1", {});
    searchDepth(6);
    EXPECT_EQ(events.scores.back(), -(ENGINE_MATE_SCORE - 2));
}

TEST_F(StockfishThroughTheBridge, AnInfiniteSearchEndsWithAStop) {
    setGame(START_FEN, {});
    x.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, 99);
    events.clear();
    std::thread search([] { x.startAnalyse(0); });
    EXPECT_TRUE(eventually([&] {
        std::lock_guard<std::mutex> guard(events.lock);
        return events.lines.size() >= 3;
    }));
    x.stopAnalyse();
    search.join();
    EXPECT_TRUE(isLegalMove(START_FEN, {}, firstWord(events.lastLine())));
    EXPECT_TRUE(events.extras.empty());
}

} // namespace
