// Sliding attacks by magic multiplication. The magic numbers below were found once by a
// random search: sparse candidates (the AND of three xorshift64* draws, seed
// 0x2545F4914F6CDD1D, rooks a1..h8 then bishops) kept when every blocker subset of the square
// maps to a slot holding its own attack set. Searching for them at every start-up cost
// seconds in sanitizer builds; debug builds still check each one as its table is filled.
#include "bitboard.h"

#include <cassert>
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

constexpr Bitboard ROOK_MAGICS[64] = {
    0x008000908064c000ULL, 0x0040200040001000ULL, 0x0180100080a0010aULL, 0x8880041000800800ULL,
    0x1200100201200804ULL, 0x0200020004011008ULL, 0x2180010000800600ULL, 0x0200005088210204ULL,
    0x0400800040008021ULL, 0x0400400020005000ULL, 0x8240801000200080ULL, 0x8611001004200900ULL,
    0x008180800c001800ULL, 0x0100800200800400ULL, 0x0a02000102000408ULL, 0x8020802300104280ULL,
    0x0080004000402000ULL, 0xe010104000402000ULL, 0x0800808010002000ULL, 0xa280210008100100ULL,
    0x0001818014000800ULL, 0xa002010100080400ULL, 0x0080240001020870ULL, 0x0001020004048845ULL,
    0x0081826280004004ULL, 0x2020810900284000ULL, 0x0200100080802000ULL, 0x0200080080100080ULL,
    0x8083080100100500ULL, 0x4406000901000400ULL, 0x0005020080800100ULL, 0x0090204200008114ULL,
    0x0010400094800420ULL, 0x0900804000802002ULL, 0x0201001841002000ULL, 0x4100080080801000ULL,
    0x4540040080800800ULL, 0x0002001004040020ULL, 0x0281195814001002ULL, 0x1240800040800100ULL,
    0x0880042000524004ULL, 0x02c080410206002cULL, 0x0801200241050010ULL, 0x8400080010008080ULL,
    0x0008000500090010ULL, 0x0082009084020008ULL, 0x4012000108020004ULL, 0x9000104d08860004ULL,
    0x2004204114800100ULL, 0x0148802112400300ULL, 0x0202842000100880ULL, 0x001b080080900080ULL,
    0x001a002008100600ULL, 0x0004008004020080ULL, 0x5181000600040300ULL, 0x0000044401128a00ULL,
    0x8044110480002441ULL, 0x2008110084402202ULL, 0x90806005090010c1ULL, 0x000420310a004a42ULL,
    0x0023001004020801ULL, 0x0882001008040102ULL, 0x000230088118020cULL, 0x0000019025040042ULL,
};

constexpr Bitboard BISHOP_MAGICS[64] = {
    0x0045010808008680ULL, 0x2002080204004898ULL, 0x0210009a10400006ULL, 0x0824050200810200ULL,
    0x0006061105004090ULL, 0x00010108c0000000ULL, 0x0814040282104004ULL, 0x0012012201106800ULL,
    0x10823014100c1040ULL, 0x0080c2088802808cULL, 0x0281108410404000ULL, 0x0101212041826200ULL,
    0x0020141028221058ULL, 0x2201020202200202ULL, 0x000082a801482000ULL, 0x0000008401411044ULL,
    0x0007103014300404ULL, 0x0002091110010100ULL, 0x42140012040c0808ULL, 0x0800808802004020ULL,
    0x90c4004210140000ULL, 0x0800200900a01000ULL, 0x00d0400201108810ULL, 0x80820183814412a0ULL,
    0x00a01008202202b4ULL, 0x01c2021a09500402ULL, 0x0084440208042400ULL, 0x800400400c090100ULL,
    0xba10040010802100ULL, 0xd182009006005000ULL, 0x5011021001009004ULL, 0x0020420200510400ULL,
    0x0292104000468800ULL, 0x00043009091c0500ULL, 0x0280441000020025ULL, 0x0042820080080080ULL,
    0x0440101010010040ULL, 0x1000900100808080ULL, 0x0108108120089800ULL, 0x0044010200012682ULL,
    0xc002500420900400ULL, 0x0040482210710800ULL, 0x0002060024000200ULL, 0x0281020a44000800ULL,
    0xa0021200a4000200ULL, 0x0001301000840840ULL, 0x2868500108444220ULL, 0x0004111041000200ULL,
    0x8044020842080200ULL, 0x0000220104210200ULL, 0x0000021201044000ULL, 0x0000280884040028ULL,
    0x4012114010858003ULL, 0x0000081004082b88ULL, 0x3892700508208002ULL, 0x00220a041b060400ULL,
    0x0812020284014881ULL, 0x010434a282103100ULL, 0x0490400824020800ULL, 0x4a20002c00208800ULL,
    0x000000a011020200ULL, 0x4002940a02482202ULL, 0x5100100202140406ULL, 0x02102000840540c1ULL,
};

void fillTables(Magic* magics, const Bitboard* numbers, const int (*steps)[2], Bitboard* table) {
    for (int sq = 0; sq < 64; ++sq) {
        Magic& m = magics[sq];
        m.mask = relevantMask(sq, steps);
        m.magic = numbers[sq];
        m.shift = 64 - popCount(m.mask);
        m.attacks = table;
        int size = 0;
        Bitboard subset = 0;
        do { // every subset of the mask (carry-rippler)
            const Bitboard reference = slowSlide(sq, subset, steps);
            Bitboard& slot = m.attacks[m.index(subset)];
            // A slider always attacks something, so an empty slot is an unused one.
            assert(slot == 0 || slot == reference);
            slot = reference;
            ++size;
            subset = (subset - m.mask) & m.mask;
        } while (subset);
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
    fillTables(rookMagics, ROOK_MAGICS, ROOK_STEPS, slidingTable.data());
    fillTables(bishopMagics, BISHOP_MAGICS, BISHOP_STEPS, slidingTable.data() + 64 * 4096);
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
