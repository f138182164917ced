#include "platform/ui/bitmap.h"
#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

QRgb toQRgb(Color color) {
    return qRgb(redOf(color), greenOf(color), blueOf(color));
}

// The parts of area that a context may draw on: inside its target and its clip.
QRegion drawable(const Dc* dc, const QRect& area) {
    QRegion region(area.intersected(dc->target->rect()));
    if (dc->clipped) {
        region &= dc->clip;
    }
    return region;
}

void noteDrawn(Dc* dc, const QRect& area) {
    if (dc->window) {
        dc->touched |= area;
    }
}

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

void beginPainter(QPainter& painter, Dc* dc) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (dc->clipped) {
        painter.setClipRegion(dc->clip);
    }
}

// Copies or keys one block; both images are Format_RGB32.
bool blit(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX, int sourceY,
          bool keyed, Color key) {
    if (!target || !source || !target->target || !source->target || width <= 0 || height <= 0) {
        return false;
    }
    // Keep the block inside the source; what lies outside it is not copied.
    QRect from(sourceX, sourceY, width, height);
    from = from.intersected(source->target->rect());
    if (from.isEmpty()) {
        return true;
    }
    const QPoint shift(x - sourceX, y - sourceY);
    const QRect to = from.translated(shift);
    const QRgb keyPixel = toQRgb(key) & 0xFFFFFF;
    for (const QRect& part : drawable(target, to)) {
        for (int row = part.top(); row <= part.bottom(); ++row) {
            const auto* in =
                reinterpret_cast<const QRgb*>(source->target->constScanLine(row - shift.y())) +
                (part.left() - shift.x());
            auto* out = reinterpret_cast<QRgb*>(target->target->scanLine(row)) + part.left();
            if (!keyed) {
                std::memcpy(out, in, size_t(part.width()) * sizeof(QRgb));
                continue;
            }
            for (int column = 0; column < part.width(); ++column) {
                if ((in[column] & 0xFFFFFF) != keyPixel) {
                    out[column] = in[column];
                }
            }
        }
    }
    noteDrawn(target, to);
    return true;
}

} // namespace

Dc* beginPaint(Window* window, PaintInfo* paint) {
    auto* dc = new Dc;
    dc->window = window;
    dc->target = &window->backBuffer;
    dc->clip = window->invalid;
    dc->clipped = true;
    paint->dc = dc;
    paint->area =
        window->invalid.isEmpty() ? Rect{0, 0, 0, 0} : toRect(window->invalid.boundingRect());
    paint->erase = window->eraseInvalid;
    if (window->eraseInvalid) {
        QPainter painter(&window->backBuffer);
        painter.setClipRegion(window->invalid);
        painter.fillRect(window->backBuffer.rect(), QColor(toQRgb(window->background)));
    }
    dc->touched = window->invalid.boundingRect();
    window->invalid = QRegion();
    window->eraseInvalid = false;
    return dc;
}

void endPaint(Window* window, PaintInfo* paint) {
    releaseDC(window, paint->dc);
    paint->dc = nullptr;
}

Dc* getDC(Window* window) {
    if (!window || window->destroyed) {
        return nullptr;
    }
    auto* dc = new Dc;
    dc->window = window;
    dc->target = &window->backBuffer;
    return dc;
}

void releaseDC(Window* window, Dc* dc) {
    if (!dc) {
        return;
    }
    if (window && dc->window == window) {
        showLogicalArea(window, dc->touched);
    }
    delete dc;
}

Dc* createCompatibleDC(Dc*) {
    return new Dc;
}

void deleteDC(Dc* dc) {
    delete dc;
}

Bitmap* selectBitmap(Dc* dc, Bitmap* bitmap) {
    if (!dc || dc->window) {
        return nullptr;
    }
    Bitmap* previous = dc->selected;
    dc->selected = bitmap;
    dc->target = bitmap ? &bitmap->image : nullptr;
    return previous;
}

Pen selectPen(Dc* dc, Pen pen) {
    const Pen previous = dc->pen;
    dc->pen = pen;
    return previous;
}

Brush selectBrush(Dc* dc, Brush brush) {
    const Brush previous = dc->brush;
    dc->brush = brush;
    return previous;
}

Color setTextColor(Dc* dc, Color color) {
    const Color previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

void fillRect(Dc* dc, const Rect& area, Color color) {
    if (!dc || !dc->target || area.isEmpty()) {
        return;
    }
    const QRgb pixel = toQRgb(color);
    for (const QRect& part : drawable(dc, toQRect(area))) {
        for (int row = part.top(); row <= part.bottom(); ++row) {
            auto* out = reinterpret_cast<QRgb*>(dc->target->scanLine(row));
            std::fill(out + part.left(), out + part.left() + part.width(), pixel);
        }
    }
    noteDrawn(dc, toQRect(area));
}

void frameRect(Dc* dc, const Rect& area, Color color) {
    if (area.isEmpty()) {
        return;
    }
    fillRect(dc, Rect{area.left, area.top, area.right, area.top + 1}, color);
    fillRect(dc, Rect{area.left, area.bottom - 1, area.right, area.bottom}, color);
    fillRect(dc, Rect{area.left, area.top, area.left + 1, area.bottom}, color);
    fillRect(dc, Rect{area.right - 1, area.top, area.right, area.bottom}, color);
}

void rectangle(Dc* dc, const Rect& area) {
    if (!dc || !dc->target || area.isEmpty()) {
        return;
    }
    if (!dc->brush.none) {
        fillRect(dc, area, dc->brush.color);
    }
    if (!dc->pen.none) {
        frameRect(dc, area, dc->pen.color);
    }
}

void polyline(Dc* dc, const Point* points, int count) {
    if (!dc || !dc->target || !points || count < 2 || dc->pen.none) {
        return;
    }
    const QRgb color = toQRgb(dc->pen.color);
    for (int i = 0; i + 1 < count; ++i) {
        lineWithoutEnd(dc, points[i], points[i + 1], color);
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
    painter.setPen(dc->pen.none ? QPen(Qt::NoPen) : QPen(QColor(toQRgb(dc->pen.color)), 0));
    painter.setBrush(dc->brush.none ? QBrush(Qt::NoBrush)
                                    : QBrush(QColor(toQRgb(dc->brush.color))));
    painter.drawPolygon(shape, Qt::OddEvenFill);
    noteDrawn(dc, shape.boundingRect().adjusted(0, 0, 1, 1));
}

void drawText(Dc* dc, const char* text, const Rect& area, unsigned format) {
    if (!dc || !dc->target || !text || area.isEmpty()) {
        return;
    }
    int flags = Qt::AlignTop;
    if (format & DT_CENTER) {
        flags = Qt::AlignHCenter;
    } else if (format & DT_RIGHT) {
        flags = Qt::AlignRight;
    } else {
        flags = Qt::AlignLeft;
    }
    if (format & DT_VCENTER) {
        flags |= Qt::AlignVCenter;
    } else if (format & DT_BOTTOM) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignTop;
    }
    if (format & DT_WORDBREAK) {
        flags |= Qt::TextWordWrap;
    }
    QPainter painter(dc->target);
    beginPainter(painter, dc);
    painter.setClipRect(toQRect(area), dc->clipped ? Qt::IntersectClip : Qt::ReplaceClip);
    // The handheld's small system font: two lines fit the 28-pixel status panel.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(toQRgb(dc->textColor)));
    painter.drawText(toQRect(area), flags, widen(text));
    noteDrawn(dc, toQRect(area));
}

bool bitBlt(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX, int sourceY) {
    return blit(target, x, y, width, height, source, sourceX, sourceY, false, 0);
}

bool transparentBlt(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX,
                    int sourceY, Color key) {
    return blit(target, x, y, width, height, source, sourceX, sourceY, true, key);
}

Color getPixel(Dc* dc, int x, int y) {
    if (!dc || !dc->target || !dc->target->rect().contains(x, y)) {
        return 0xFFFFFFFF; // CLR_INVALID
    }
    const QRgb pixel = dc->target->pixel(x, y);
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

} // namespace platform
