#pragma once
// The plain value types of drawing: points, rectangles (right and bottom exclusive) and colours.

#include <cstdint>

namespace platform {

struct Point {
    int x;
    int y;
};

struct Rect {
    int left;
    int top;
    int right;
    int bottom;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// 0x00BBGGRR, the handheld's COLORREF layout.
using Color = uint32_t;
constexpr Color rgb(int red, int green, int blue) {
    return Color(red & 0xFF) | Color(green & 0xFF) << 8 | Color(blue & 0xFF) << 16;
}
constexpr int redOf(Color color) {
    return int(color & 0xFF);
}
constexpr int greenOf(Color color) {
    return int(color >> 8 & 0xFF);
}
constexpr int blueOf(Color color) {
    return int(color >> 16 & 0xFF);
}

// Silver: the colour that transparent blits leave out.
constexpr Color TRANSPARENT_KEY = rgb(192, 192, 192);

} // namespace platform
