// The evaluation keeps two scores, one for the middle game and one for the end game, and
// blends them by the material left on the board. Piece-square values are built from a few
// shapes (centralisation, advancement, shelter) rather than typed-in tables, so each one
// can be read as the idea it stands for.
#include "evaluate.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace tarnwick {

namespace {

struct Score {
    int mg = 0, eg = 0;
    constexpr Score() = default;
    constexpr Score(int m, int e) : mg(m), eg(e) {}
    Score& operator+=(Score o) {
        mg += o.mg;
        eg += o.eg;
        return *this;
    }
    Score& operator-=(Score o) {
        mg -= o.mg;
        eg -= o.eg;
        return *this;
    }
    friend Score operator*(Score s, int k) { return {s.mg * k, s.eg * k}; }
    friend Score operator+(Score a, Score b) { return {a.mg + b.mg, a.eg + b.eg}; }
    friend Score operator-(Score a, Score b) { return {a.mg - b.mg, a.eg - b.eg}; }
};

constexpr Score MATERIAL[6] = {{85, 110}, {330, 300}, {340, 320}, {470, 530}, {980, 980}, {0, 0}};
constexpr int PHASE_WEIGHT[6] = {0, 1, 1, 2, 4, 0};
constexpr int FULL_PHASE = 24;

// Mobility: per square a piece reaches that no enemy pawn guards, around a typical count.
constexpr Score MOBILITY_STEP[6] = {{0, 0}, {4, 4}, {5, 5}, {2, 4}, {1, 2}, {0, 0}};
constexpr int MOBILITY_CENTRE[6] = {0, 4, 6, 6, 12, 0};

constexpr Score BISHOP_PAIR = {30, 50};
constexpr Score ROOK_OPEN_FILE = {25, 10};
constexpr Score ROOK_HALF_OPEN_FILE = {12, 6};
constexpr Score ROOK_SEVENTH = {10, 20};
constexpr Score DOUBLED_PAWN = {-10, -20};
constexpr Score ISOLATED_PAWN = {-12, -14};
constexpr Score BACKWARD_PAWN = {-6, -8};
constexpr Score CONNECTED_PAWN = {6, 6};
// Passed pawns by relative rank.
constexpr Score PASSED_PAWN[8] = {{0, 0},   {5, 10},  {5, 15},   {12, 25},
                                  {25, 45}, {45, 80}, {80, 130}, {0, 0}};
constexpr int PASSED_FREE_PATH = 15; // end game, per relative rank beyond the third
constexpr int KING_PROXIMITY = 5;    // end game, per square of distance difference
constexpr Score KNIGHT_OUTPOST = {15, 8};
constexpr int TEMPO = 10;

// King safety: weighted attackers of the squares around the king, turned into a penalty
// that grows faster than linearly.
constexpr int ATTACK_WEIGHT[6] = {0, 2, 2, 3, 5, 0};
constexpr int SHELTER_PAWN = 12; // per pawn in front of a castled king
constexpr int OPEN_FILE_NEAR_KING = 15;

Score pieceSquare[12][64];
Bitboard passedSpan[2][64]; // squares in front on the same and adjacent files
Bitboard adjacentFiles[8];
Bitboard forwardFile[2][64];
Bitboard kingZone[64];

int centreDistance(int sq) {
    int f = fileOf(sq), r = rankOf(sq);
    int df = f < 4 ? 3 - f : f - 4;
    int dr = r < 4 ? 3 - r : r - 4;
    return df + dr; // 0 in the centre, 6 in a corner
}

int distance(int a, int b) {
    return std::max(std::abs(fileOf(a) - fileOf(b)), std::abs(rankOf(a) - rankOf(b)));
}

Score shapeFor(PieceType type, int sq) { // sq from White's side
    int file = fileOf(sq), rank = rankOf(sq);
    int centre = centreDistance(sq);
    int fileCentre = file < 4 ? 3 - file : file - 4; // 0..3
    switch (type) {
    case PAWN: {
        int mg = (rank - 1) * 3 + (fileCentre <= 1 ? (rank >= 3 && rank <= 4 ? 12 : 4) : 0);
        if (fileCentre <= 1 && rank == 1) mg -= 6; // central pawns belong forward
        int eg = (rank - 1) * 6;
        return {mg, eg};
    }
    case KNIGHT:
        return {-6 * centre + (rank == 0 ? -10 : 0), -6 * centre};
    case BISHOP:
        return {-3 * centre + (rank == 0 ? -8 : 0), -3 * centre};
    case ROOK:
        return {fileCentre <= 1 ? 4 : 0, 0};
    case QUEEN:
        return {-2 * centre + (rank == 0 ? 0 : -2), -4 * centre};
    case KING: {
        int mg = rank == 0 ? (fileCentre >= 2 ? 20 : (fileCentre == 0 ? -5 : 0)) : -15 * rank;
        int eg = -10 * centre;
        return {std::max(mg, -60), eg};
    }
    default:
        return {};
    }
}

void initTables() {
    for (int t = PAWN; t <= KING; ++t) {
        for (int sq = 0; sq < 64; ++sq) {
            Score s = shapeFor(PieceType(t), sq) + MATERIAL[t];
            pieceSquare[makePiece(WHITE, PieceType(t))][sq] = s;
            pieceSquare[makePiece(BLACK, PieceType(t))][sq ^ 56] = s;
        }
    }
    for (int f = 0; f < 8; ++f)
        adjacentFiles[f] = (f > 0 ? fileMask(f - 1) : 0) | (f < 7 ? fileMask(f + 1) : 0);
    for (int sq = 0; sq < 64; ++sq) {
        Bitboard ahead[2] = {0, 0};
        for (int r = rankOf(sq) + 1; r < 8; ++r)
            ahead[WHITE] |= rankMask(r);
        for (int r = rankOf(sq) - 1; r >= 0; --r)
            ahead[BLACK] |= rankMask(r);
        for (int c = 0; c < 2; ++c) {
            forwardFile[c][sq] = ahead[c] & fileMask(fileOf(sq));
            passedSpan[c][sq] = ahead[c] & (fileMask(fileOf(sq)) | adjacentFiles[fileOf(sq)]);
        }
        kingZone[sq] = kingAttacks(sq) | bit(sq);
    }
}

struct EvalState {
    Bitboard attackedBy[2][7] = {}; // [colour][type], index 6 = all
    int kingAttackWeight[2] = {0, 0};
    int kingAttackers[2] = {0, 0};
};

Score evaluatePawns(const Position& pos, Color us) {
    Score s;
    const Color them = ~us;
    const Bitboard ours = pos.pieces(us, PAWN);
    const Bitboard theirs = pos.pieces(them, PAWN);
    Bitboard pawns = ours;
    while (pawns) {
        int sq = popLowest(pawns);
        int file = fileOf(sq);
        int relRank = rankOf(relative(us, sq));
        if (forwardFile[us][sq] & ours) s += DOUBLED_PAWN;
        if (!(adjacentFiles[file] & ours)) {
            s += ISOLATED_PAWN;
        } else if (pawnAttacks(them, sq) & ours) {
            s += CONNECTED_PAWN;
        } else if (!(passedSpan[them][sq] & adjacentFiles[file] & ours) &&
                   (pawnAttacks(us, sq + (us == WHITE ? 8 : -8)) & theirs)) {
            s += BACKWARD_PAWN; // no friend can come alongside and its stop square is guarded
        }
        if (!(passedSpan[us][sq] & theirs) && !(forwardFile[us][sq] & ours)) {
            Score bonus = PASSED_PAWN[relRank];
            int stop = sq + (us == WHITE ? 8 : -8);
            if (relRank >= 3) {
                if (!(forwardFile[us][sq] & pos.pieces()))
                    bonus.eg += PASSED_FREE_PATH * (relRank - 2);
                bonus.eg +=
                    KING_PROXIMITY * (relRank - 2) *
                    (distance(stop, pos.kingSquare(them)) - distance(stop, pos.kingSquare(us))) / 2;
            }
            s += bonus;
        }
    }
    return s;
}

Score evaluatePieces(const Position& pos, Color us, EvalState& st) {
    Score s;
    const Color them = ~us;
    const Bitboard occupied = pos.pieces();
    const Bitboard ourPawns = pos.pieces(us, PAWN);
    const Bitboard theirPawns = pos.pieces(them, PAWN);
    Bitboard theirPawnAttacks = st.attackedBy[them][PAWN];
    Bitboard safe = ~pos.pieces(us) & ~theirPawnAttacks;
    const Bitboard enemyZone = kingZone[pos.kingSquare(them)];
    for (PieceType type : {KNIGHT, BISHOP, ROOK, QUEEN}) {
        Bitboard pieces = pos.pieces(us, type);
        while (pieces) {
            int sq = popLowest(pieces);
            Bitboard attacks;
            switch (type) {
            case KNIGHT:
                attacks = knightAttacks(sq);
                break;
            // Sliders see through their own queen and rooks for mobility's sake.
            case BISHOP:
                attacks = bishopAttacks(sq, occupied ^ pos.pieces(us, QUEEN));
                break;
            case ROOK:
                attacks = rookAttacks(sq, occupied ^ pos.pieces(us, QUEEN) ^ pos.pieces(us, ROOK));
                break;
            default:
                attacks = queenAttacks(sq, occupied);
                break;
            }
            st.attackedBy[us][type] |= attacks;
            st.attackedBy[us][6] |= attacks;
            int mobility = popCount(attacks & safe);
            s += MOBILITY_STEP[type] * (mobility - MOBILITY_CENTRE[type]);
            if (Bitboard hits = attacks & enemyZone) {
                st.kingAttackers[us]++;
                st.kingAttackWeight[us] += ATTACK_WEIGHT[type] * (1 + popCount(hits) / 2);
            }
            if (type == ROOK) {
                Bitboard file = fileMask(fileOf(sq));
                if (!(file & ourPawns))
                    s += (file & theirPawns) ? ROOK_HALF_OPEN_FILE : ROOK_OPEN_FILE;
                if (rankOf(relative(us, sq)) == 6 &&
                    rankOf(relative(us, pos.kingSquare(them))) >= 6)
                    s += ROOK_SEVENTH;
            } else if (type == KNIGHT) {
                int relRank = rankOf(relative(us, sq));
                if (relRank >= 3 && relRank <= 5 && (st.attackedBy[us][PAWN] & bit(sq)) &&
                    !(passedSpan[us][sq] & adjacentFiles[fileOf(sq)] & theirPawns))
                    s += KNIGHT_OUTPOST;
            }
        }
    }
    if (popCount(pos.pieces(us, BISHOP)) >= 2) s += BISHOP_PAIR;
    return s;
}

int kingSafety(const Position& pos, Color us, const EvalState& st) {
    const Color them = ~us;
    int king = pos.kingSquare(us);
    int penalty = 0;
    // Shelter: pawns on the three files around the king, one or two ranks in front.
    int kingFile = fileOf(king);
    Bitboard files = fileMask(kingFile) | adjacentFiles[kingFile];
    Bitboard front = 0;
    int relKingRank = rankOf(relative(us, king));
    if (relKingRank <= 1) {
        for (int r = relKingRank + 1; r <= relKingRank + 2 && r < 8; ++r)
            front |= rankMask(us == WHITE ? r : 7 - r);
        int shelter = popCount(pos.pieces(us, PAWN) & files & front);
        penalty += SHELTER_PAWN * (3 - std::min(shelter, 3));
        for (int f = std::max(kingFile - 1, 0); f <= std::min(kingFile + 1, 7); ++f)
            if (!(fileMask(f) & pos.pieces(us, PAWN))) penalty += OPEN_FILE_NEAR_KING;
    }
    // Attackers: only worth counting when there are at least two and the queen can join.
    if (st.kingAttackers[them] >= 2 && pos.pieces(them, QUEEN)) {
        int w = st.kingAttackWeight[them];
        penalty += w * w / 2;
    }
    return std::min(penalty, 500);
}

bool insufficientMaterial(const Position& pos) {
    if (pos.pieces(PAWN) | pos.pieces(ROOK) | pos.pieces(QUEEN)) return false;
    Bitboard minors = pos.pieces(KNIGHT) | pos.pieces(BISHOP);
    return popCount(minors) <= 1;
}

} // namespace

int evaluate(const Position& pos) {
    static std::once_flag once;
    std::call_once(once, initTables);
    if (insufficientMaterial(pos)) return 0;

    Score s;
    int phase = 0;
    Bitboard occupied = pos.pieces();
    while (occupied) {
        int sq = popLowest(occupied);
        Piece p = pos.pieceOn(sq);
        phase += PHASE_WEIGHT[typeOf(p)];
        if (colorOf(p) == WHITE)
            s += pieceSquare[p][sq];
        else
            s -= pieceSquare[p][sq];
    }
    phase = std::min(phase, FULL_PHASE);

    EvalState st;
    for (Color c : {WHITE, BLACK}) {
        Bitboard pawns = pos.pieces(c, PAWN);
        st.attackedBy[c][PAWN] = c == WHITE ? shiftNorth(shiftEast(pawns) | shiftWest(pawns))
                                            : shiftSouth(shiftEast(pawns) | shiftWest(pawns));
        st.attackedBy[c][6] = st.attackedBy[c][PAWN] | kingAttacks(pos.kingSquare(c));
    }
    s += evaluatePawns(pos, WHITE) - evaluatePawns(pos, BLACK);
    s += evaluatePieces(pos, WHITE, st) - evaluatePieces(pos, BLACK, st);
    int safety = kingSafety(pos, WHITE, st) - kingSafety(pos, BLACK, st);
    s.mg -= safety;

    int score = (s.mg * phase + s.eg * (FULL_PHASE - phase)) / FULL_PHASE;

    // Without pawns, a side up by less than a rook can rarely win.
    Color strong = score > 0 ? WHITE : BLACK;
    if (!pos.pieces(strong, PAWN)) {
        int strongMaterial = 0, weakMaterial = 0;
        for (PieceType t : {KNIGHT, BISHOP, ROOK, QUEEN}) {
            strongMaterial += popCount(pos.pieces(strong, t)) * PIECE_VALUE[t];
            weakMaterial += popCount(pos.pieces(~strong, t)) * PIECE_VALUE[t];
        }
        if (strongMaterial - weakMaterial < PIECE_VALUE[ROOK]) score /= 4;
    }
    return (pos.sideToMove() == WHITE ? score : -score) + TEMPO;
}

} // namespace tarnwick
