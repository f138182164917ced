#include "transposition.h"

#include <cstring>
#include <new>

namespace tarnwick {

size_t TranspositionTable::resize(size_t kilobytes) {
    size_t count = kilobytes * 1024 / sizeof(Bucket);
    if (count < 1) count = 1;
    buckets_.reset();
    bucketCount_ = 0;
    // The program asks for what the machine can spare; if that fails anyway, take less.
    while (!buckets_) {
        buckets_.reset(new (std::nothrow) Bucket[count]);
        if (!buckets_) {
            if (count == 1) return 0;
            count /= 2;
        }
    }
    bucketCount_ = count;
    clear();
    return count * sizeof(Bucket) / 1024;
}

void TranspositionTable::clear() {
    if (buckets_) std::memset(static_cast<void*>(buckets_.get()), 0, bucketCount_ * sizeof(Bucket));
    generation_ = 0;
}

const TTEntry* TranspositionTable::probe(Key key) const {
    if (!bucketCount_) return nullptr;
    Bucket* bucket = bucketFor(key);
    for (TTEntry& e : bucket->entries)
        if (e.key == key && e.bound() != BOUND_NONE) return &e;
    return nullptr;
}

void TranspositionTable::store(Key key, Move move, int score, int eval, int depth, Bound bound) {
    if (!bucketCount_) return;
    Bucket* bucket = bucketFor(key);
    TTEntry* target = &bucket->entries[0];
    for (TTEntry& e : bucket->entries) {
        if (e.key == key || e.bound() == BOUND_NONE) {
            target = &e;
            break;
        }
        // Replace the shallowest entry, counting older searches' entries as shallower.
        auto worth = [this](const TTEntry& x) {
            return x.depth - ((uint8_t(generation_ - (x.generationBound & 0xFC)) >> 2) * 4);
        };
        if (worth(e) < worth(*target)) target = &e;
    }
    // Keep the old move when the new result has none for the same position.
    if (move == NO_MOVE && target->key == key) move = target->move;
    // A shallower non-exact result must not overwrite a deeper one of this search.
    if (target->key == key && bound != BOUND_EXACT && depth + 3 < target->depth &&
        (target->generationBound & 0xFC) == generation_)
        return;
    target->key = key;
    target->move = move;
    target->score = int16_t(score);
    target->eval = int16_t(eval);
    target->depth = int8_t(depth < -100 ? -100 : depth > 120 ? 120 : depth);
    target->generationBound = uint8_t(generation_ | bound);
}

int TranspositionTable::hashfull() const {
    size_t sample = bucketCount_ < 250 ? bucketCount_ : 250;
    int used = 0;
    for (size_t i = 0; i < sample; ++i)
        for (const TTEntry& e : buckets_[i].entries)
            used += e.bound() != BOUND_NONE && (e.generationBound & 0xFC) == generation_;
    return sample ? int(used * 1000 / (sample * 4)) : 0;
}

} // namespace tarnwick
