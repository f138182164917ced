// The score as the status panel shows it.
#include <gtest/gtest.h>

#include <string>

#include "engine/score_text.h"

TEST(ScoreText, PawnsWithTwoDecimalsOrMovesToMate) {
    struct Case {
        int32_t score;
        const char* text;
    };
    const Case cases[] = {
        {30001 - 10, "+M5"}, {-30001 + 11, "-M5"}, {35, "+0.35"},      {0, "+0.00"},
        {-35, "-0.35"},      {-120, "-1.20"},      {28000, "+280.00"}, {-28000, "-280.00"},
        {29999, "+M1"},      {-29999, "-M1"},      {28001, "+M1000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(formatScore(c.score).c_str()), c.text) << "score " << c.score;
    }
}
