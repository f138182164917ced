#include "board/arrow.h"

#include <cmath>

using platform::Point;

int arrowPolygon(Point tail, Point head, int squareSize, Point* points, int capacity) {
    if (capacity < 8 || (tail.x == head.x && tail.y == head.y)) return 0;
    // Single precision throughout, as the outline has always been computed; the
    // pixel positions depend on it.
    const float x1 = float(tail.x), y1 = float(tail.y);
    const float x2 = float(head.x), y2 = float(head.y);
    const float f = float(squareSize * 0.09);
    const float g = x1 - x2;
    const float h = y1 - y2;
    const float k = float(1.0 / std::sqrt(double(h * h + g * g)));
    const float o = h * f * k;
    const float r = g * f * k;
    const Point base{head.x - int(r * -4.6f), head.y - int(o * -4.6f)};

    const Point p1{int(float(base.x) - o), int(float(base.y) + r)};
    const Point p5{int(float(base.x) + o), int(float(base.y) - r)};
    points[0] = Point{int(x1 - o), int(y1 + r)};
    points[1] = p1;
    points[2] = Point{p1.x + int(2.3f * r - 2.4f * o), p1.y + int(2.4f * r + 2.3f * o)};
    points[3] = head;
    points[4] = Point{p5.x + int(2.4f * o + 2.3f * r), p5.y + int(2.3f * o - 2.4f * r)};
    points[5] = p5;
    points[6] = Point{int(x1 + o), int(y1 - r)};
    points[7] = Point{int(x1 - 2.4f * r), int(y1 - 2.4f * o)};
    if (capacity < ARROW_POINTS) return 8;
    points[8] = points[0];
    return ARROW_POINTS;
}
