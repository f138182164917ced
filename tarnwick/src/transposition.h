// The transposition table: buckets of four entries, one cache line each.
#pragma once

#include "types.h"

#include <cstddef>
#include <memory>

namespace tarnwick {

enum Bound : uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

struct TTEntry {
    Key key;
    Move move;
    int16_t score;
    int16_t eval;
    int8_t depth;
    uint8_t generationBound; // generation in the upper six bits, bound in the lower two
    Bound bound() const { return Bound(generationBound & 3); }
};
static_assert(sizeof(TTEntry) == 16, "four entries must fill one cache line");

class TranspositionTable {
public:
    // Sizes the table to at most kilobytes KB (at least one bucket). Returns the size in KB
    // actually taken: less when memory could not be had.
    size_t resize(size_t kilobytes);
    void clear();
    void newSearch() { generation_ = uint8_t(generation_ + 4); }

    // The entry for key if stored, else nullptr.
    const TTEntry* probe(Key key) const;
    // Starts loading the bucket of key into the cache, for a probe soon after.
    void prefetch(Key key) const {
        if (bucketCount_) __builtin_prefetch(bucketFor(key));
    }
    void store(Key key, Move move, int score, int eval, int depth, Bound bound);
    // Permille of a sample of entries used by this search.
    int hashfull() const;

private:
    struct Bucket {
        TTEntry entries[4];
    };
    Bucket* bucketFor(Key key) const {
        return &buckets_[size_t((unsigned __int128)key * bucketCount_ >> 64)];
    }
    std::unique_ptr<Bucket[]> buckets_;
    size_t bucketCount_ = 0;
    uint8_t generation_ = 0;
};

// Mate scores are stored relative to the node, not the root.
inline int scoreToTable(int score, int ply) {
    return score >= MATE_BOUND ? score + ply : score <= -MATE_BOUND ? score - ply : score;
}
inline int scoreFromTable(int score, int ply) {
    return score >= MATE_BOUND ? score - ply : score <= -MATE_BOUND ? score + ply : score;
}

} // namespace tarnwick
