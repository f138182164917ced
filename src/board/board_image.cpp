#include "board/board_image.h"

#include <string>

#include "app/app_state.h"
#include "board/board_drawing.h"
#include "board/board_view.h"
#include "board/geometry.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"
#include "platform/ui/image_file.h"

using namespace platform;

namespace {

constexpr int BOARD_PIXELS = 240;
constexpr Color COORDINATE_COLOUR = rgb(40, 40, 40);

// The board and the arrow, without the marks of a move half entered.
void drawPosition(Dc* dc) {
    const uint8_t selected = appState.selectedSquare;
    const uint8_t target = appState.targetSquare;
    appState.selectedSquare = appState.targetSquare = NO_MARK;
    const Rect board{0, 0, BOARD_PIXELS, BOARD_PIXELS};
    drawBoard(dc, board, appState.squareSize, appState.position->board(), NOT_A_SQUARE, board,
              appState.flipped);
    drawLastMoveMarking(dc);
    appState.selectedSquare = selected;
    appState.targetSquare = target;
}

// Rank digits in the top-left corner of the left column, file letters in the
// bottom-right corner of the bottom row, as the board is turned.
void drawCoordinates(Dc* dc, int size) {
    const int square = size / 8;
    const int corner = square / 3;
    setTextColor(dc, COORDINATE_COLOUR);
    for (int i = 0; i < 8; ++i) {
        const char rank[2] = {char(appState.flipped ? '1' + i : '8' - i), 0};
        drawText(dc, rank, Rect{2, i * square + 1, 2 + corner, i * square + 1 + corner},
                 DT_LEFT | DT_SINGLELINE);
        const char file[2] = {char(appState.flipped ? 'h' - i : 'a' + i), 0};
        const int right = (i + 1) * square - 2;
        drawText(dc, file, Rect{right - corner, size - 1 - corner, right, size - 1},
                 DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    }
}

} // namespace

Bitmap* drawBoardImage(Window* window, int size) {
    Dc* windowDc = getDC(window);
    if (!windowDc) return nullptr;
    Bitmap* logical = createBitmap(BOARD_PIXELS, BOARD_PIXELS);
    Dc* dc = logical ? createCompatibleDC(windowDc) : nullptr;
    Bitmap* image = nullptr;
    if (dc) {
        selectBitmap(dc, logical);
        drawPosition(dc);
        selectBitmap(dc, nullptr);
        image = scaledBitmap(logical, size, size);
        if (image) {
            selectBitmap(dc, image);
            drawCoordinates(dc, size);
            selectBitmap(dc, nullptr);
        }
        deleteDC(dc);
    }
    deleteBitmap(logical);
    releaseDC(window, windowDc);
    return image;
}
