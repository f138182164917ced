// Sliding attacks by magic multiplication. The magic numbers are found at start-up by a
// seeded random search, which takes a few milliseconds and leaves nothing to maintain.
#include "bitboard.h"

#include <mutex>
#include <vector>

namespace tarnwick {

AttackTables attackTables;

namespace {

struct Magic {
    Bitboard mask;
    Bitboard magic;
    Bitboard* attacks;
    int shift;
    unsigned index(Bitboard occupied) const {
        return unsigned(((occupied & mask) * magic) >> shift);
    }
};

Magic bishopMagics[64];
Magic rookMagics[64];
std::vector<Bitboard> slidingTable;

constexpr int ROOK_STEPS[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
constexpr int BISHOP_STEPS[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

Bitboard slowSlide(int sq, Bitboard occupied, const int (*steps)[2]) {
    Bitboard result = 0;
    for (int d = 0; d < 4; ++d) {
        int file = fileOf(sq) + steps[d][0];
        int rank = rankOf(sq) + steps[d][1];
        while (file >= 0 && file < 8 && rank >= 0 && rank < 8) {
            int target = makeSquare(file, rank);
            result |= bit(target);
            if (occupied & bit(target)) break;
            file += steps[d][0];
            rank += steps[d][1];
        }
    }
    return result;
}

// Edges do not matter for blocking unless the piece stands on them.
Bitboard relevantMask(int sq, const int (*steps)[2]) {
    Bitboard edges = ((rankMask(0) | rankMask(7)) & ~rankMask(rankOf(sq))) |
                     ((fileMask(0) | fileMask(7)) & ~fileMask(fileOf(sq)));
    return slowSlide(sq, 0, steps) & ~edges;
}

struct Random {
    uint64_t state = 0x2545F4914F6CDD1DULL;
    uint64_t next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1DULL;
    }
    uint64_t sparse() { return next() & next() & next(); }
};

void findMagics(Magic* magics, const int (*steps)[2], Bitboard* table, Random& random) {
    std::vector<Bitboard> occupancies(4096), references(4096);
    std::vector<int> epoch(4096, 0);
    int attempt = 0;
    for (int sq = 0; sq < 64; ++sq) {
        Magic& m = magics[sq];
        m.mask = relevantMask(sq, steps);
        int bits = popCount(m.mask);
        m.shift = 64 - bits;
        m.attacks = table;
        int size = 0;
        Bitboard subset = 0;
        do { // every subset of the mask (carry-rippler)
            occupancies[size] = subset;
            references[size] = slowSlide(sq, subset, steps);
            ++size;
            subset = (subset - m.mask) & m.mask;
        } while (subset);
        for (;;) {
            do
                m.magic = random.sparse();
            while (popCount((m.mask * m.magic) >> 56) < 6);
            ++attempt;
            int i = 0;
            for (; i < size; ++i) {
                unsigned idx = m.index(occupancies[i]);
                if (epoch[idx] < attempt) {
                    epoch[idx] = attempt;
                    m.attacks[idx] = references[i];
                } else if (m.attacks[idx] != references[i]) {
                    break;
                }
            }
            if (i == size) break;
        }
        table += size;
    }
}

void initTables() {
    for (int sq = 0; sq < 64; ++sq) {
        Bitboard b = bit(sq);
        attackTables.pawn[WHITE][sq] = shiftNorth(shiftEast(b) | shiftWest(b));
        attackTables.pawn[BLACK][sq] = shiftSouth(shiftEast(b) | shiftWest(b));
        Bitboard k = shiftEast(b) | shiftWest(b);
        k |= shiftNorth(k | b) | shiftSouth(k | b);
        attackTables.king[sq] = k;
        Bitboard n = 0;
        constexpr int JUMPS[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                                     {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
        for (const auto& j : JUMPS) {
            int f = fileOf(sq) + j[0], r = rankOf(sq) + j[1];
            if (f >= 0 && f < 8 && r >= 0 && r < 8) n |= bit(makeSquare(f, r));
        }
        attackTables.knight[sq] = n;
    }
    slidingTable.assign(64 * 4096 + 64 * 512, 0);
    Random random;
    findMagics(rookMagics, ROOK_STEPS, slidingTable.data(), random);
    findMagics(bishopMagics, BISHOP_STEPS, slidingTable.data() + 64 * 4096, random);
    for (int a = 0; a < 64; ++a) {
        for (int b = 0; b < 64; ++b) {
            attackTables.between[a][b] = 0;
            attackTables.line[a][b] = 0;
            if (a == b) continue;
            for (const auto* steps : {ROOK_STEPS, BISHOP_STEPS}) {
                if (slowSlide(a, 0, steps) & bit(b)) {
                    attackTables.between[a][b] =
                        slowSlide(a, bit(b), steps) & slowSlide(b, bit(a), steps);
                    attackTables.line[a][b] =
                        (slowSlide(a, 0, steps) & slowSlide(b, 0, steps)) | bit(a) | bit(b);
                }
            }
        }
    }
}

} // namespace

void initAttacks() {
    static std::once_flag once;
    std::call_once(once, initTables);
}

Bitboard bishopAttacks(int sq, Bitboard occupied) {
    const Magic& m = bishopMagics[sq];
    return m.attacks[m.index(occupied)];
}

Bitboard rookAttacks(int sq, Bitboard occupied) {
    const Magic& m = rookMagics[sq];
    return m.attacks[m.index(occupied)];
}

} // namespace tarnwick
