// Squares and pixels of the main window's board, flipped and not.
#include "app/app_state.h"
#include "board/geometry.h"

#include <gtest/gtest.h>

using platform::Rect;

namespace {

struct FlipGuard {
    explicit FlipGuard(bool flipped) : previous(appState.flipped) { appState.flipped = flipped; }
    ~FlipGuard() { appState.flipped = previous; }
    bool previous;
};

Square at(const char* text) {
    return squareFromText(text);
}

} // namespace

TEST(Geometry, PointToSquareAtTheEdges) {
    struct Case {
        int x, y;
        bool flipped;
        Square expected;
    };
    const Case cases[] = {
        {0, 0, false, at("a8")},         {0, 0, true, at("h1")},
        {239, 239, false, at("h1")},     {239, 239, true, at("a8")},
        {29, 29, false, at("a8")},       {30, 30, false, at("b7")},
        {29, 210, false, at("a1")},      {135, 195, false, at("e2")},
        {135, 195, true, at("d7")},      {0, 240, false, NOT_A_SQUARE},
        {100, 267, false, NOT_A_SQUARE}, {240, 0, false, NOT_A_SQUARE},
        {240, 0, true, NOT_A_SQUARE},    {-1, 100, false, NOT_A_SQUARE},
        {100, -1, false, NOT_A_SQUARE},  {-29, -29, true, NOT_A_SQUARE},
    };
    for (const Case& c : cases) {
        FlipGuard flip(c.flipped);
        EXPECT_EQ(pointToSquare(c.x, c.y), c.expected)
            << "(" << c.x << ", " << c.y << ") flipped " << c.flipped;
    }
}

TEST(Geometry, SquareRectanglesAndTheirMoves) {
    {
        FlipGuard flip(false);
        const Rect a1 = squareRect(at("a1"));
        EXPECT_EQ((std::array<int, 4>{a1.left, a1.top, a1.right, a1.bottom}),
                  (std::array<int, 4>{0, 210, 30, 240}));
        const Rect e2e4 = moveRect(CMove(at("e2"), WHITE_PAWN, at("e4"), EMPTY));
        EXPECT_EQ((std::array<int, 4>{e2e4.left, e2e4.top, e2e4.right, e2e4.bottom}),
                  (std::array<int, 4>{120, 120, 150, 210}));
        EXPECT_EQ(squareCentre(at("e2")).x, 135);
        EXPECT_EQ(squareCentre(at("e2")).y, 195);
    }
    FlipGuard flip(true);
    const Rect a1 = squareRect(at("a1"));
    EXPECT_EQ((std::array<int, 4>{a1.left, a1.top, a1.right, a1.bottom}),
              (std::array<int, 4>{210, 0, 240, 30}));
    const Rect small = squareRectAt(at("a1"), 24, false, 10, 20);
    EXPECT_EQ((std::array<int, 4>{small.left, small.top, small.right, small.bottom}),
              (std::array<int, 4>{10, 188, 34, 212}));
}
