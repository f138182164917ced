#include "engine.h"

#include "movegen.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace tarnwick {

namespace {

constexpr int DEFAULT_HASH_KB = 16384;
// Far above what the program asks for; it keeps a mistaken request from taking the machine.
constexpr int MAX_HASH_KB = 8 * 1024 * 1024;
constexpr int MIN_HASH_KB = 64;

// Passes what the search reports to the program's callbacks as text.
class CallbackObserver : public SearchObserver {
public:
    explicit CallbackObserver(const EngineCallbacks& callbacks) : callbacks_(callbacks) {}
    void onNodes(uint64_t nodes) override {
        if (callbacks_.onNodes) callbacks_.onNodes(uint32_t(nodes), uint32_t(nodes >> 32));
    }
    void onDepth(int depth, int selectiveDepth) override {
        if (callbacks_.onDepth) callbacks_.onDepth(depth, selectiveDepth);
    }
    void onCurrentMove(Move move, int index, int count) override {
        if (callbacks_.onCurrentMove)
            callbacks_.onCurrentMove(moveToText(move).c_str(), index, count);
    }
    void onLine(const std::vector<Move>& line, int score) override {
        if (!callbacks_.onPrincipalVariation) return;
        std::string text;
        for (Move m : line) {
            if (!text.empty()) text += ' ';
            text += moveToText(m);
        }
        callbacks_.onPrincipalVariation(text.c_str(), score);
    }

private:
    const EngineCallbacks& callbacks_;
};

// The network the module plays with, looked for beside the module itself.
constexpr const char* NETWORK_FILE_NAME = "Tarnwick.nnue";

std::string moduleFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&moduleFolder), &info) || !info.dli_fname) return ".";
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

Engine::Engine() : search_(table_) {
    table_.resize(DEFAULT_HASH_KB);
    loadNetwork(moduleFolder() + "/" + NETWORK_FILE_NAME);
}

bool Engine::loadNetwork(const std::string& path) {
    auto loaded = std::make_unique<nnue::Network>();
    const bool ok = nnue::load(path, *loaded) == nnue::LoadResult::OK;
    network_ = ok ? std::move(loaded) : nullptr;
    chooseEvaluation();
    return ok;
}

void Engine::chooseEvaluation() {
    search_.setNetwork(networkWanted_ ? network_.get() : nullptr);
    // Table entries keep static evaluations: those of the other evaluation must not mix in.
    table_.clear();
}

void Engine::start(int hashKB, const EngineCallbacks* callbacks) {
    table_.resize(std::clamp(hashKB, MIN_HASH_KB, MAX_HASH_KB));
    search_.clear();
    callbacks_ = callbacks ? *callbacks : EngineCallbacks{};
}

void Engine::exit() {
    table_.resize(0);
    search_.clear();
    book_.close();
    callbacks_ = EngineCallbacks{};
}

void Engine::analyse() {
    stopRequest_.store(false, std::memory_order_relaxed);
    // Millisecond figures and node limits belong to one search only.
    Level level = level_;
    level_.remainingMs = -1;
    level_.incrementMs = -1;
    level_.maxNodes = 0;
    CallbackObserver observer(callbacks_);
    if (!positionValid_) {
        // A position we could not set up has no moves we could vouch for.
        observer.onLine({}, 0);
        return;
    }
    if (useBook_ && book_.isOpen()) {
        Move bookMove = book_.probe(position_);
        if (bookMove != NO_MOVE) {
            observer.onDepth(1, 1);
            observer.onLine({bookMove}, 0);
            return;
        }
    }
    search_.run(position_, limitsFor(level), observer, stopRequest_);
}

void Engine::setPosition(const char* fen) {
    positionValid_ = fen && position_.setFen(fen);
}

Move Engine::parseMove(const std::string& text) {
    if (text.size() < 4 || text.size() > 5) return NO_MOVE;
    auto inRange = [](char c, char low, char high) { return c >= low && c <= high; };
    if (!inRange(text[0], 'a', 'h') || !inRange(text[1], '1', '8') || !inRange(text[2], 'a', 'h') ||
        !inRange(text[3], '1', '8'))
        return NO_MOVE;
    int from = makeSquare(text[0] - 'a', text[1] - '1');
    int to = makeSquare(text[2] - 'a', text[3] - '1');
    PieceType promo = NO_TYPE;
    if (text.size() == 5) {
        switch (std::tolower(static_cast<unsigned char>(text[4]))) {
        case 'q':
            promo = QUEEN;
            break;
        case 'r':
            promo = ROOK;
            break;
        case 'b':
            promo = BISHOP;
            break;
        case 'n':
            promo = KNIGHT;
            break;
        default:
            return NO_MOVE;
        }
    }
    MoveList legal;
    generateLegalMoves(position_, legal);
    for (Move m : legal) {
        if (moveFrom(m) != from || moveTo(m) != to) continue;
        if (moveKind(m) == PROMOTION ? promotionType(m) == promo : promo == NO_TYPE) return m;
    }
    return NO_MOVE;
}

void Engine::enterMove(const char* text) {
    if (!positionValid_) return;
    std::string move = text ? text : "";
    // A passed turn, as game records may hold; not when in check.
    if ((move == "null" || move == "0000" || move == "--") && !position_.inCheck()) {
        UndoInfo undo;
        position_.makeNullMove(undo);
        return;
    }
    Move m = parseMove(move);
    if (m == NO_MOVE) {
        // From here on the engine's position would differ from the game: search nothing.
        positionValid_ = false;
        return;
    }
    UndoInfo undo;
    position_.makeMove(m, undo);
}

void Engine::setBook(const char* path, int use) {
    useBook_ = use != 0 && path && *path;
    if (!useBook_) {
        book_.close();
        return;
    }
    if (!book_.isOpen() || book_.path() != path) {
        if (!book_.open(path)) useBook_ = false;
    }
}

void Engine::setLevel(int movesToGo, int seconds, int incrementSeconds, int maxPlies) {
    level_.movesToGo = std::max(movesToGo, 0);
    level_.seconds = seconds;
    level_.incrementSeconds = std::max(incrementSeconds, 0);
    level_.maxPlies = maxPlies;
}

void Engine::setTimeControl(int movesPerPeriod, int secondsPerPeriod) {
    level_.periodMoves = std::max(movesPerPeriod, 0);
    level_.periodSeconds = std::max(secondsPerPeriod, 0);
}

void Engine::clearHashtables() {
    table_.clear();
    search_.clear();
}

bool Engine::setParameter(const char* name, const char* value) {
    if (!name || !value) return false;
    if (std::strcmp(name, "EvalFile") == 0) return *value && loadNetwork(value);
    char* end = nullptr;
    long long number = std::strtoll(value, &end, 10);
    if (end == value || *end != '\0' || number < 0) return false;
    if (std::strcmp(name, "RemainingMs") == 0)
        level_.remainingMs = number;
    else if (std::strcmp(name, "IncrementMs") == 0)
        level_.incrementMs = number;
    else if (std::strcmp(name, "NodeLimit") == 0)
        level_.maxNodes = uint64_t(number);
    else if (std::strcmp(name, "MoveOverheadMs") == 0)
        level_.moveOverheadMs = int(std::min(number, 10000LL));
    else if (std::strcmp(name, "UseNNUE") == 0 && number <= 1) {
        networkWanted_ = number == 1;
        chooseEvaluation();
        return !networkWanted_ || network_;
    } else
        return false;
    return true;
}

} // namespace tarnwick
