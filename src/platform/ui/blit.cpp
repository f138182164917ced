// Copying blocks between contexts, at the device factor of each. Art drawn with coverage
// (pieces and buttons larger than the handheld's) is blended over what lies below.
#include "platform/ui/internal.h"

#include <cstring>

namespace platform {
namespace {

QSize logicalSizeOf(const Dc* dc) {
    return dc->selected ? dc->selected->logical : dc->window->logicalSize;
}

// A premultiplied pixel over an opaque one.
inline QRgb over(QRgb top, QRgb below) {
    const uint32_t alpha = qAlpha(top);
    if (alpha == 255) {
        return top;
    }
    if (alpha == 0) {
        return below;
    }
    const uint32_t rest = 255 - alpha;
    auto channel = [rest](uint32_t a, uint32_t b) { return a + (b * rest + 127) / 255; };
    return qRgb(int(channel(qRed(top), qRed(below))), int(channel(qGreen(top), qGreen(below))),
                int(channel(qBlue(top), qBlue(below))));
}

// Copies or keys one block.
bool blit(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX, int sourceY,
          bool keyed, Color key) {
    if (!target || !source || !target->target || !source->target || width <= 0 || height <= 0) {
        return false;
    }
    const int targetFactor = targetSteps(target);
    if (source->selected) {
        matchSteps(source->selected, targetFactor);
    }
    // Keep the block inside the source; what lies outside it is not copied.
    QRect from(sourceX, sourceY, width, height);
    from = from.intersected(QRect(QPoint(0, 0), logicalSizeOf(source)));
    if (from.isEmpty()) {
        return true;
    }
    const QRect to = from.translated(x - sourceX, y - sourceY);
    const QRect deviceTo = deviceRect(to, targetFactor);
    const QRect deviceFrom =
        deviceRect(from, targetSteps(source)).intersected(source->target->rect());
    if (deviceTo.isEmpty() || deviceFrom.isEmpty()) {
        return true;
    }
    const bool sameSize = deviceTo.size() == deviceFrom.size();
    const bool covered = source->target->format() == QImage::Format_ARGB32_Premultiplied;
    const QRgb keyPixel = toQRgb(key) & 0xFFFFFF;
    // Column and row of the source for a device pixel of the target: a plain shift when
    // both are at one factor, the nearest pixel when they are not.
    auto sourceColumn = [&](int column) {
        return deviceFrom.left() +
               (column - deviceTo.left()) * deviceFrom.width() / deviceTo.width();
    };
    auto sourceRow = [&](int row) {
        return deviceFrom.top() + (row - deviceTo.top()) * deviceFrom.height() / deviceTo.height();
    };
    for (const QRect& part : drawable(target, deviceTo)) {
        for (int row = part.top(); row <= part.bottom(); ++row) {
            const auto* in =
                reinterpret_cast<const QRgb*>(source->target->constScanLine(sourceRow(row)));
            auto* out = reinterpret_cast<QRgb*>(target->target->scanLine(row));
            if (sameSize && !covered && !keyed) {
                std::memcpy(out + part.left(), in + sourceColumn(part.left()),
                            size_t(part.width()) * sizeof(QRgb));
                continue;
            }
            for (int column = part.left(); column <= part.right(); ++column) {
                const QRgb pixel = in[sameSize ? column - deviceTo.left() + deviceFrom.left()
                                               : sourceColumn(column)];
                if (covered) {
                    // Without a key, the transparent parts become the key colour.
                    out[column] = over(pixel, keyed ? out[column] : (toQRgb(key) | 0xFF000000u));
                } else if (!keyed || (pixel & 0xFFFFFF) != keyPixel) {
                    out[column] = pixel;
                }
            }
        }
    }
    noteDrawn(target, to);
    return true;
}

} // namespace

bool bitBlt(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX, int sourceY) {
    return blit(target, x, y, width, height, source, sourceX, sourceY, false, TRANSPARENT_KEY);
}

bool transparentBlt(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX,
                    int sourceY, Color key) {
    return blit(target, x, y, width, height, source, sourceX, sourceY, true, key);
}

} // namespace platform
