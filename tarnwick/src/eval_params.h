// The evaluation's weights: every term is a middle-game / end-game pair in one flat table, so
// that the tuner can see the evaluation as a sum of weights times counts.
#pragma once

namespace tarnwick {

struct Score {
    int mg = 0, eg = 0;
    constexpr Score() = default;
    constexpr Score(int m, int e) : mg(m), eg(e) {}
    constexpr Score& operator+=(Score o) {
        mg += o.mg;
        eg += o.eg;
        return *this;
    }
    constexpr Score& operator-=(Score o) {
        mg -= o.mg;
        eg -= o.eg;
        return *this;
    }
    friend constexpr Score operator*(Score s, int k) { return {s.mg * k, s.eg * k}; }
    friend constexpr Score operator+(Score a, Score b) { return {a.mg + b.mg, a.eg + b.eg}; }
    friend constexpr Score operator-(Score a, Score b) { return {a.mg - b.mg, a.eg - b.eg}; }
};

// Each term: its name and how many weights it holds. Tables indexed by piece type run pawn to
// king; tables indexed by rank use the rank seen from the owner's side; piece-square tables
// use the square seen from White's side.
#define TARNWICK_EVAL_TERMS(X)                                                                     \
    X(MATERIAL, 6)                                                                                 \
    X(PIECE_SQUARE, 6 * 64)                                                                        \
    X(KNIGHT_MOBILITY, 9)                                                                          \
    X(BISHOP_MOBILITY, 14)                                                                         \
    X(ROOK_MOBILITY, 15)                                                                           \
    X(QUEEN_MOBILITY, 28)                                                                          \
    X(BISHOP_PAIR, 1)                                                                              \
    X(ROOK_OPEN_FILE, 1)                                                                           \
    X(ROOK_HALF_OPEN_FILE, 1)                                                                      \
    X(ROOK_SEVENTH, 1)                                                                             \
    X(KNIGHT_OUTPOST, 1)                                                                           \
    X(BISHOP_OUTPOST, 1)                                                                           \
    X(DOUBLED_PAWN, 1)                                                                             \
    X(ISOLATED_PAWN, 1)                                                                            \
    X(BACKWARD_PAWN, 1)                                                                            \
    X(CONNECTED_PAWN, 8)                                                                           \
    X(PASSED_PAWN, 8)                                                                              \
    X(PASSED_FREE_PATH, 8)                                                                         \
    X(PASSED_SUPPORTED, 8)                                                                         \
    X(PASSED_BLOCKED, 8)                                                                           \
    X(PASSED_OWN_KING_DISTANCE, 8)                                                                 \
    X(PASSED_ENEMY_KING_DISTANCE, 8)                                                               \
    X(KING_SHELTER_MISSING, 4)                                                                     \
    X(KING_OPEN_FILE, 1)                                                                           \
    X(KING_DANGER, 32)                                                                             \
    X(SAFE_CHECK, 4)                                                                               \
    X(KING_PAWN_DISTANCE, 1)                                                                       \
    X(THREAT_BY_PAWN, 6)                                                                           \
    X(THREAT_BY_MINOR, 6)                                                                          \
    X(THREAT_BY_ROOK, 6)                                                                           \
    X(HANGING_PIECE, 1)                                                                            \
    X(PAWN_PUSH_THREAT, 1)                                                                         \
    X(MINOR_BEHIND_PAWN, 1)                                                                        \
    X(BISHOP_PAWNS_SAME_COLOUR, 1)                                                                 \
    X(TEMPO, 1)

namespace term {
enum : int {
#define TARNWICK_TERM_SIZE(name, size) name##_BEGIN, name##_LAST = name##_BEGIN + (size)-1,
    TARNWICK_EVAL_TERMS(TARNWICK_TERM_SIZE)
#undef TARNWICK_TERM_SIZE
        COUNT
};
#define TARNWICK_TERM_START(name, size) constexpr int name = name##_BEGIN;
TARNWICK_EVAL_TERMS(TARNWICK_TERM_START)
#undef TARNWICK_TERM_START
} // namespace term

constexpr int EVAL_PARAM_COUNT = term::COUNT;

struct EvalTermInfo {
    const char* name;
    int first;
    int size;
};
constexpr EvalTermInfo EVAL_TERMS[] = {
#define TARNWICK_TERM_INFO(name, size) {#name, term::name, size},
    TARNWICK_EVAL_TERMS(TARNWICK_TERM_INFO)
#undef TARNWICK_TERM_INFO
};

} // namespace tarnwick
