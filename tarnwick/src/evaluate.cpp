// The evaluation keeps two scores, one for the middle game and one for the end game, and
// blends them by the material left on the board. Every weight lives in one table
// (eval_weights.inc, written by tarnwick-tune); the same code either just adds the weights up
// or, for the tuner, also counts how often each one was used.
#include "evaluate.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace tarnwick {

namespace {

#include "eval_weights.inc"

constexpr int PHASE_WEIGHT[6] = {0, 1, 1, 2, 4, 0};
constexpr int FULL_PHASE = 24;

constexpr int MOBILITY_TERM[6] = {
    -1, term::KNIGHT_MOBILITY, term::BISHOP_MOBILITY, term::ROOK_MOBILITY, term::QUEEN_MOBILITY,
    -1};

// King safety: attackers of the squares around the king add up to units, and KING_DANGER
// holds the penalty for each count of units, so the curve can grow faster than linearly and
// still be fitted weight by weight.
constexpr int ATTACK_WEIGHT[6] = {0, 2, 2, 3, 5, 0};
constexpr int KING_DANGER_SIZE = term::KING_DANGER_LAST - term::KING_DANGER + 1;

Score pieceSquare[12][64];  // material plus placement, for the untraced path
Bitboard passedSpan[2][64]; // squares in front on the same and adjacent files
Bitboard adjacentFiles[8];
Bitboard forwardFile[2][64];
Bitboard kingZone[64];

Bitboard pawnPushes(Color c, Bitboard b) {
    return c == WHITE ? shiftNorth(b) : shiftSouth(b);
}

Bitboard pawnCaptures(Color c, Bitboard pawns) {
    return pawnPushes(c, shiftEast(pawns) | shiftWest(pawns));
}

constexpr Bitboard LIGHT_SQUARES = 0x55AA55AA55AA55AAULL;

bool lightSquare(int sq) {
    return LIGHT_SQUARES & bit(sq);
}

int distance(int a, int b) {
    return std::max(std::abs(fileOf(a) - fileOf(b)), std::abs(rankOf(a) - rankOf(b)));
}

void initTables() {
    for (int t = PAWN; t <= KING; ++t) {
        for (int sq = 0; sq < 64; ++sq) {
            Score s =
                EVAL_WEIGHTS[term::PIECE_SQUARE + t * 64 + sq] + EVAL_WEIGHTS[term::MATERIAL + t];
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

bool insufficientMaterial(const Position& pos) {
    if (pos.pieces(PAWN) | pos.pieces(ROOK) | pos.pieces(QUEEN)) return false;
    Bitboard minors = pos.pieces(KNIGHT) | pos.pieces(BISHOP);
    return popCount(minors) <= 1;
}

// One evaluation of one position. With Traced set, every weight added is also counted in
// the trace; without it the counting compiles away.
template <bool Traced> class Evaluation {
public:
    Evaluation(const Position& pos, EvalTrace* trace) : pos_(pos), trace_(trace) {}
    int value();

private:
    void add(Color us, int index, int count = 1) {
        score_[us] += EVAL_WEIGHTS[index] * count;
        if constexpr (Traced) trace_->coefficient[index] += us == WHITE ? count : -count;
    }

    void material();
    void pawns(Color us);
    void pieces(Color us);
    void kingSafety(Color us);
    void threats(Color us);

    const Position& pos_;
    EvalTrace* trace_;
    Score score_[2];
    int phase_ = 0;
    Bitboard attackedBy_[2][7] = {}; // [colour][type], index 6 = all
    int kingAttackWeight_[2] = {0, 0};
    int kingAttackers_[2] = {0, 0};
};

template <bool Traced> void Evaluation<Traced>::material() {
    Bitboard occupied = pos_.pieces();
    while (occupied) {
        int sq = popLowest(occupied);
        Piece p = pos_.pieceOn(sq);
        Color c = colorOf(p);
        PieceType type = typeOf(p);
        phase_ += PHASE_WEIGHT[type];
        score_[c] += pieceSquare[p][sq];
        if constexpr (Traced) {
            int sign = c == WHITE ? 1 : -1;
            trace_->coefficient[term::MATERIAL + type] += sign;
            trace_->coefficient[term::PIECE_SQUARE + type * 64 + relative(c, sq)] += sign;
        }
    }
    phase_ = std::min(phase_, FULL_PHASE);
}

template <bool Traced> void Evaluation<Traced>::pawns(Color us) {
    const Color them = ~us;
    const Bitboard ours = pos_.pieces(us, PAWN);
    const Bitboard theirs = pos_.pieces(them, PAWN);
    Bitboard pawns = ours;
    while (pawns) {
        int sq = popLowest(pawns);
        int file = fileOf(sq);
        int relRank = rankOf(relative(us, sq));
        if (forwardFile[us][sq] & ours) add(us, term::DOUBLED_PAWN);
        if (!(adjacentFiles[file] & ours)) {
            add(us, term::ISOLATED_PAWN);
        } else if ((pawnAttacks(them, sq) | (kingAttacks(sq) & rankMask(rankOf(sq)))) & ours) {
            add(us, term::CONNECTED_PAWN + relRank);
        } else if (!(passedSpan[them][sq] & adjacentFiles[file] & ours) &&
                   (pawnAttacks(us, sq + (us == WHITE ? 8 : -8)) & theirs)) {
            add(us,
                term::BACKWARD_PAWN); // no friend can come alongside and its stop square is guarded
        }
        if (!(passedSpan[us][sq] & theirs) && !(forwardFile[us][sq] & ours)) {
            add(us, term::PASSED_PAWN + relRank);
            int stop = sq + (us == WHITE ? 8 : -8);
            if (!(forwardFile[us][sq] & pos_.pieces())) add(us, term::PASSED_FREE_PATH + relRank);
            if (pawnAttacks(them, sq) & ours) add(us, term::PASSED_SUPPORTED + relRank);
            if (pos_.pieces(them) & bit(stop)) add(us, term::PASSED_BLOCKED + relRank);
            add(us, term::PASSED_OWN_KING_DISTANCE + relRank, distance(stop, pos_.kingSquare(us)));
            add(us, term::PASSED_ENEMY_KING_DISTANCE + relRank,
                distance(stop, pos_.kingSquare(them)));
        }
    }
}

template <bool Traced> void Evaluation<Traced>::pieces(Color us) {
    const Color them = ~us;
    const Bitboard occupied = pos_.pieces();
    const Bitboard ourPawns = pos_.pieces(us, PAWN);
    const Bitboard theirPawns = pos_.pieces(them, PAWN);
    const Bitboard safe = ~pos_.pieces(us) & ~attackedBy_[them][PAWN];
    const Bitboard enemyZone = kingZone[pos_.kingSquare(them)];
    for (PieceType type : {KNIGHT, BISHOP, ROOK, QUEEN}) {
        Bitboard pieces = pos_.pieces(us, type);
        while (pieces) {
            int sq = popLowest(pieces);
            Bitboard attacks;
            switch (type) {
            case KNIGHT:
                attacks = knightAttacks(sq);
                break;
            // Sliders see through their own queen and rooks for mobility's sake.
            case BISHOP:
                attacks = bishopAttacks(sq, occupied ^ pos_.pieces(us, QUEEN));
                break;
            case ROOK:
                attacks =
                    rookAttacks(sq, occupied ^ pos_.pieces(us, QUEEN) ^ pos_.pieces(us, ROOK));
                break;
            default:
                attacks = queenAttacks(sq, occupied);
                break;
            }
            attackedBy_[us][type] |= attacks;
            attackedBy_[us][6] |= attacks;
            add(us, MOBILITY_TERM[type] + popCount(attacks & safe));
            if (Bitboard hits = attacks & enemyZone) {
                kingAttackers_[us]++;
                kingAttackWeight_[us] += ATTACK_WEIGHT[type] * (1 + popCount(hits) / 2);
            }
            if (type == ROOK) {
                Bitboard file = fileMask(fileOf(sq));
                if (!(file & ourPawns))
                    add(us, (file & theirPawns) ? term::ROOK_HALF_OPEN_FILE : term::ROOK_OPEN_FILE);
                if (rankOf(relative(us, sq)) == 6 &&
                    rankOf(relative(us, pos_.kingSquare(them))) >= 6)
                    add(us, term::ROOK_SEVENTH);
            } else if (type == KNIGHT || type == BISHOP) {
                if (pawnPushes(us, bit(sq)) & pos_.pieces(PAWN)) add(us, term::MINOR_BEHIND_PAWN);
                if (type == BISHOP) {
                    Bitboard sameColour = lightSquare(sq) ? LIGHT_SQUARES : ~LIGHT_SQUARES;
                    add(us, term::BISHOP_PAWNS_SAME_COLOUR, popCount(ourPawns & sameColour));
                }
                int relRank = rankOf(relative(us, sq));
                if (relRank >= 3 && relRank <= 5 && (attackedBy_[us][PAWN] & bit(sq)) &&
                    !(passedSpan[us][sq] & adjacentFiles[fileOf(sq)] & theirPawns))
                    add(us, type == KNIGHT ? term::KNIGHT_OUTPOST : term::BISHOP_OUTPOST);
            }
        }
    }
    if (popCount(pos_.pieces(us, BISHOP)) >= 2) add(us, term::BISHOP_PAIR);
}

template <bool Traced> void Evaluation<Traced>::kingSafety(Color us) {
    const Color them = ~us;
    int king = pos_.kingSquare(us);
    // Shelter: pawns on the three files around the king, one or two ranks in front.
    int kingFile = fileOf(king);
    Bitboard files = fileMask(kingFile) | adjacentFiles[kingFile];
    Bitboard front = 0;
    int relKingRank = rankOf(relative(us, king));
    if (relKingRank <= 1) {
        for (int r = relKingRank + 1; r <= relKingRank + 2 && r < 8; ++r)
            front |= rankMask(us == WHITE ? r : 7 - r);
        int shelter = popCount(pos_.pieces(us, PAWN) & files & front);
        add(us, term::KING_SHELTER_MISSING + 3 - std::min(shelter, 3));
        int openFiles = 0;
        for (int f = std::max(kingFile - 1, 0); f <= std::min(kingFile + 1, 7); ++f)
            if (!(fileMask(f) & pos_.pieces(us, PAWN))) ++openFiles;
        add(us, term::KING_OPEN_FILE, openFiles);
    }
    // In the end game the king belongs near its own pawns.
    if (Bitboard pawns = pos_.pieces(us, PAWN)) {
        int nearest = 7;
        while (pawns)
            nearest = std::min(nearest, distance(king, popLowest(pawns)));
        add(us, term::KING_PAWN_DISTANCE, nearest);
    }
    // Checks the enemy can give from squares we do not guard, by the kind of piece giving them.
    const Bitboard occupied = pos_.pieces();
    const Bitboard unguarded = ~pos_.pieces(them) & ~attackedBy_[us][6];
    const Bitboard diagonals = bishopAttacks(king, occupied);
    const Bitboard lines = rookAttacks(king, occupied);
    const Bitboard checks[4] = {
        knightAttacks(king) & attackedBy_[them][KNIGHT], diagonals & attackedBy_[them][BISHOP],
        lines & attackedBy_[them][ROOK], (diagonals | lines) & attackedBy_[them][QUEEN]};
    for (int i = 0; i < 4; ++i)
        if (int n = popCount(checks[i] & unguarded)) add(them, term::SAFE_CHECK + i, n);
    // Attackers: only worth counting when there are at least two and the queen can join.
    if (kingAttackers_[them] >= 2 && pos_.pieces(them, QUEEN))
        add(us, term::KING_DANGER + std::min(kingAttackWeight_[them], KING_DANGER_SIZE - 1));
}

// Pieces the enemy attacks with something cheaper, and pieces left to be taken for nothing.
template <bool Traced> void Evaluation<Traced>::threats(Color us) {
    const Color them = ~us;
    const Bitboard targets = pos_.pieces(them) & ~pos_.pieces(KING);
    const Bitboard byMinor = attackedBy_[us][KNIGHT] | attackedBy_[us][BISHOP];
    for (PieceType type : {PAWN, KNIGHT, BISHOP, ROOK, QUEEN}) {
        Bitboard victims = targets & pos_.pieces(type);
        if (!victims) continue;
        if (type != PAWN)
            if (int n = popCount(victims & attackedBy_[us][PAWN]))
                add(us, term::THREAT_BY_PAWN + type, n);
        if (int n = popCount(victims & byMinor)) add(us, term::THREAT_BY_MINOR + type, n);
        if (int n = popCount(victims & attackedBy_[us][ROOK]))
            add(us, term::THREAT_BY_ROOK + type, n);
    }
    if (int n = popCount(targets & attackedBy_[us][6] & ~attackedBy_[them][6]))
        add(us, term::HANGING_PIECE, n);
    // Pawn pushes to safe squares that would then attack a piece.
    const Bitboard empty = ~pos_.pieces();
    Bitboard pushes = pawnPushes(us, pos_.pieces(us, PAWN)) & empty;
    pushes |= pawnPushes(us, pushes & rankMask(us == WHITE ? 2 : 5)) & empty;
    pushes &= ~attackedBy_[them][PAWN] & (attackedBy_[us][6] | ~attackedBy_[them][6]);
    if (int n = popCount(pawnCaptures(us, pushes) & targets & ~pos_.pieces(PAWN)))
        add(us, term::PAWN_PUSH_THREAT, n);
}

template <bool Traced> int Evaluation<Traced>::value() {
    if (insufficientMaterial(pos_)) {
        if constexpr (Traced) trace_->drawn = true;
        return 0;
    }
    material();
    for (Color c : {WHITE, BLACK}) {
        attackedBy_[c][PAWN] = pawnCaptures(c, pos_.pieces(c, PAWN));
        attackedBy_[c][6] = attackedBy_[c][PAWN] | kingAttacks(pos_.kingSquare(c));
    }
    pawns(WHITE);
    pawns(BLACK);
    pieces(WHITE);
    pieces(BLACK);
    kingSafety(WHITE);
    kingSafety(BLACK);
    threats(WHITE);
    threats(BLACK);
    add(pos_.sideToMove(), term::TEMPO);

    Score s = score_[WHITE] - score_[BLACK];
    int score = (s.mg * phase_ + s.eg * (FULL_PHASE - phase_)) / FULL_PHASE;

    // Without pawns, a side up by less than a rook can rarely win.
    int scale[2] = {4, 4};
    for (Color strong : {WHITE, BLACK}) {
        if (pos_.pieces(strong, PAWN)) continue;
        int strongMaterial = 0, weakMaterial = 0;
        for (PieceType t : {KNIGHT, BISHOP, ROOK, QUEEN}) {
            strongMaterial += popCount(pos_.pieces(strong, t)) * PIECE_VALUE[t];
            weakMaterial += popCount(pos_.pieces(~strong, t)) * PIECE_VALUE[t];
        }
        if (strongMaterial - weakMaterial < PIECE_VALUE[ROOK]) scale[strong] = 1;
    }
    // Only pawns and bishops of opposite colours: the defender holds many a pawn down.
    Bitboard bishops = pos_.pieces(BISHOP);
    if (!(pos_.pieces(KNIGHT) | pos_.pieces(ROOK) | pos_.pieces(QUEEN)) &&
        popCount(pos_.pieces(WHITE, BISHOP)) == 1 && popCount(pos_.pieces(BLACK, BISHOP)) == 1 &&
        lightSquare(lowestSquare(bishops)) != lightSquare(highestSquare(bishops)))
        for (int& quarters : scale)
            quarters = std::min(quarters, 2);
    if constexpr (Traced) {
        trace_->phase = phase_;
        trace_->scaleWhite = scale[WHITE];
        trace_->scaleBlack = scale[BLACK];
    }
    score = score * scale[score > 0 ? WHITE : BLACK] / 4;
    return pos_.sideToMove() == WHITE ? score : -score;
}

void ensureTables() {
    static std::once_flag once;
    std::call_once(once, initTables);
}

} // namespace

int evaluate(const Position& pos) {
    ensureTables();
    return Evaluation<false>(pos, nullptr).value();
}

Score evalWeight(int index) {
    return EVAL_WEIGHTS[index];
}

int evaluateTraced(const Position& pos, EvalTrace& trace) {
    ensureTables();
    trace = EvalTrace();
    return Evaluation<true>(pos, &trace).value();
}

} // namespace tarnwick
