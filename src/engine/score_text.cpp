#include "engine/score_text.h"

#include <cstdio>

#include "engine/engine_interface.h"

namespace {

// A mate in p plies scores ENGINE_MATE_SCORE - p; the texts count whole moves from one more.
constexpr int64_t MATE_BASE = ENGINE_MATE_SCORE + 1;

} // namespace

CText formatScore(int32_t score) {
    char text[32];
    if (score > ENGINE_MATE_THRESHOLD) {
        std::snprintf(text, sizeof text, "+M%lld", (long long)((MATE_BASE - score) / 2));
    } else if (score < -ENGINE_MATE_THRESHOLD) {
        std::snprintf(text, sizeof text, "-M%lld", (long long)((score + MATE_BASE) / 2));
    } else {
        std::snprintf(text, sizeof text, "%+.2f", score * 0.01);
    }
    return CText(text);
}
