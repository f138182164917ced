// CArray growth and erasing, for both element kinds the program uses.
#include <gtest/gtest.h>

#include <vector>

#include "base/array.h"
#include "rules/move.h"

namespace {

TEST(Array, GrowthAfterTheFirstReserve) {
    CArray<void*> children;
    EXPECT_EQ(children.capacity(), 0u);
    EXPECT_EQ(children.items(), nullptr);
    children.reserve(8);
    EXPECT_EQ(children.capacity(), 16u);
    int values[17];
    for (int& value : values)
        children.push(&value);
    EXPECT_EQ(children.count(), 17u);
    EXPECT_EQ(children.capacity(), 32u);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(children[i], &values[i]);
    for (uint32_t i = 17; i < children.capacity(); ++i)
        EXPECT_EQ(children.items()[i], nullptr);

    struct {
        uint32_t reserve;
        uint32_t capacity;
    } steps[] = {{31, 32}, {32, 64}, {3, 64}, {100, 200}};
    for (const auto& step : steps) {
        children.reserve(step.reserve);
        EXPECT_EQ(children.capacity(), step.capacity) << step.reserve;
        EXPECT_EQ(children[16], &values[16]);
    }
}

TEST(Array, PushIntoAnArrayNeverReserved) {
    CArray<CMove> line;
    line.push(CASTLE_WHITE_SHORT);
    EXPECT_EQ(line.capacity(), 16u);
    EXPECT_EQ(line[0], CASTLE_WHITE_SHORT);
    for (uint32_t i = 1; i < line.capacity(); ++i)
        EXPECT_EQ(line.items()[i], EMPTY_MOVE);
}

TEST(Array, EraseKeepsTheOrder) {
    struct {
        uint32_t first, last;
        std::vector<int> left;
        uint32_t result;
    } cases[] = {
        {2, 3, {0, 1, 3, 4}, 2},    {0, 5, {}, 0},
        {0, 1, {1, 2, 3, 4}, 0},    {3, 9, {0, 1, 2}, 3}, // past the end: up to the end
        {4, 2, {0, 1, 2, 3, 4}, 4},
    };
    for (const auto& c : cases) {
        CArray<CMove> moves;
        moves.reserve(8);
        for (int i = 0; i < 5; ++i)
            moves.push(CMove(uint8_t(i), 0, 0, 0));
        EXPECT_EQ(moves.erase(c.first, c.last), c.result);
        ASSERT_EQ(moves.count(), c.left.size());
        for (uint32_t i = 0; i < moves.count(); ++i)
            EXPECT_EQ(moves[i].from, c.left[i]);
    }
}

TEST(Array, MovingHandsTheBlockOver) {
    CArray<CMove> line;
    line.push(NULL_MOVE);
    CArray<CMove> other(std::move(line));
    EXPECT_EQ(other.count(), 1u);
    EXPECT_EQ(line.items(), nullptr);
    line = std::move(other);
    EXPECT_EQ(line.count(), 1u);
}

} // namespace
