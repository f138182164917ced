// The outline of the last-move arrow.
#include "board/arrow.h"

#include <gtest/gtest.h>
#include <vector>

using platform::Point;

namespace {

std::vector<std::pair<int, int>> pairs(const Point* points, int count) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(points[i].x, points[i].y);
    return out;
}

} // namespace

TEST(Arrow, OutlinesOfMovesInEveryDirection) {
    struct Case {
        Point tail, head;
        std::vector<std::pair<int, int>> expected;
    };
    const Case cases[] = {
        // e2-e4 unflipped.
        {{135, 195},
         {135, 135},
         {{132, 195},
          {132, 147},
          {126, 153},
          {135, 135},
          {143, 153},
          {137, 147},
          {137, 195},
          {135, 188},
          {132, 195}}},
        // The same move from the other side: the arrow points down.
        {{105, 45},
         {105, 105},
         {{107, 45},
          {107, 93},
          {113, 87},
          {105, 105},
          {96, 87},
          {102, 93},
          {102, 45},
          {105, 51},
          {107, 45}}},
        // Sideways, a1-h1.
        {{15, 225},
         {225, 225},
         {{15, 222},
          {213, 222},
          {207, 216},
          {225, 225},
          {207, 233},
          {213, 227},
          {15, 227},
          {21, 225},
          {15, 222}}},
        // A knight's move, g1-f3.
        {{195, 225},
         {165, 165},
         {{192, 226},
          {167, 177},
          {164, 185},
          {165, 165},
          {180, 176},
          {172, 174},
          {197, 223},
          {192, 219},
          {192, 226}}},
    };
    for (const Case& c : cases) {
        Point points[20];
        ASSERT_EQ(arrowPolygon(c.tail, c.head, 30, points, 20), 9);
        EXPECT_EQ(pairs(points, 9), c.expected) << c.tail.x << "," << c.tail.y;
    }
}

TEST(Arrow, BufferTooSmallOrNoLength) {
    Point points[9];
    EXPECT_EQ(arrowPolygon({135, 195}, {135, 135}, 30, points, 7), 0);
    EXPECT_EQ(arrowPolygon({135, 195}, {135, 135}, 30, points, 8), 8);
    EXPECT_EQ(arrowPolygon({135, 135}, {135, 135}, 30, points, 9), 0);
}
