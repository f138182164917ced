// Lines and polygons. At the handheld's size they are drawn pixel by pixel as the handheld
// drew them; larger, straight lines stay whole logical pixels and everything slanted is
// drawn smooth at device resolution.
#include "platform/ui/internal.h"

#include <QPainter>
#include <QPolygon>
#include <cstdlib>

namespace platform {
namespace {

void setPixelClipped(Dc* dc, int x, int y, QRgb color) {
    if (!dc->target->rect().contains(x, y) || (dc->clipped && !dc->clip.contains(QPoint(x, y)))) {
        return;
    }
    reinterpret_cast<QRgb*>(dc->target->scanLine(y))[x] = color;
}

// One-pixel line without its end point (Bresenham).
void lineWithoutEnd(Dc* dc, Point from, Point to, QRgb color) {
    int x = from.x;
    int y = from.y;
    const int dx = std::abs(to.x - x);
    const int dy = -std::abs(to.y - y);
    const int stepX = x < to.x ? 1 : -1;
    const int stepY = y < to.y ? 1 : -1;
    int error = dx + dy;
    while (x != to.x || y != to.y) {
        setPixelClipped(dc, x, y, color);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

// The same line at a larger factor: a straight one covers exactly the device pixels of its
// logical pixels; a slanted one is a smooth stroke a logical pixel wide through their centres.
void deviceLineWithoutEnd(Dc* dc, Point from, Point to, QRgb color) {
    const int steps = targetSteps(dc);
    if (from.x == to.x || from.y == to.y) {
        const QRect pixels =
            from.x == to.x ? QRect(from.x, std::min(from.y, to.y + 1), 1, std::abs(to.y - from.y))
                           : QRect(std::min(from.x, to.x + 1), from.y, std::abs(to.x - from.x), 1);
        for (const QRect& part : drawable(dc, deviceRect(pixels, steps))) {
            for (int row = part.top(); row <= part.bottom(); ++row) {
                auto* out = reinterpret_cast<QRgb*>(dc->target->scanLine(row));
                std::fill(out + part.left(), out + part.left() + part.width(), color);
            }
        }
        return;
    }
    QPainter painter(dc->target);
    beginPainter(painter, dc);
    painter.setRenderHint(QPainter::Antialiasing);
    const double factor = double(steps) / STEPS_PER_PIXEL;
    painter.scale(factor, factor);
    painter.setPen(QPen(QColor(color), 1.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(from.x + 0.5, from.y + 0.5), QPointF(to.x + 0.5, to.y + 0.5));
}

QRect boundsOf(const Point* points, int count) {
    int left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

void polyline(Dc* dc, const Point* points, int count) {
    if (!dc || !dc->target || !points || count < 2 || dc->pen.none) {
        return;
    }
    const QRgb color = toQRgb(dc->pen.color);
    const bool handheld = targetSteps(dc) == STEPS_PER_PIXEL;
    for (int i = 0; i + 1 < count; ++i) {
        if (handheld) {
            lineWithoutEnd(dc, points[i], points[i + 1], color);
        } else {
            deviceLineWithoutEnd(dc, points[i], points[i + 1], color);
        }
    }
    noteDrawn(dc, boundsOf(points, count));
}

void polygon(Dc* dc, const Point* points, int count) {
    if (!dc || !dc->target || !points || count < 2) {
        return;
    }
    QPolygon shape;
    for (int i = 0; i < count; ++i) {
        shape << QPoint(points[i].x, points[i].y);
    }
    QPainter painter(dc->target);
    beginPainter(painter, dc);
    const int steps = targetSteps(dc);
    if (steps == STEPS_PER_PIXEL) {
        painter.setPen(dc->pen.none ? QPen(Qt::NoPen) : QPen(QColor(toQRgb(dc->pen.color)), 0));
    } else {
        // Smooth, with the outline a logical pixel wide around the same pixel centres.
        painter.setRenderHint(QPainter::Antialiasing);
        const double factor = double(steps) / STEPS_PER_PIXEL;
        painter.scale(factor, factor);
        painter.translate(0.5, 0.5);
        painter.setPen(dc->pen.none ? QPen(Qt::NoPen)
                                    : QPen(QColor(toQRgb(dc->pen.color)), 1.0, Qt::SolidLine,
                                           Qt::SquareCap, Qt::MiterJoin));
    }
    painter.setBrush(dc->brush.none ? QBrush(Qt::NoBrush)
                                    : QBrush(QColor(toQRgb(dc->brush.color))));
    painter.drawPolygon(shape, Qt::OddEvenFill);
    noteDrawn(dc, shape.boundingRect().adjusted(0, 0, 1, 1));
}

} // namespace platform
