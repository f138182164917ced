#include "platform/ui/bitmap.h"
#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace platform {

QRegion drawable(const Dc* dc, const QRect& device) {
    QRegion region(device.intersected(dc->target->rect()));
    if (dc->clipped) {
        region &= dc->clip;
    }
    return region;
}

void noteDrawn(Dc* dc, const QRect& logical) {
    if (dc->window) {
        dc->touched |= logical;
    } else if (dc->selected) {
        dc->selected->resourceId = 0;
    }
}

void beginPainter(QPainter& painter, const Dc* dc) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (dc->clipped) {
        painter.setClipRegion(dc->clip);
    }
}

Dc* beginPaint(Window* window, PaintInfo* paint) {
    auto* dc = new Dc;
    dc->window = window;
    dc->target = &window->backBuffer;
    dc->clip = deviceRegion(window->invalid, window->steps);
    dc->clipped = true;
    paint->dc = dc;
    paint->area =
        window->invalid.isEmpty() ? Rect{0, 0, 0, 0} : toRect(window->invalid.boundingRect());
    paint->erase = window->eraseInvalid;
    if (window->eraseInvalid) {
        QPainter painter(&window->backBuffer);
        painter.setClipRegion(dc->clip);
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
    const bool opaqueTarget = dc->target->format() == QImage::Format_RGB32;
    for (const QRect& part : drawable(dc, deviceRect(toQRect(area), targetSteps(dc)))) {
        for (int row = part.top(); row <= part.bottom(); ++row) {
            auto* out = reinterpret_cast<QRgb*>(dc->target->scanLine(row));
            std::fill(out + part.left(), out + part.left() + part.width(),
                      opaqueTarget ? pixel : pixel | 0xFF000000u);
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
    painter.setClipRect(deviceRect(toQRect(area), targetSteps(dc)),
                        dc->clipped ? Qt::IntersectClip : Qt::ReplaceClip);
    // The handheld's small system font: two lines fit the 28-pixel status panel. Larger,
    // the same font is laid out in logical pixels and its outlines drawn at device size.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    if (targetSteps(dc) != STEPS_PER_PIXEL) {
        font.setHintingPreference(QFont::PreferNoHinting);
        const double factor = double(targetSteps(dc)) / STEPS_PER_PIXEL;
        painter.scale(factor, factor);
    }
    painter.setFont(font);
    painter.setPen(QColor(toQRgb(dc->textColor)));
    painter.drawText(toQRect(area), flags, widen(text));
    noteDrawn(dc, toQRect(area));
}

Color getPixel(Dc* dc, int x, int y) {
    if (!dc || !dc->target) {
        return 0xFFFFFFFF; // CLR_INVALID
    }
    // The device pixel at the logical pixel's centre.
    const QRect device = deviceRect(QRect(x, y, 1, 1), targetSteps(dc));
    const QPoint centre(device.left() + device.width() / 2, device.top() + device.height() / 2);
    if (device.isEmpty() || !dc->target->rect().contains(centre)) {
        return 0xFFFFFFFF;
    }
    const QRgb pixel = dc->target->pixel(centre);
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

} // namespace platform
