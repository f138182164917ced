#include "datagen.h"

#include "movegen.h"

#include <cstdlib>

namespace tarnwick {

namespace {

// Beyond these scores the game is decided and its positions carry little to learn from.
constexpr int UNBALANCED_START = 300;
constexpr int WIN_SCORE = 1000;
constexpr int WIN_PLIES = 4;
constexpr int DRAW_SCORE = 10;
constexpr int DRAW_PLIES = 8;
constexpr int DRAW_FROM_PLY = 160;
constexpr int MAX_GAME_PLIES = 400;
constexpr int RECORD_LIMIT = 2000;
// Small enough to clear in a moment between games, ample for a few thousand nodes a move.
constexpr size_t HASH_KB = 16 * 1024;

class SilentObserver : public SearchObserver {
public:
    void onNodes(uint64_t) override {}
    void onDepth(int, int) override {}
    void onCurrentMove(Move, int, int) override {}
    void onLine(const std::vector<Move>&, int) override {}
};

// Promotions and en passant captures are never quiet; castling moves the king to an empty
// square.
bool isQuietMove(const Position& pos, Move m) {
    MoveKind kind = moveKind(m);
    return (kind == NORMAL || kind == CASTLING) && pos.pieceOn(moveTo(m)) == NO_PIECE;
}

} // namespace

bool insufficientMaterial(const Position& pos) {
    if (pos.pieces(PAWN) | pos.pieces(ROOK) | pos.pieces(QUEEN)) return false;
    Bitboard minors = pos.pieces(KNIGHT) | pos.pieces(BISHOP);
    return (minors & (minors - 1)) == 0;
}

bool repeatsEarlierPosition(const std::vector<Key>& keys, int halfmoveClock) {
    int last = int(keys.size()) - 1;
    int reach = std::min(halfmoveClock, last);
    for (int back = 4; back <= reach; back += 2)
        if (keys[last - back] == keys[last]) return true;
    return false;
}

std::string trainingLine(const RecordedPosition& position, GameResult result) {
    const char* outcome = result == GameResult::WHITE_WINS   ? "1.0"
                          : result == GameResult::BLACK_WINS ? "0.0"
                                                             : "0.5";
    return position.fen + " | " + std::to_string(position.whiteScore) + " | " + outcome;
}

SelfPlay::SelfPlay(uint64_t nodesPerMove, int randomPlies, uint64_t seed)
    : nodesPerMove_(nodesPerMove), randomPlies_(randomPlies), random_(seed) {
    table_.resize(HASH_KB);
    search_ = std::make_unique<Search>(table_);
}

SelfPlayGame SelfPlay::play(const Position& start) {
    // Nothing learnt in one game may steer the next.
    table_.clear();
    search_->clear();
    SelfPlayGame game;
    Position pos = start;
    pos.clearHistory();
    std::vector<Key> keys{pos.key()};
    for (; game.plies < randomPlies_; ++game.plies) {
        MoveList legal;
        generateLegalMoves(pos, legal);
        if (legal.size == 0) return game;
        UndoInfo undo;
        pos.makeMove(legal.moves[random_() % legal.size], undo);
        keys.push_back(pos.key());
    }

    SilentObserver observer;
    int winRun = 0, winSign = 0, drawRun = 0;
    game.result = GameResult::DRAW;
    for (;; ++game.plies) {
        MoveList legal;
        generateLegalMoves(pos, legal);
        const bool whiteToMove = pos.sideToMove() == WHITE;
        if (legal.size == 0) {
            game.result = !pos.inCheck() ? GameResult::DRAW
                          : whiteToMove  ? GameResult::BLACK_WINS
                                         : GameResult::WHITE_WINS;
            break;
        }
        if (pos.halfmoveClock() >= 100 || repeatsEarlierPosition(keys, pos.halfmoveClock()) ||
            insufficientMaterial(pos) || game.plies >= MAX_GAME_PLIES)
            break;

        SearchLimits limits;
        limits.maxNodes = nodesPerMove_;
        SearchResult found = search_->run(pos, limits, observer, stop_);
        const int whiteScore = whiteToMove ? found.score : -found.score;
        // Random plies can throw the game away at once; such openings teach nothing.
        if (randomPlies_ > 0 && game.plies == randomPlies_ &&
            std::abs(whiteScore) > UNBALANCED_START) {
            game.result = GameResult::DISCARDED;
            game.positions.clear();
            return game;
        }
        if (!pos.inCheck() && isQuietMove(pos, found.bestMove) &&
            std::abs(whiteScore) < RECORD_LIMIT)
            game.positions.push_back({pos.fen(), whiteScore});

        const int sign = whiteScore >= WIN_SCORE ? 1 : whiteScore <= -WIN_SCORE ? -1 : 0;
        winRun = sign == 0 ? 0 : sign == winSign ? winRun + 1 : 1;
        winSign = sign;
        if (winRun >= WIN_PLIES) {
            game.result = sign > 0 ? GameResult::WHITE_WINS : GameResult::BLACK_WINS;
            break;
        }
        drawRun = std::abs(whiteScore) <= DRAW_SCORE ? drawRun + 1 : 0;
        if (game.plies >= DRAW_FROM_PLY && drawRun >= DRAW_PLIES) break;

        UndoInfo undo;
        pos.makeMove(found.bestMove, undo);
        keys.push_back(pos.key());
    }
    return game;
}

} // namespace tarnwick
