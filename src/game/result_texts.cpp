#include "game/result_texts.h"

namespace {

constexpr CResultTexts TEXTS[] = {
    {"Checkmate", "Black mates", "0-1"},
    {"Checkmate", "White mates", "1-0"},
    {"Stalemate, draw", "Stalemate", "1/2-1/2"},
    {"Draw by threefold repetition", "Draw by threefold repetition", "1/2-1/2"},
    {"Draw by 50-moves-rule", "Draw by 50-moves-rule", "1/2-1/2"},
    {"Draw by insufficient mating material", "Draw by insufficient material", "1/2-1/2"},
};

} // namespace

bool resultTexts(int reason, int sideToMove, CResultTexts& out) {
    if (reason < 1 || reason > 5) return false;
    // Row 0 is White mated, row 1 Black mated; the draws follow one row per reason.
    out = reason == 1 ? TEXTS[sideToMove == 0 ? 0 : 1] : TEXTS[reason];
    return true;
}
