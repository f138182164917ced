// Self-play games at a fixed node count per move, recording the quiet positions of each game
// with the search's score, for fitting the evaluation to the scores and the games' results.
#pragma once

#include "search.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace tarnwick {

enum class GameResult { BLACK_WINS = 0, DRAW = 1, WHITE_WINS = 2, DISCARDED = 3 };

struct RecordedPosition {
    std::string fen; // never in check, never before the random plies
    int whiteScore;  // the search's score from White's side, centipawns
};

struct SelfPlayGame {
    GameResult result = GameResult::DISCARDED;
    int plies = 0;
    std::vector<RecordedPosition> positions;
};

// Only bare kings, or one minor piece beside them: no one can mate.
bool insufficientMaterial(const Position& pos);
// Whether the last of keys (one per position of the game, oldest first) occurred before
// with the same side to move since the last irreversible move.
bool repeatsEarlierPosition(const std::vector<Key>& keys, int halfmoveClock);
// "<FEN> | <score> | <result>", both from White's side: the score in centipawns, the result
// 1.0, 0.5 or 0.0. The result comes last so that readers of the older "<FEN> | <result>"
// lines read both.
std::string trainingLine(const RecordedPosition& position, GameResult result);

class SelfPlay {
public:
    SelfPlay(uint64_t nodesPerMove, int randomPlies, uint64_t seed);

    // Plays one game from start: randomPlies uniformly random plies, then the engine against
    // itself. DISCARDED when the random plies end the game or leave it unbalanced (more than
    // three pawns to either side); without random plies any start is played out.
    SelfPlayGame play(const Position& start);
    // The evaluation the games are played with: the network, or the hand-made one when null.
    // The network must outlive the games.
    void setNetwork(const nnue::Network* network) { search_->setNetwork(network); }

private:
    uint64_t nodesPerMove_;
    int randomPlies_;
    std::mt19937_64 random_;
    TranspositionTable table_;
    std::unique_ptr<Search> search_;
    std::atomic<bool> stop_{false};
};

} // namespace tarnwick
