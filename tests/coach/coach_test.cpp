// The coach's judgement: when the engine's new score, against the one it had before the
// user's move, makes the move look like a blunder.
#include <gtest/gtest.h>

#include "engine/coach.h"

TEST(Coach, WarnsOnlyWhenTheEngineGainsMuchInAnOpenGame) {
    struct Case {
        const char* what;
        int16_t before;
        int32_t after;
        int32_t moveCount;
        bool anchored;
        bool coachOn;
        bool warns;
    };
    const Case cases[] = {
        {"20 to 260: more than 230 gained", 20, 260, 20, true, true, true},
        {"20 to 250: exactly 230", 20, 250, 20, true, true, false},
        {"640 to 1000: not yet decided before", 640, 1000, 20, true, true, true},
        {"642 to 1000: decided before", 642, 1000, 20, true, true, false},
        {"-1000 to -700: still lost for the engine", -1000, -700, 20, true, true, false},
        {"-1000 to -641: no longer lost", -1000, -641, 20, true, true, true},
        {"-1000 to -642: lost", -1000, -642, 20, true, true, false},
        {"a mate found", 20, 29990, 20, true, true, true},
        {"one legal reply: no choice", 20, 500, 1, true, true, false},
        {"no root moves reported", 20, 500, 0, true, true, false},
        {"two root moves", 20, 500, 2, true, true, true},
        {"no stored score", NO_COACH_SCORE, 500, 20, true, true, false},
        {"not one move since the engine's", 20, 500, 20, false, true, false},
        {"the coach is off", 20, 500, 20, true, false, false},
        {"the engine lost ground", 300, 20, 20, true, true, false},
    };
    for (const Case& c : cases) {
        CoachQuestion question;
        question.coachOn = c.coachOn;
        question.storedScore = c.before;
        question.anchored = c.anchored;
        question.score = c.after;
        question.moveCount = c.moveCount;
        EXPECT_EQ(coachWarns(question), c.warns) << c.what;
    }
}

TEST(Coach, KeepsTheScoreOnlyWhenTheEngineHadAChoice) {
    struct Case {
        int32_t score;
        int32_t moveCount;
        int16_t kept;
    };
    const Case cases[] = {
        {35, 20, 35},      {35, 1, NO_COACH_SCORE}, {-35, 0, -35},
        {29990, 3, 29990}, {100000, 3, INT16_MAX},  {-100000, 3, INT16_MIN + 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(coachScoreToKeep(c.score, c.moveCount), c.kept) << c.score << " " << c.moveCount;
}
