// tarnwick-uci: the UCI protocol over the engine module's exported interface, so that chess
// GUIs and match runners play the very module the program loads. `tarnwick-uci bench`
// searches a fixed set of positions to a fixed depth and prints the node count (a signature
// of the search) and the speed.
#include "engine_interface.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

struct Module : EngineExports {
    void* handle = nullptr;
};

Module module;

std::string executableDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    path[length] = '\0';
    std::string full(path);
    return full.substr(0, full.rfind('/'));
}

bool loadModule(const std::string& path) {
    char absolute[PATH_MAX];
    if (!realpath(path.c_str(), absolute)) {
        std::fprintf(stderr, "tarnwick-uci: cannot find %s\n", path.c_str());
        return false;
    }
    module.handle = dlopen(absolute, RTLD_NOW | RTLD_LOCAL);
    if (!module.handle) {
        std::fprintf(stderr, "tarnwick-uci: cannot load %s: %s\n", absolute, dlerror());
        return false;
    }
    return forEachEngineExport(module, [](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            dlsym(module.handle, name));
        if (!function) std::fprintf(stderr, "tarnwick-uci: export %s missing\n", name);
        return function != nullptr;
    });
}

// What the callbacks have heard during the current search.
struct Report {
    std::mutex lock;
    std::string line;
    int score = 0;
    int depth = 0;
    int selectiveDepth = 0;
    uint64_t nodes = 0;
    bool quiet = false; // bench prints only its summary
    std::chrono::steady_clock::time_point start;
};
Report report;
std::mutex outputLock;

// The evaluation chosen by the command line or the options, applied again whenever the
// engine restarts.
struct Evaluation {
    bool useNetwork = true;
    std::string networkFile; // empty: the module's own

    void apply() const {
        if (!networkFile.empty() && !module.setParameter("EvalFile", networkFile.c_str()))
            std::fprintf(stderr, "tarnwick-uci: %s is no usable network; evaluating by hand\n",
                         networkFile.c_str());
        module.setParameter("UseNNUE", useNetwork ? "1" : "0");
    }
};
Evaluation evaluation;

void say(const std::string& text) {
    std::lock_guard<std::mutex> guard(outputLock);
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string scoreText(int score) {
    if (score > ENGINE_MATE_THRESHOLD)
        return "mate " + std::to_string((ENGINE_MATE_SCORE - score + 1) / 2);
    if (score < -ENGINE_MATE_THRESHOLD)
        return "mate -" + std::to_string((ENGINE_MATE_SCORE + score) / 2);
    return "cp " + std::to_string(score);
}

void onNodes(uint32_t low, uint32_t high) {
    std::lock_guard<std::mutex> guard(report.lock);
    report.nodes = (uint64_t(high) << 32) | low;
}

void onDepth(int32_t depth, int32_t selectiveDepth) {
    std::lock_guard<std::mutex> guard(report.lock);
    report.depth = depth;
    report.selectiveDepth = selectiveDepth;
}

void onCurrentMove(const char*, int32_t, int32_t) {}

void onPrincipalVariation(const char* pv, int32_t score) {
    std::string text;
    {
        std::lock_guard<std::mutex> guard(report.lock);
        report.line = pv ? pv : "";
        report.score = score;
        if (report.quiet || report.line.empty()) return;
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - report.start)
                      .count();
        text = "info depth " + std::to_string(report.depth) + " seldepth " +
               std::to_string(report.selectiveDepth) + " score " + scoreText(score) + " nodes " +
               std::to_string(report.nodes) + " time " + std::to_string(ms) + " nps " +
               std::to_string(ms > 0 ? report.nodes * 1000 / ms : 0) + " pv " + report.line;
    }
    say(text);
}

void onExtra(int32_t) {}

EngineCallbacks callbacks = {0, onNodes, onDepth, onCurrentMove, onPrincipalVariation, onExtra};

std::string firstMove(const std::string& line) {
    std::string move = line.substr(0, line.find(' '));
    return move.empty() ? "0000" : move;
}

class UciSession {
public:
    void run();

private:
    void handle(const std::string& command, std::istringstream& in);
    void position(std::istringstream& in);
    void go(std::istringstream& in);
    void stop();
    void sendPosition();

    std::string fen_ = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    std::vector<std::string> moves_;
    std::thread searcher_;
    std::atomic<bool> infinite_{false};
    std::atomic<bool> stopped_{false};
    std::atomic<bool> searchDone_{true};
    std::string bookFile_;
};

void UciSession::sendPosition() {
    module.setPosition(fen_.c_str());
    for (const std::string& m : moves_)
        module.enterMove(m.c_str());
    module.setBook(bookFile_.c_str(), bookFile_.empty() ? 0 : 2);
}

void UciSession::position(std::istringstream& in) {
    std::string word;
    in >> word;
    if (word == "startpos") {
        fen_ = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
        in >> word;
    } else if (word == "fen") {
        fen_.clear();
        while (in >> word && word != "moves")
            fen_ += (fen_.empty() ? "" : " ") + word;
    } else {
        return;
    }
    moves_.clear();
    if (word == "moves")
        while (in >> word)
            moves_.push_back(word);
}

void UciSession::stop() {
    stopped_ = true;
    // A stop that comes before the search has begun is forgotten by the engine (it belongs
    // to no search), so it is repeated until the search has ended.
    while (searcher_.joinable() && !searchDone_) {
        module.stopAnalyse();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (searcher_.joinable()) searcher_.join();
}

void UciSession::go(std::istringstream& in) {
    // A go before the last bestmove breaks the protocol; the running search keeps its own
    // limits and ends first, unless it has none.
    if (infinite_)
        stop();
    else if (searcher_.joinable())
        searcher_.join();
    long long wtime = -1, btime = -1, winc = 0, binc = 0, movestogo = 0, depth = 0, movetime = -1,
              nodes = 0;
    bool infinite = false;
    std::string word;
    while (in >> word) {
        auto number = [&in]() {
            long long n = 0;
            in >> n;
            return n;
        };
        if (word == "wtime")
            wtime = number();
        else if (word == "btime")
            btime = number();
        else if (word == "winc")
            winc = number();
        else if (word == "binc")
            binc = number();
        else if (word == "movestogo")
            movestogo = number();
        else if (word == "depth")
            depth = number();
        else if (word == "movetime")
            movetime = number();
        else if (word == "nodes")
            nodes = number();
        else if (word == "infinite")
            infinite = true;
    }
    sendPosition();
    bool whiteToMove = fen_.find(" b ") == std::string::npos;
    if (moves_.size() % 2) whiteToMove = !whiteToMove;
    long long time = whiteToMove ? wtime : btime;
    long long increment = whiteToMove ? winc : binc;
    int plies = depth > 0 ? int(std::min(depth, 99LL)) : 99;
    if (movetime >= 0) {
        int seconds = int(std::max(1LL, (movetime + 999) / 1000));
        module.setTimeControl(1, seconds);
        module.setLevel(1, seconds, 0, plies);
        module.setParameter("RemainingMs", std::to_string(movetime).c_str());
    } else if (time >= 0 && !infinite) {
        module.setTimeControl(movestogo > 0 ? 40 : 0, 0);
        module.setLevel(int(movestogo), int(time / 1000), int(increment / 1000), plies);
        module.setParameter("RemainingMs", std::to_string(time).c_str());
        module.setParameter("IncrementMs", std::to_string(increment).c_str());
    } else {
        module.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, infinite ? 99 : plies);
    }
    if (nodes > 0) module.setParameter("NodeLimit", std::to_string(nodes).c_str());
    {
        std::lock_guard<std::mutex> guard(report.lock);
        report.line.clear();
        report.nodes = 0;
        report.depth = 0;
        report.start = std::chrono::steady_clock::now();
    }
    infinite_ = infinite;
    stopped_ = false;
    searchDone_ = false;
    searcher_ = std::thread([this] {
        module.startAnalyse(0);
        // Under "go infinite" the answer waits for "stop", even after a found mate.
        while (infinite_ && !stopped_)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::string line;
        {
            std::lock_guard<std::mutex> guard(report.lock);
            line = report.line;
        }
        say("bestmove " + firstMove(line));
        searchDone_ = true;
    });
}

void UciSession::handle(const std::string& command, std::istringstream& in) {
    if (command == "uci") {
        say(std::string("id name ") + module.getEngineName());
        say("id author the Tallowmere Chess developers");
        say("option name Hash type spin default 16 min 1 max 4096");
        say("option name BookFile type string default <empty>");
        say("option name MoveOverhead type spin default 30 min 0 max 5000");
        say("option name UseNNUE type check default true");
        say("option name EvalFile type string default <empty>");
        say("uciok");
    } else if (command == "isready") {
        say("readyok");
    } else if (command == "ucinewgame") {
        stop();
        module.clearHashtables();
    } else if (command == "position") {
        position(in);
    } else if (command == "go") {
        go(in);
    } else if (command == "stop") {
        stop();
    } else if (command == "setoption") {
        std::string word, name, value;
        in >> word; // "name"
        while (in >> word && word != "value")
            name += (name.empty() ? "" : " ") + word;
        std::getline(in >> std::ws, value);
        if (name == "Hash") {
            stop();
            int megabytes = std::atoi(value.c_str());
            module.exitEngine();
            module.startEngine(std::max(1, std::min(megabytes, 4096)) * 1024, &callbacks);
            evaluation.apply();
        } else if (name == "BookFile") {
            bookFile_ = value == "<empty>" ? "" : value;
        } else if (name == "MoveOverhead") {
            module.setParameter("MoveOverheadMs", value.c_str());
        } else if (name == "UseNNUE") {
            stop();
            evaluation.useNetwork = value != "false";
            evaluation.apply();
        } else if (name == "EvalFile") {
            stop();
            evaluation.networkFile = value == "<empty>" ? "" : value;
            evaluation.apply();
        }
    }
}

void UciSession::run() {
    std::string text;
    while (std::getline(std::cin, text)) {
        std::istringstream in(text);
        std::string command;
        in >> command;
        if (command == "quit") break;
        handle(command, in);
    }
    stop();
}

// Positions of every phase; the count of nodes to the fixed depth is the search's signature.
const char* const BENCH_POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 8",
    "r2q1rk1/1b2bppp/p2ppn2/1p6/3NP3/1BN1B3/PPP2PPP/R2Q1RK1 w - - 0 12",
    "2r3k1/pp3pp1/4p2p/3rP3/8/1P3N2/P4PPP/2R3K1 w - - 0 25",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/8/4k3/3p4/3P4/4K3/8/8 w - - 0 50",
    "6k1/5p2/6p1/8/7p/8/6PP/6K1 b - - 0 40",
    "r1b1k2r/ppppnppp/2n2q2/2b5/3NP3/2P1B3/PP3PPP/RN1QKB1R w KQkq - 0 7",
    "3r2k1/p4ppp/1pq5/2p5/2P1Q3/1P4P1/P4P1P/3R2K1 w - - 0 30",
};

int bench(int depth) {
    report.quiet = true;
    module.startEngine(16 * 1024, &callbacks);
    evaluation.apply();
    uint64_t totalNodes = 0;
    auto start = std::chrono::steady_clock::now();
    for (const char* fen : BENCH_POSITIONS) {
        module.clearHashtables();
        module.setPosition(fen);
        module.setBook("", 0);
        module.setLevel(1, ENGINE_NO_TIME_LIMIT, 0, depth);
        module.startAnalyse(0);
        std::lock_guard<std::mutex> guard(report.lock);
        totalNodes += report.nodes;
        std::printf("%-75s %s %llu\n", fen, firstMove(report.line).c_str(),
                    (unsigned long long)report.nodes);
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bench depth %d\nnodes %llu\ntime %.2f s\nnps %.0f\n", depth,
                (unsigned long long)totalNodes, seconds, seconds > 0 ? totalNodes / seconds : 0.0);
    module.exitEngine();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string modulePath = executableDirectory() + "/" + ENGINE_MODULE_FILE_NAME;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size();) {
        if (args[i] == "--module" && i + 1 < args.size()) {
            modulePath = args[i + 1];
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
        } else if (args[i] == "--eval-file" && i + 1 < args.size()) {
            evaluation.networkFile = args[i + 1];
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
        } else if (args[i] == "--no-nnue") {
            evaluation.useNetwork = false;
            args.erase(args.begin() + long(i));
        } else {
            ++i;
        }
    }
    if (!loadModule(modulePath)) return 1;
    if (!args.empty() && args[0] == "bench") {
        int depth = args.size() > 1 ? std::atoi(args[1].c_str()) : 13;
        return bench(depth > 0 ? depth : 13);
    }
    module.startEngine(16 * 1024, &callbacks);
    evaluation.apply();
    UciSession session;
    session.run();
    module.exitEngine();
    return 0;
}
