// The board drawn into a bitmap, checked pixel by pixel against the texture and
// the piece strips.
#include "app/app_state.h"
#include "app/shell.h"
#include "board/board_drawing.h"
#include "board/geometry.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr Color WHITE_PIXEL = rgb(255, 255, 255);
constexpr Color RED = rgb(255, 0, 0);

// A white 240 x 240 board bitmap and the shell's bitmaps of the default sets.
class BoardDrawing : public testing::Test {
protected:
    void SetUp() override {
        shell.boardTexture = loadBitmap(138);
        shell.pieceStrip = loadBitmap(116);
        shell.pieceStripForSquares = loadBitmap(116);
        shell.pieceStrip24 = loadBitmap(135);
        ASSERT_TRUE(shell.boardTexture && shell.pieceStrip && shell.pieceStrip24);
        texture = loadBitmap(138);
        textureDc = createCompatibleDC(nullptr);
        selectBitmap(textureDc, texture);
        strip = loadBitmap(116);
        stripDc = createCompatibleDC(nullptr);
        selectBitmap(stripDc, strip);
        target = createBitmap(240, 240);
        dc = createCompatibleDC(nullptr);
        selectBitmap(dc, target);
        fillRect(dc, Rect{0, 0, 240, 240}, WHITE_PIXEL);
        board.setFen(START_FEN);
        appState.selectedSquare = NO_MARK;
        appState.targetSquare = NO_MARK;
    }
    void TearDown() override {
        for (Dc* context : {dc, textureDc, stripDc})
            deleteDC(context);
        for (Bitmap* bitmap : {target, texture, strip, shell.boardTexture, shell.pieceStrip,
                               shell.pieceStripForSquares, shell.pieceStrip24}) {
            deleteBitmap(bitmap);
        }
        shell.boardTexture = shell.pieceStrip = shell.pieceStripForSquares = nullptr;
        shell.pieceStrip24 = nullptr;
        appState.selectedSquare = NO_MARK;
        appState.targetSquare = NO_MARK;
    }

    void draw(int size, bool flipped, Rect clip = Rect{0, 0, 240, 240}) {
        drawBoard(dc, Rect{0, 0, 240, 240}, size, board.board(), NOT_A_SQUARE, clip, flipped);
    }
    // The texture half (dark or light) at a pixel of a square.
    Color texturePixel(bool dark, int x, int y) {
        return getPixel(textureDc, (dark ? 30 : 0) + x, y);
    }
    // How many pixels of the square at (left, top) differ from the plain texture half.
    int differingPixels(int left, int top, int size, bool dark) {
        int differing = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                differing += getPixel(dc, left + x, top + y) != texturePixel(dark, x, y);
        return differing;
    }
    // True when the square at (left, top) shows the strip image over the texture half.
    bool showsPiece(int left, int top, bool dark, int image) {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                const Color piece = getPixel(stripDc, image * 30 + x, y);
                const Color expected = piece == TRANSPARENT_KEY ? texturePixel(dark, x, y) : piece;
                if (getPixel(dc, left + x, top + y) != expected) return false;
            }
        return true;
    }

    CPosition board;
    Bitmap* target = nullptr;
    Bitmap* texture = nullptr;
    Bitmap* strip = nullptr;
    Dc* dc = nullptr;
    Dc* textureDc = nullptr;
    Dc* stripDc = nullptr;
};

} // namespace

TEST_F(BoardDrawing, DarkA1LightH1AndFlippingMovesThemNotTheirColours) {
    board.clear();
    draw(30, false);
    EXPECT_EQ(differingPixels(0, 210, 30, true), 0) << "a1 bottom left, dark";
    EXPECT_EQ(differingPixels(210, 210, 30, false), 0) << "h1 bottom right, light";
    EXPECT_EQ(differingPixels(210, 0, 30, true), 0) << "h8 top right, dark";
    draw(30, true);
    EXPECT_EQ(differingPixels(210, 0, 30, true), 0) << "a1 top right, dark";
    EXPECT_EQ(differingPixels(0, 0, 30, false), 0) << "h1 top left, light";
}

TEST_F(BoardDrawing, PiecesThroughTheStripWithSilverLeftOut) {
    draw(30, false);
    EXPECT_TRUE(showsPiece(0, 210, true, 3)) << "white rook on a1";
    EXPECT_TRUE(showsPiece(120, 180, false, 0)) << "white pawn on e2";
    EXPECT_TRUE(showsPiece(120, 0, false, 11)) << "black king on e8";
    EXPECT_TRUE(showsPiece(90, 0, true, 10)) << "black queen on d8";
    EXPECT_EQ(differingPixels(120, 120, 30, false), 0) << "e4 empty";
    // The piece left out: e2 drawn empty.
    fillRect(dc, Rect{0, 0, 240, 240}, WHITE_PIXEL);
    drawBoard(dc, Rect{0, 0, 240, 240}, 30, board.board(), squareFromText("e2"),
              Rect{0, 0, 240, 240}, false);
    EXPECT_EQ(differingPixels(120, 180, 30, false), 0);
}

TEST_F(BoardDrawing, TwentyFourPixelSquaresUseTheTopLeftOfEachHalf) {
    board.clear();
    drawBoard(dc, Rect{0, 0, 192, 192}, 24, board.board(), NOT_A_SQUARE, Rect{0, 0, 192, 192},
              false);
    EXPECT_EQ(differingPixels(0, 168, 24, true), 0) << "a1";
    EXPECT_EQ(differingPixels(24, 168, 24, false), 0) << "b1";
    EXPECT_EQ(getPixel(dc, 192, 0), WHITE_PIXEL) << "nothing beyond eight squares";
}

TEST_F(BoardDrawing, AreasTooSmallOrOddSizesDrawNothing) {
    struct Case {
        Rect area;
        int size;
    };
    const Case cases[] = {
        {{0, 0, 239, 240}, 30}, {{0, 0, 240, 239}, 30}, {{0, 0, 191, 192}, 24},
        {{0, 0, 240, 240}, 20}, {{0, 0, 240, 240}, 0},
    };
    for (const Case& c : cases) {
        drawBoard(dc, c.area, c.size, board.board(), NOT_A_SQUARE, c.area, false);
        EXPECT_EQ(getPixel(dc, 15, 15), WHITE_PIXEL) << c.area.right << "x" << c.area.bottom;
        EXPECT_EQ(getPixel(dc, 225, 225), WHITE_PIXEL) << c.area.right << "x" << c.area.bottom;
    }
}

TEST_F(BoardDrawing, OnlySquaresWithACornerInTheClip) {
    struct Case {
        Rect clip;
        int drawn; // squares whose pixels changed
    };
    const Case cases[] = {
        {{35, 35, 55, 55}, 0},     // strictly inside b7
        {{30, 30, 60, 60}, 4},     // exactly b7: its top-left corner, and three neighbours' corners
        {{0, 0, 240, 240}, 64},    // the whole board
        {{239, 239, 240, 240}, 0}, // inside h1
        {{209, 209, 211, 211}, 4}, // round the corner of g1, g2, h1 and h2
        {{0, 0, 30, 30}, 1},       // a8 alone: the clip's right and bottom are outside
        {{240, 240, 250, 250}, 1}, // h1's far corner lies on the clip's top left
    };
    for (const Case& c : cases) {
        fillRect(dc, Rect{0, 0, 240, 240}, WHITE_PIXEL);
        draw(30, false, c.clip);
        int drawn = 0;
        for (int row = 0; row < 8; ++row)
            for (int file = 0; file < 8; ++file)
                drawn += getPixel(dc, file * 30 + 15, row * 30 + 15) != WHITE_PIXEL;
        EXPECT_EQ(drawn, c.drawn) << c.clip.left << "," << c.clip.top;
    }
}

TEST_F(BoardDrawing, SelectionFrameIsOneRedPixelInsideTheSquare) {
    appState.selectedSquare = squareFromText("e2");
    appState.targetSquare = squareFromText("e4");
    draw(30, false);
    for (const Rect& r : {Rect{120, 180, 150, 210}, Rect{120, 120, 150, 150}}) {
        for (int i = 1; i < 29; ++i) {
            EXPECT_EQ(getPixel(dc, r.left, r.top + i), RED);
            EXPECT_EQ(getPixel(dc, r.right - 1, r.top + i), RED);
            EXPECT_EQ(getPixel(dc, r.left + i, r.top), RED);
            EXPECT_EQ(getPixel(dc, r.left + i, r.bottom - 1), RED);
            EXPECT_NE(getPixel(dc, r.left + 1, r.top + i), RED) << "one pixel wide";
            EXPECT_NE(getPixel(dc, r.left + i, r.bottom - 2), RED) << "one pixel wide";
        }
    }
    EXPECT_EQ(differingPixels(120, 150, 30, true), 0) << "e3 unmarked";
}

TEST_F(BoardDrawing, AtThreeTimesTheFrameStaysOneLogicalPixelAndTheTextureItsPlace) {
    // Bitmaps made now are at three device pixels per logical pixel; the shell's strips and
    // texture are drawn again at that size when they are drawn onto them.
    setWindowScale(3);
    Bitmap* large = createBitmap(240, 240);
    Dc* largeDc = createCompatibleDC(nullptr);
    selectBitmap(largeDc, large);
    appState.selectedSquare = squareFromText("e2");
    drawBoard(largeDc, Rect{0, 0, 240, 240}, 30, board.board(), NOT_A_SQUARE, Rect{0, 0, 240, 240},
              false);
    const Rect e2{120, 180, 150, 210};
    for (int i = 1; i < 29; ++i) {
        EXPECT_EQ(getPixel(largeDc, e2.left, e2.top + i), RED);
        EXPECT_EQ(getPixel(largeDc, e2.left + i, e2.bottom - 1), RED);
        EXPECT_NE(getPixel(largeDc, e2.left + 1, e2.top + i), RED) << "one logical pixel wide";
    }
    // At an odd factor the middle device pixel of each logical pixel is the texture's own.
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            differing += getPixel(largeDc, 120 + x, 150 + y) != texturePixel(true, x, y);
    EXPECT_EQ(differing, 0) << "e3, dark and empty";
    deleteDC(largeDc);
    deleteBitmap(large);
    setWindowScale(1);
}
