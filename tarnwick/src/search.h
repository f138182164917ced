// Iterative deepening principal-variation search with a quiescence search at the leaves.
#pragma once

#include "accumulator_stack.h"
#include "position.h"
#include "transposition.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace tarnwick {

struct SearchLimits {
    int maxDepth = MAX_PLY - 1;
    // Milliseconds from the start: past softMs no new iteration begins, at hardMs the
    // search stops wherever it is. Negative means no limit.
    int64_t softMs = -1;
    int64_t hardMs = -1;
    uint64_t maxNodes = 0; // 0 = no limit
};

// What the search tells the outside world while it runs.
class SearchObserver {
public:
    virtual ~SearchObserver() = default;
    virtual void onNodes(uint64_t nodes) = 0;
    virtual void onDepth(int depth, int selectiveDepth) = 0;
    virtual void onCurrentMove(Move move, int index, int count) = 0;
    virtual void onLine(const std::vector<Move>& line, int score) = 0;
};

struct SearchResult {
    Move bestMove = NO_MOVE;
    int score = 0;
    int depth = 0;
    uint64_t nodes = 0;
};

class Search {
public:
    explicit Search(TranspositionTable& table);

    // Searches pos (left unchanged) until a limit is reached or stop becomes true. Always
    // reports at least one line when there is a legal move.
    SearchResult run(Position& pos, const SearchLimits& limits, SearchObserver& observer,
                     const std::atomic<bool>& stop);
    // Forgets the move-ordering statistics of earlier searches.
    void clear();
    // The learned evaluation to use from the next search on; null for the hand-made one. The
    // network must outlive its use here.
    void setNetwork(const nnue::Network* network) { network_ = network; }
    const nnue::Network* network() const { return network_; }

private:
    struct RootMove {
        Move move;
        int score;
        uint64_t nodes;
    };

    int searchRoot(int alpha, int beta, int depth);
    int search(int alpha, int beta, int depth, int ply, bool cutNode);
    int quiesce(int alpha, int beta, int ply);
    // Makes a pseudo-legal move at ply and records it for the child; a move that leaves the
    // king attacked is taken back and false returned.
    bool makeLegalMove(Move m, UndoInfo& undo, int ply);
    // The static evaluation of the position at ply, by the network when there is one.
    int evaluateAt(int ply);
    bool timeUp();
    void reportLine(int score);
    void updateQuietStats(Move best, const Move* quiets, int quietCount, int depth, int ply);
    // Success of a quiet move by how well it has done before, alone and as the answer to the
    // moves one and two plies back.
    int quietScore(Move m, int ply) const;
    // The statistics of a move by its piece and target after the piece and target of an
    // earlier move; null without that move.
    int* continuation(int ply, int pliesBack) const;
    int64_t elapsedMs() const;
    void extendPv(int ply, Move m);

    TranspositionTable& table_;
    const nnue::Network* network_ = nullptr;
    nnue::AccumulatorStack accumulators_;
    Position* pos_ = nullptr;
    SearchObserver* observer_ = nullptr;
    const std::atomic<bool>* stopRequest_ = nullptr;
    SearchLimits limits_;
    std::chrono::steady_clock::time_point start_;
    bool stopped_ = false;
    uint64_t nodes_ = 0;
    int selectiveDepth_ = 0;
    int rootDepth_ = 0;
    std::vector<RootMove> rootMoves_;
    bool lineReported_ = false;
    std::vector<Move> lastLine_;
    int lastScore_ = 0;

    Move pv_[MAX_PLY + 1][MAX_PLY + 1];
    int pvLength_[MAX_PLY + 1];
    Move killers_[MAX_PLY + 2][2];
    Move lastMove_[MAX_PLY + 2];
    Piece movedPiece_[MAX_PLY + 2]; // the piece that made lastMove_
    std::vector<int> continuation_; // [piece][to] before [piece][to]
    int staticEval_[MAX_PLY + 2];
    Move excluded_[MAX_PLY + 2]; // the move a singularity search at that ply leaves out
    int history_[2][64][64];
    Move counterMove_[12][64];
    int reductions_[64][64];
};

} // namespace tarnwick
