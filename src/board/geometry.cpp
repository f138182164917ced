#include "board/geometry.h"

#include <algorithm>

#include "app/app_state.h"

using platform::Rect;

Rect squareRectAt(Square square, int size, bool flipped, int left, int top) {
    const int file = fileOf(square);
    const int rank = rankOf(square);
    const int x = left + size * (flipped ? 7 - file : file);
    const int y = top + size * (flipped ? rank : 7 - rank);
    return Rect{x, y, x + size, y + size};
}

Rect squareRect(Square square) {
    return squareRectAt(square, appState.squareSize, appState.flipped, appState.clientRect.left,
                        appState.clientRect.top);
}

Square pointToSquare(int x, int y) {
    const int dx = x - appState.clientRect.left;
    const int dy = y - appState.clientRect.top;
    // Points left of or above the board are off it, not on its first file or row.
    if (dx < 0 || dy < 0) return NOT_A_SQUARE;
    int file = dx / appState.squareSize;
    const int row = dy / appState.squareSize;
    int rank = 7 - row;
    if (appState.flipped) {
        file = 7 - file;
        rank = row;
    }
    if (file < 0 || file > 7 || rank < 0 || rank > 7) return NOT_A_SQUARE;
    return makeSquare(file, rank);
}

Rect moveRect(CMove move) {
    const Rect from = squareRect(move.from);
    const Rect to = squareRect(move.to);
    return Rect{std::min(from.left, to.left), std::min(from.top, to.top),
                std::max(from.right, to.right), std::max(from.bottom, to.bottom)};
}

platform::Point squareCentre(Square square) {
    const Rect r = squareRect(square);
    return platform::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
