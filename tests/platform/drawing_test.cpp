// Device contexts and bitmaps: blits, the transparent key, lines without their end
// points, clipping, and the generated bitmaps' sizes and keys.
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Canvas {
    Bitmap* bitmap;
    Dc* dc;
    Canvas(int width, int height)
        : bitmap(createBitmap(width, height)), dc(createCompatibleDC(nullptr)) {
        selectBitmap(dc, bitmap);
        fillRect(dc, Rect{0, 0, width, height}, rgb(255, 255, 255));
    }
    ~Canvas() {
        deleteDC(dc);
        deleteBitmap(bitmap);
    }
};

} // namespace

TEST(Bitmaps, EveryResourceHasItsSize) {
    struct Case {
        int id;
        int width;
        int height;
    };
    const Case cases[] = {
        {138, 60, 30},  {139, 60, 30},  {140, 60, 30},  {141, 60, 30},  {148, 60, 30},
        {149, 60, 30},  {150, 60, 30},  {151, 60, 30},  {152, 60, 30},  {116, 360, 30},
        {144, 360, 30}, {146, 360, 30}, {135, 288, 24}, {142, 289, 24}, {145, 288, 24},
        {128, 192, 14}, {130, 16, 212}, {131, 8, 212},  {132, 192, 6},  {115, 128, 16},
    };
    for (const Case& c : cases) {
        Bitmap* bitmap = loadBitmap(c.id);
        ASSERT_NE(bitmap, nullptr) << c.id;
        EXPECT_EQ(bitmapWidth(bitmap), c.width) << c.id;
        EXPECT_EQ(bitmapHeight(bitmap), c.height) << c.id;
        deleteBitmap(bitmap);
    }
    EXPECT_EQ(loadBitmap(999), nullptr);
    EXPECT_EQ(bitmapWidth(nullptr), 0);
}

TEST(Bitmaps, PieceStripsHaveKeyCornersAndNoGreyHalo) {
    for (int id : {116, 144, 146, 135, 142, 145}) {
        Bitmap* strip = loadBitmap(id);
        ASSERT_NE(strip, nullptr);
        Dc* dc = createCompatibleDC(nullptr);
        selectBitmap(dc, strip);
        const int size = bitmapHeight(strip);
        for (int piece = 0; piece < 12; ++piece) {
            const int left = piece * size;
            EXPECT_EQ(getPixel(dc, left, 0), TRANSPARENT_KEY) << id << " piece " << piece;
            EXPECT_NE(getPixel(dc, left + size / 2, size * 2 / 3), TRANSPARENT_KEY)
                << id << " piece " << piece << " has a body";
            // Every opaque pixel next to the key is the piece's own edge, never a near-silver
            // blend.
            for (int y = 0; y < size; ++y) {
                for (int x = left; x < left + size; ++x) {
                    const Color c = getPixel(dc, x, y);
                    if (c == TRANSPARENT_KEY) {
                        continue;
                    }
                    const bool nearSilver = std::abs(redOf(c) - 192) < 12 &&
                                            std::abs(greenOf(c) - 192) < 12 &&
                                            std::abs(blueOf(c) - 192) < 12;
                    const bool touchesKey = getPixel(dc, x - 1, y) == TRANSPARENT_KEY ||
                                            getPixel(dc, x + 1, y) == TRANSPARENT_KEY ||
                                            getPixel(dc, x, y - 1) == TRANSPARENT_KEY ||
                                            getPixel(dc, x, y + 1) == TRANSPARENT_KEY;
                    EXPECT_FALSE(nearSilver && touchesKey) << id << " at " << x << "," << y;
                }
            }
        }
        deleteDC(dc);
        deleteBitmap(strip);
    }
}

TEST(Drawing, TransparentBlitLeavesTheKeyOut) {
    Canvas canvas(30, 30);
    fillRect(canvas.dc, Rect{0, 0, 30, 30}, rgb(10, 200, 10));
    Bitmap* strip = loadBitmap(116);
    Dc* source = createCompatibleDC(canvas.dc);
    selectBitmap(source, strip);
    ASSERT_TRUE(transparentBlt(canvas.dc, 0, 0, 30, 30, source, 5 * 30, 0)); // white king
    int keyed = 0;
    int background = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            keyed += getPixel(canvas.dc, x, y) == TRANSPARENT_KEY;
            background += getPixel(canvas.dc, x, y) == rgb(10, 200, 10);
        }
    }
    EXPECT_EQ(keyed, 0);
    EXPECT_GT(background, 100) << "the board shows around the piece";
    EXPECT_LT(background, 880) << "the piece covers part of the square";

    // A plain blit copies the key as it is.
    ASSERT_TRUE(bitBlt(canvas.dc, 0, 0, 30, 30, source, 5 * 30, 0));
    EXPECT_EQ(getPixel(canvas.dc, 0, 0), TRANSPARENT_KEY);
    // Blocks reaching outside source or target are cut, never read or written out of bounds.
    EXPECT_TRUE(bitBlt(canvas.dc, -20, -20, 100, 100, source, 340, 10));
    EXPECT_TRUE(bitBlt(canvas.dc, 25, 25, 30, 30, source, 0, 0));
    EXPECT_FALSE(bitBlt(canvas.dc, 0, 0, 0, 30, source, 0, 0));
    EXPECT_FALSE(bitBlt(canvas.dc, 0, 0, 30, 30, nullptr, 0, 0));
    deleteDC(source);
    deleteBitmap(strip);
}

TEST(Drawing, LinesLeaveOutTheirLastPointAndRectanglesTheirRightAndBottom) {
    Canvas canvas(40, 40);
    selectPen(canvas.dc, Pen{rgb(255, 0, 0), false});
    // The selection frame of a square at (0, 0, 30, 30) as four two-point polylines.
    const Point frame[4][2] = {
        {{0, 0}, {0, 29}}, {{0, 29}, {29, 29}}, {{29, 29}, {29, 0}}, {{0, 0}, {29, 0}}};
    for (const auto& line : frame) {
        polyline(canvas.dc, line, 2);
    }
    const Color red = rgb(255, 0, 0);
    const Color white = rgb(255, 255, 255);
    EXPECT_EQ(getPixel(canvas.dc, 0, 0), red);
    EXPECT_EQ(getPixel(canvas.dc, 0, 28), red);
    EXPECT_EQ(getPixel(canvas.dc, 29, 29), red);
    EXPECT_EQ(getPixel(canvas.dc, 29, 1), red);
    EXPECT_EQ(getPixel(canvas.dc, 1, 1), white) << "one pixel wide";
    EXPECT_EQ(getPixel(canvas.dc, 30, 0), white);
    EXPECT_EQ(getPixel(canvas.dc, 0, 30), white);

    Canvas box(20, 20);
    selectBrush(box.dc, Brush{rgb(0, 0, 255), false});
    rectangle(box.dc, Rect{2, 2, 10, 10});
    EXPECT_EQ(getPixel(box.dc, 2, 2), rgb(0, 0, 0));
    EXPECT_EQ(getPixel(box.dc, 9, 9), rgb(0, 0, 0));
    EXPECT_EQ(getPixel(box.dc, 5, 5), rgb(0, 0, 255));
    EXPECT_EQ(getPixel(box.dc, 10, 10), white);
    EXPECT_EQ(getPixel(box.dc, 99, 99), 0xFFFFFFFFu);

    // The arrow's polygon: filled light yellow inside a black outline.
    Canvas arrow(240, 240);
    selectBrush(arrow.dc, Brush{rgb(250, 250, 80), false});
    selectPen(arrow.dc, BLACK_PEN);
    const Point points[8] = {{132, 195}, {132, 147}, {126, 153}, {135, 135},
                             {143, 153}, {137, 147}, {137, 195}, {135, 188}};
    polygon(arrow.dc, points, 8);
    EXPECT_EQ(getPixel(arrow.dc, 134, 170), rgb(250, 250, 80));
    EXPECT_EQ(getPixel(arrow.dc, 132, 170), rgb(0, 0, 0));
    EXPECT_EQ(getPixel(arrow.dc, 120, 170), white);
}

TEST(Drawing, MemoryContextWithoutBitmapDrawsNothing) {
    Dc* dc = createCompatibleDC(nullptr);
    fillRect(dc, Rect{0, 0, 10, 10}, rgb(1, 2, 3));
    const Point line[2] = {{0, 0}, {5, 5}};
    polyline(dc, line, 2);
    drawText(dc, "text", Rect{0, 0, 50, 14}, DT_LEFT);
    EXPECT_EQ(getPixel(dc, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(createBitmap(0, 10), nullptr);
    deleteDC(dc);
}
