// tarnwick-datagen: plays the engine against itself at a fixed node count per move and writes
// the quiet positions of each game with the game's result, the material the evaluation is
// fitted to. Every game gets a fresh hash table and fresh move-ordering statistics, so the
// games are independent of each other and of the order they are played in.
#include "movegen.h"
#include "search.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tarnwick;

struct Options {
    uint64_t games = 1000;
    uint64_t nodes = 6000;
    uint64_t seed = 1;
    int randomPlies = 8;
    std::string out;
};

// Scores beyond these say the game is decided; the positions carry no more to learn.
constexpr int UNBALANCED_START = 300;
constexpr int WIN_SCORE = 1000;
constexpr int WIN_PLIES = 4;
constexpr int DRAW_SCORE = 10;
constexpr int DRAW_PLIES = 8;
constexpr int DRAW_FROM_PLY = 160;
constexpr int MAX_GAME_PLIES = 400;
constexpr int RECORD_LIMIT = 2000;
constexpr size_t HASH_KB = 16 * 1024;

class SilentObserver : public SearchObserver {
public:
    void onNodes(uint64_t) override {}
    void onDepth(int, int) override {}
    void onCurrentMove(Move, int, int) override {}
    void onLine(const std::vector<Move>&, int) override {}
};

enum class Outcome { BLACK_WINS = 0, DRAW = 1, WHITE_WINS = 2, DISCARDED = 3 };

bool insufficientMaterial(const Position& pos) {
    if (pos.pieces(PAWN) | pos.pieces(ROOK) | pos.pieces(QUEEN)) return false;
    Bitboard minors = pos.pieces(KNIGHT) | pos.pieces(BISHOP);
    return (minors & (minors - 1)) == 0; // at most one minor piece on the board
}

// Promotions and en passant captures are never quiet; castling moves the king to an empty square.
bool isQuietMove(const Position& pos, Move m) {
    MoveKind kind = moveKind(m);
    return (kind == NORMAL || kind == CASTLING) && pos.pieceOn(moveTo(m)) == NO_PIECE;
}

// A repetition of any earlier position of the game since the last irreversible move.
bool repeated(const std::vector<Key>& keys, int halfmoveClock) {
    int n = int(keys.size());
    int reach = std::min(halfmoveClock, n - 1);
    for (int back = 4; back <= reach; back += 2)
        if (keys[n - 1 - back] == keys[n - 1]) return true;
    return false;
}

class SelfPlay {
public:
    SelfPlay(const Options& options) : options_(options), rng_(options.seed) {
        table_.resize(HASH_KB);
        search_ = std::make_unique<Search>(table_);
    }

    // Plays one game; its recorded lines are appended to lines.
    Outcome play(std::string& lines) {
        table_.clear();
        search_->clear();
        Position pos;
        pos.setStart();
        std::vector<Key> keys{pos.key()};
        std::vector<std::pair<std::string, int>> recorded; // FEN, then ply
        int ply = 0;
        for (; ply < options_.randomPlies; ++ply) {
            MoveList legal;
            generateLegalMoves(pos, legal);
            if (legal.size == 0) return Outcome::DISCARDED;
            UndoInfo undo;
            pos.makeMove(legal.moves[rng_() % legal.size], undo);
            keys.push_back(pos.key());
        }

        int winRun = 0, drawRun = 0, lastSign = 0;
        Outcome outcome = Outcome::DRAW;
        for (;; ++ply) {
            MoveList legal;
            generateLegalMoves(pos, legal);
            bool whiteToMove = pos.sideToMove() == WHITE;
            if (legal.size == 0) {
                outcome = !pos.inCheck() ? Outcome::DRAW
                          : whiteToMove  ? Outcome::BLACK_WINS
                                         : Outcome::WHITE_WINS;
                break;
            }
            if (pos.halfmoveClock() >= 100 || repeated(keys, pos.halfmoveClock()) ||
                insufficientMaterial(pos) || ply >= MAX_GAME_PLIES)
                break;

            SearchLimits limits;
            limits.maxNodes = options_.nodes;
            SearchResult result = search_->run(pos, limits, observer_, stop_);
            int whiteScore = whiteToMove ? result.score : -result.score;
            if (ply == options_.randomPlies && std::abs(whiteScore) > UNBALANCED_START)
                return Outcome::DISCARDED;

            if (!pos.inCheck() && isQuietMove(pos, result.bestMove) &&
                std::abs(whiteScore) < RECORD_LIMIT)
                recorded.emplace_back(pos.fen(), ply);

            int sign = whiteScore >= WIN_SCORE ? 1 : whiteScore <= -WIN_SCORE ? -1 : 0;
            winRun = sign != 0 && sign == lastSign ? winRun + 1 : (sign != 0 ? 1 : 0);
            lastSign = sign;
            if (winRun >= WIN_PLIES) {
                outcome = sign > 0 ? Outcome::WHITE_WINS : Outcome::BLACK_WINS;
                break;
            }
            drawRun = std::abs(whiteScore) <= DRAW_SCORE ? drawRun + 1 : 0;
            if (ply >= DRAW_FROM_PLY && drawRun >= DRAW_PLIES) break;

            UndoInfo undo;
            pos.makeMove(result.bestMove, undo);
            keys.push_back(pos.key());
        }

        const char* result = outcome == Outcome::WHITE_WINS   ? "1.0"
                             : outcome == Outcome::BLACK_WINS ? "0.0"
                                                              : "0.5";
        for (const auto& entry : recorded) {
            lines += entry.first;
            lines += " | ";
            lines += result;
            lines += '\n';
        }
        positions_ = recorded.size();
        return outcome;
    }

    size_t lastPositions() const { return positions_; }

private:
    Options options_;
    std::mt19937_64 rng_;
    TranspositionTable table_;
    std::unique_ptr<Search> search_;
    SilentObserver observer_;
    std::atomic<bool> stop_{false};
    size_t positions_ = 0;
};

bool parseNumber(const char* text, uint64_t& value) {
    if (!text || !*text || *text == '-') return false;
    char* end = nullptr;
    unsigned long long n = std::strtoull(text, &end, 10);
    if (*end != '\0') return false;
    value = n;
    return true;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        uint64_t number = 0;
        if (name == "--out" && value) {
            options.out = value;
        } else if (!parseNumber(value, number)) {
            return false;
        } else if (name == "--games") {
            options.games = number;
        } else if (name == "--nodes" && number > 0) {
            options.nodes = number;
        } else if (name == "--seed") {
            options.seed = number;
        } else if (name == "--random-plies" && number <= 40) {
            options.randomPlies = int(number);
        } else {
            return false;
        }
        ++i;
    }
    return !options.out.empty();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: tarnwick-datagen --out FILE [--games N] [--nodes N] "
                             "[--seed S] [--random-plies N (0-40)]\n");
        return 2;
    }
    std::FILE* out = std::fopen(options.out.c_str(), "a");
    if (!out) {
        std::fprintf(stderr, "cannot open %s: %s\n", options.out.c_str(), std::strerror(errno));
        return 1;
    }

    SelfPlay selfPlay(options);
    auto start = std::chrono::steady_clock::now();
    uint64_t games = 0, discarded = 0, positions = 0, tally[3] = {0, 0, 0};
    std::string lines;
    while (games < options.games) {
        lines.clear();
        Outcome outcome = selfPlay.play(lines);
        if (outcome == Outcome::DISCARDED) {
            ++discarded;
            continue;
        }
        if (std::fputs(lines.c_str(), out) < 0 || std::fflush(out) != 0) {
            std::fprintf(stderr, "cannot write %s: %s\n", options.out.c_str(),
                         std::strerror(errno));
            std::fclose(out);
            return 1;
        }
        ++games;
        ++tally[int(outcome)];
        positions += selfPlay.lastPositions();
        if (games % 100 == 0 || games == options.games) {
            double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr,
                         "games %llu positions %llu white %llu draw %llu black %llu discarded "
                         "%llu games/s %.2f\n",
                         (unsigned long long)games, (unsigned long long)positions,
                         (unsigned long long)tally[2], (unsigned long long)tally[1],
                         (unsigned long long)tally[0], (unsigned long long)discarded,
                         seconds > 0 ? games / seconds : 0.0);
        }
    }
    std::fclose(out);
    return 0;
}
