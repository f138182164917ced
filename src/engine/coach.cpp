#include "engine/coach.h"

#include <algorithm>

bool coachWarns(const CoachQuestion& question) {
    if (!question.coachOn || !question.anchored) return false;
    if (question.storedScore == NO_COACH_SCORE) return false;
    const int32_t before = question.storedScore;
    if (question.score <= before + COACH_SCORE_JUMP) return false;
    if (before >= COACH_DECIDED_SCORE || question.score <= -COACH_DECIDED_SCORE) return false;
    return question.moveCount > 1;
}

int16_t coachScoreToKeep(int32_t score, int32_t moveCount) {
    if (moveCount == 1) return NO_COACH_SCORE;
    // An engine's score beyond the stored range still reads as a won or lost game.
    return int16_t(std::clamp<int32_t>(score, INT16_MIN + 1, INT16_MAX));
}
