#include "platform/ui/bitmap_art.h"

#include "platform/ui/piece_art.h"
#include "platform/ui/scaling.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace platform {
namespace {

const QRgb KEY = qRgb(192, 192, 192);

// The logical coordinate of a device pixel's centre, measured from the logical pixel
// centres: whole numbers at the handheld's size, so the drawings there stay as they were.
double logicalCentre(int device, int steps) {
    return (device + 0.5) * STEPS_PER_PIXEL / steps - 0.5;
}

// ---- noise -------------------------------------------------------------------

double hash2(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double smoothNoise(double x, double y, uint32_t seed) {
    const int x0 = int(std::floor(x));
    const int y0 = int(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double a = hash2(x0, y0, seed), b = hash2(x0 + 1, y0, seed);
    const double c = hash2(x0, y0 + 1, seed), d = hash2(x0 + 1, y0 + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double fbm(double x, double y, uint32_t seed) {
    double sum = 0, amplitude = 0.5, frequency = 1;
    for (int octave = 0; octave < 4; ++octave) {
        sum += amplitude * smoothNoise(x * frequency, y * frequency, seed + uint32_t(octave));
        amplitude *= 0.5;
        frequency *= 2;
    }
    return sum;
}

QRgb mix(QRgb a, QRgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(int(qRed(a) + (qRed(b) - qRed(a)) * t + 0.5),
                int(qGreen(a) + (qGreen(b) - qGreen(a)) * t + 0.5),
                int(qBlue(a) + (qBlue(b) - qBlue(a)) * t + 0.5));
}

QRgb shade(QRgb colour, double amount) {
    auto channel = [amount](int value) { return std::clamp(int(value * amount + 0.5), 0, 255); };
    return qRgb(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)));
}

// ---- board textures ------------------------------------------------------------

// A texel at logical coordinates; between the handheld's pixel centres at larger sizes.
using Texel = std::function<QRgb(double x, double y, bool dark)>;

QImage texture(const Texel& texel, int steps) {
    QImage image(deviceSize(QSize(60, 30), steps), QImage::Format_RGB32);
    const int height = image.height();
    for (int half = 0; half < 2; ++half) {
        const QRect cell = deviceRect(QRect(half * 30, 0, 30, 30), steps);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < cell.width(); ++x) {
                image.setPixel(cell.left() + x, y,
                               texel(logicalCentre(x, steps), logicalCentre(y, steps), half == 1));
            }
        }
    }
    return image;
}

Texel wood(QRgb light, QRgb lightGrain, QRgb dark, QRgb darkGrain, uint32_t seed) {
    return [=](double x, double y, bool isDark) {
        const uint32_t s = seed + (isDark ? 17 : 0);
        // Long grain along the square, bent by low-frequency noise; fine fibres on top.
        const double bend = 5.0 * fbm(x / 14.0, y / 6.0, s);
        const double rings = 0.5 + 0.5 * std::sin((y + bend) * 1.15);
        const double fibre = fbm(x / 2.5, y / 0.8, s + 5);
        const double t = 0.65 * std::pow(rings, 3.0) + 0.35 * fibre;
        return isDark ? mix(dark, darkGrain, t) : mix(light, lightGrain, t);
    };
}

Texel marble(QRgb light, QRgb lightVein, QRgb dark, QRgb darkVein, uint32_t seed) {
    return [=](double x, double y, bool isDark) {
        const uint32_t s = seed + (isDark ? 31 : 0);
        const double turbulence = 6.0 * fbm(x / 9.0, y / 9.0, s);
        const double vein = std::fabs(std::sin((x * 0.9 + y * 0.6) / 6.0 + turbulence));
        const double cloud = fbm(x / 6.0, y / 6.0, s + 9);
        const QRgb base = isDark ? dark : light;
        const QRgb veinColour = isDark ? darkVein : lightVein;
        return shade(mix(veinColour, base, std::pow(vein, 0.35)), 0.92 + 0.16 * cloud);
    };
}

Texel slate(QRgb light, QRgb dark, uint32_t seed) {
    return [=](double x, double y, bool isDark) {
        const uint32_t s = seed + (isDark ? 7 : 0);
        const double grain = fbm(x / 3.0, y / 12.0, s);
        const double cleft = std::fabs(std::sin(y * 0.55 + 3.0 * fbm(x / 10.0, 0.5, s + 3)));
        const double amount = 0.88 + 0.18 * grain - (cleft < 0.08 ? 0.08 : 0.0);
        return shade(isDark ? dark : light, amount);
    };
}

Texel tiled(QRgb light, QRgb dark, uint32_t seed) {
    return [=](double x, double y, bool isDark) {
        const QRgb glaze = isDark ? dark : light;
        // A glazed tile: a bevel lit from the top left, a soft glaze gradient inside. The
        // bevel keeps the handheld's whole pixels at every size.
        const int column = std::clamp(int(std::floor(x + 0.5)), 0, 29);
        const int row = std::clamp(int(std::floor(y + 0.5)), 0, 29);
        if (column == 0 || row == 0) {
            return shade(glaze, 1.18);
        }
        if (column == 29 || row == 29) {
            return shade(glaze, 0.72);
        }
        if (column == 1 || row == 1) {
            return shade(glaze, 1.08);
        }
        if (column == 28 || row == 28) {
            return shade(glaze, 0.85);
        }
        const double gradient = 1.04 - 0.08 * (x + y) / 58.0;
        return shade(glaze,
                     gradient + 0.03 * (fbm(x / 4.0, y / 4.0, seed + (isDark ? 3 : 0)) - 0.5));
    };
}

struct Board {
    int id;
    Texel texel;
};
const Board BOARDS[] = {
    {150, wood(qRgb(240, 224, 194), qRgb(214, 188, 146), qRgb(196, 160, 112), qRgb(160, 122, 78),
               1)}, // Ash
    {151, wood(qRgb(226, 196, 146), qRgb(196, 158, 102), qRgb(160, 110, 60), qRgb(118, 76, 38),
               2)}, // Oak
    {152, wood(qRgb(226, 170, 128), qRgb(200, 138, 98), qRgb(128, 52, 34), qRgb(88, 30, 20),
               3)}, // Mahogany
    {141, marble(qRgb(244, 222, 218), qRgb(200, 150, 146), qRgb(170, 60, 56), qRgb(232, 180, 170),
                 4)}, // Red Marble
    {139, marble(qRgb(226, 238, 222), qRgb(160, 190, 160), qRgb(52, 112, 78), qRgb(170, 214, 180),
                 5)}, // Green Marble
    {138, marble(qRgb(226, 232, 244), qRgb(160, 176, 206), qRgb(66, 96, 156), qRgb(180, 196, 230),
                 6)}, // Blue Marble
    {140, marble(qRgb(236, 236, 234), qRgb(176, 176, 176), qRgb(118, 118, 120), qRgb(206, 206, 206),
                 7)},                                         // Grey Marble
    {148, slate(qRgb(176, 184, 190), qRgb(84, 92, 102), 8)},  // Slate
    {149, tiled(qRgb(244, 240, 226), qRgb(92, 140, 176), 9)}, // Tiled
};

// ---- pieces ------------------------------------------------------------------------

// A piece drawn `super` times larger: where its silhouette lies and what colour each
// big pixel has there.
struct BigPiece {
    int big;
    std::vector<uint8_t> outside; // 1 where the outside reaches
    QImage colours;
};

BigPiece bigPiece(const PieceStyle& style, int kind, bool white, int size, int super,
                  double logicalPixel) {
    const int big = size * super;
    QPainterPath solid = glyphPath(style, SOLID_GLYPHS[kind], big);
    QPainterPath outline = glyphPath(style, OUTLINE_GLYPHS[kind], big);
    // All pieces share one scale (the king's height), so pawns stay smaller than kings.
    const QRectF kingBounds = glyphPath(style, SOLID_GLYPHS[KING], big).boundingRect();
    const double scale = big * style.height / kingBounds.height();
    const QRectF bounds = solid.boundingRect().united(outline.boundingRect());
    QTransform place;
    place.translate(big / 2.0, big * (0.5 + style.height / 2.0) - logicalPixel * super / 2);
    place.scale(scale, scale);
    place.translate(-bounds.center().x(), -bounds.bottom());
    solid = place.map(solid);
    outline = place.map(outline);

    // Coverage of the glyph that gives the shape (solid for both colours).
    QImage shape(big, big, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(solid, Qt::black);
        painter.fillPath(outline, Qt::black);
    }
    // The silhouette: everything the outside cannot reach.
    BigPiece result{big, std::vector<uint8_t>(size_t(big * big), 0), QImage()};
    std::vector<uint8_t>& outside = result.outside;
    std::vector<int> stack;
    auto ink = [&](int x, int y) {
        return qAlpha(reinterpret_cast<const QRgb*>(shape.constScanLine(y))[x]) >= 128;
    };
    for (int i = 0; i < big; ++i) {
        stack.insert(stack.end(), {i, 0, i, big - 1, 0, i, big - 1, i});
    }
    while (!stack.empty()) {
        const int y = stack.back();
        stack.pop_back();
        const int x = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= big || y >= big || outside[size_t(y * big + x)] || ink(x, y)) {
            continue;
        }
        outside[size_t(y * big + x)] = 1;
        stack.insert(stack.end(), {x + 1, y, x - 1, y, x, y + 1, x, y - 1});
    }

    result.colours = QImage(big, big, QImage::Format_ARGB32_Premultiplied);
    result.colours.fill(Qt::transparent);
    {
        QPainter painter(&result.colours);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, big * 0.1, 0, big * 0.95);
        if (white) {
            fill.setColorAt(0, QColor(style.whiteFillTop));
            fill.setColorAt(1, QColor(style.whiteFillBottom));
            painter.fillRect(result.colours.rect(), fill);
            painter.fillPath(outline, QColor(style.whiteInk));
        } else {
            fill.setColorAt(0, QColor(style.blackFillTop));
            fill.setColorAt(1, QColor(style.blackFillBottom));
            painter.fillRect(result.colours.rect(), QColor(style.blackInk));
            painter.fillPath(solid, fill);
        }
    }
    return result;
}

// The mean colour of the big pixels of one pixel that lie inside the silhouette.
struct Sample {
    int inside;
    int red, green, blue;
};
Sample sample(const BigPiece& piece, int super, int x, int y) {
    Sample s{0, 0, 0, 0};
    for (int sy = 0; sy < super; ++sy) {
        const int by = y * super + sy;
        const auto* row = reinterpret_cast<const QRgb*>(piece.colours.constScanLine(by));
        for (int sx = 0; sx < super; ++sx) {
            const int bx = x * super + sx;
            if (piece.outside[size_t(by * piece.big + bx)]) {
                continue;
            }
            ++s.inside;
            s.red += qRed(row[bx]);
            s.green += qGreen(row[bx]);
            s.blue += qBlue(row[bx]);
        }
    }
    return s;
}

// At the handheld's size: drawn four times larger and reduced, edge pixels either the
// piece's own outline colour or the transparent key, so no grey halo shows on any board.
QImage keyedPiece(const PieceStyle& style, int kind, bool white, int size) {
    constexpr int SUPER = 4;
    const BigPiece big = bigPiece(style, kind, white, size, SUPER, 1.0);
    QImage result(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Sample s = sample(big, SUPER, x, y);
            if (s.inside * 2 < SUPER * SUPER) {
                result.setPixel(x, y, KEY);
                continue;
            }
            QRgb colour = qRgb(s.red / s.inside, s.green / s.inside, s.blue / s.inside);
            if ((colour & 0xFFFFFF) == (KEY & 0xFFFFFF)) {
                colour = qRgb(191, 191, 191); // never the key itself inside a piece
            }
            result.setPixel(x, y, colour);
        }
    }
    // A pixel on the piece's rim takes the rim's colour: a blend of fill and
    // outline there would read as a grey halo on dark boards.
    const QImage drawn = result;
    auto isKey = [&](int x, int y) {
        return x < 0 || y < 0 || x >= size || y >= size ||
               (drawn.pixel(x, y) & 0xFFFFFF) == (KEY & 0xFFFFFF);
    };
    const QRgb rim = white ? style.whiteInk : style.blackFillBottom;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (!isKey(x, y) &&
                (isKey(x - 1, y) || isKey(x + 1, y) || isKey(x, y - 1) || isKey(x, y + 1))) {
                result.setPixel(x, y, rim);
            }
        }
    }
    return result;
}

// At larger sizes: the share of each pixel the silhouette covers becomes its alpha, so
// the rim blends into whatever board lies below.
QImage coveredPiece(const PieceStyle& style, int kind, bool white, int size, int steps) {
    // Enough samples per pixel for smooth edges; fewer as the pixels themselves get smaller.
    const int super = size >= 60 ? 2 : 3;
    const BigPiece big = bigPiece(style, kind, white, size, super, double(steps) / STEPS_PER_PIXEL);
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    const int samples = super * super;
    for (int y = 0; y < size; ++y) {
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const Sample s = sample(big, super, x, y);
            if (s.inside == 0) {
                out[x] = 0;
                continue;
            }
            // Premultiplied: the mean colour times the covered share.
            const int alpha = 255 * s.inside / samples;
            out[x] = qRgba(s.red * alpha / 255 / s.inside, s.green * alpha / 255 / s.inside,
                           s.blue * alpha / 255 / s.inside, alpha);
        }
    }
    return result;
}

// A strip of the twelve pieces, white then black, each in its cell of `size` logical pixels.
QImage strip(const PieceStyle& style, int size, int width, int steps) {
    const bool handheld = steps == STEPS_PER_PIXEL;
    QImage image(deviceSize(QSize(width, size), steps),
                 handheld ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(handheld ? QColor(KEY) : QColor(Qt::transparent));
    QPainter painter(&image);
    for (int colour = 0; colour < 2; ++colour) {
        for (int kind = 0; kind < 6; ++kind) {
            const QRect cell = deviceRect(QRect((colour * 6 + kind) * size, 0, size, size), steps);
            const int pixels = std::min(cell.width(), cell.height());
            painter.drawImage(cell.topLeft(),
                              handheld ? keyedPiece(style, kind, colour == 0, pixels)
                                       : coveredPiece(style, kind, colour == 0, pixels, steps));
        }
    }
    return image;
}

struct PieceStrip {
    int id;
    const PieceStyle* style;
    int size;
    int width;
};
const PieceStrip PIECE_STRIPS[] = {
    {116, &DELUXE_STYLE, 30, 360},  {135, &DELUXE_STYLE, 24, 288}, {144, &CLASSIC_STYLE, 30, 360},
    {142, &CLASSIC_STYLE, 24, 289}, {146, &MODERN_STYLE, 30, 360}, {145, &MODERN_STYLE, 24, 288},
};

// ---- the setup board's frame -------------------------------------------------------------

// The frame's pieces: 128 the top edge with the files above the 192-pixel board, 130 the
// left edge with the ranks (the board's squares start 14 pixels down), 131 and 132 the
// right and bottom edges.
QImage frameArt(int id, int steps) {
    const QRgb wood = qRgb(104, 70, 40);
    const QColor label(244, 228, 196);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(10);
    const QSize sizes[] = {{192, 14}, {0, 0}, {16, 212}, {8, 212}, {192, 6}};
    const QSize logical = sizes[id - 128];
    QImage image(deviceSize(logical, steps), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double u = logicalCentre(x, steps), v = logicalCentre(y, steps);
            image.setPixel(x, y, shade(wood, 0.9 + 0.2 * fbm(u / 6.0, v / 2.0, 77)));
        }
    }
    QPainter painter(&image);
    auto line = [&](const QRect& area, const QColor& colour) {
        painter.fillRect(deviceRect(area, steps), colour);
    };
    auto labels = [&] {
        painter.setFont(font);
        painter.setPen(label);
        if (steps != STEPS_PER_PIXEL) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(double(steps) / STEPS_PER_PIXEL, double(steps) / STEPS_PER_PIXEL);
        }
    };
    switch (id) {
    case 130:
        labels();
        for (int row = 0; row < 8; ++row) {
            painter.drawText(QRect(2, 14 + row * 24, 12, 24), Qt::AlignCenter,
                             QString::number(8 - row));
        }
        painter.resetTransform();
        line(QRect(15, 13, 1, 193), QColor(60, 38, 20));
        break;
    case 128:
        labels();
        for (int file = 0; file < 8; ++file) {
            painter.drawText(QRect(file * 24, 0, 24, 13), Qt::AlignCenter,
                             QString(QChar('a' + file)));
        }
        painter.resetTransform();
        line(QRect(0, 13, 192, 1), QColor(60, 38, 20));
        break;
    case 131:
        line(QRect(0, 13, 1, 193), QColor(150, 110, 70));
        break;
    default:
        line(QRect(0, 0, 192, 1), QColor(150, 110, 70));
        break;
    }
    return image;
}

// ---- the button row ------------------------------------------------------------------------

// Eight 16 x 16 images. At the handheld's size drawn without smoothing on the key; at larger
// sizes smooth on transparency, the outlines a logical pixel wide.
QImage buttonsArt(int steps) {
    const bool handheld = steps == STEPS_PER_PIXEL;
    const double factor = double(steps) / STEPS_PER_PIXEL;
    QImage image(deviceSize(QSize(128, 16), steps),
                 handheld ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(handheld ? QColor(KEY) : QColor(Qt::transparent));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, !handheld);
    const QColor ink(32, 40, 64);
    const QColor blue(40, 96, 200);
    auto cell = [&](int index) {
        painter.resetTransform();
        if (!handheld) {
            // Integer coordinates are pixel centres when smooth, as they are when not.
            painter.scale(factor, factor);
            painter.translate(0.5, 0.5);
        }
        painter.translate(index * 16, 0);
    };
    auto triangle = [&](std::initializer_list<QPoint> points, const QColor& colour) {
        painter.setPen(ink);
        painter.setBrush(colour);
        painter.drawPolygon(QPolygon(QVector<QPoint>(points)));
    };
    // 0 Back and 2 Forward: arrows.
    cell(0);
    triangle({{11, 2}, {4, 8}, {11, 14}}, blue);
    cell(2);
    triangle({{4, 2}, {11, 8}, {4, 14}}, blue);
    // 1 Game moves: a score sheet.
    cell(1);
    painter.setPen(ink);
    painter.setBrush(Qt::white);
    painter.drawRect(3, 1, 10, 13);
    for (int line = 0; line < 4; ++line) {
        painter.drawLine(5, 4 + line * 3, 11, 4 + line * 3);
    }
    // 3 Move now: a lightning bolt.
    cell(3);
    triangle({{9, 1}, {3, 9}, {7, 9}, {6, 15}, {12, 6}, {8, 6}, {10, 1}}, QColor(248, 200, 40));
    // 4 Hint: a light bulb.
    cell(4);
    painter.setPen(ink);
    painter.setBrush(QColor(255, 236, 90));
    painter.drawEllipse(3, 1, 9, 9);
    painter.setBrush(QColor(150, 150, 160));
    painter.drawRect(5, 10, 5, 4);
    painter.drawLine(6, 15, 8, 15);
    // 5 Flip board: arrows up and down.
    cell(5);
    triangle({{4, 1}, {1, 5}, {3, 5}, {3, 14}, {5, 14}, {5, 5}, {7, 5}}, blue);
    triangle({{11, 14}, {8, 10}, {10, 10}, {10, 1}, {12, 1}, {12, 10}, {14, 10}}, blue);
    // 6 Options: a gear.
    cell(6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(3, 3, 10, 10);
    for (const QRect& tooth : {QRect(7, 1, 2, 14), QRect(1, 7, 14, 2)}) {
        painter.drawRect(tooth);
    }
    painter.drawRect(3, 3, 2, 2);
    painter.drawRect(11, 3, 2, 2);
    painter.drawRect(3, 11, 2, 2);
    painter.drawRect(11, 11, 2, 2);
    painter.setBrush(QColor(220, 224, 232));
    painter.drawEllipse(6, 6, 4, 4);
    // 7 New game: a pawn and a green plus.
    cell(7);
    painter.setPen(ink);
    painter.setBrush(Qt::white);
    painter.drawEllipse(3, 2, 5, 5);
    triangle({{5, 7}, {2, 14}, {10, 14}, {7, 7}}, Qt::white);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 150, 60));
    painter.drawRect(11, 3, 2, 8);
    painter.drawRect(8, 6, 8, 2);
    painter.end();
    if (!handheld) {
        return image;
    }
    // Keep every drawn pixel off the key, so nothing drawn turns transparent.
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 128; ++x) {
            const QRgb colour = image.pixel(x, y);
            if ((colour & 0xFFFFFF) != (KEY & 0xFFFFFF) && qGray(colour) == 192 &&
                qRed(colour) == qBlue(colour)) {
                image.setPixel(x, y, qRgb(191, 191, 191));
            }
        }
    }
    return image;
}

} // namespace

std::vector<int> artBitmapIds() {
    std::vector<int> ids;
    for (const Board& board : BOARDS) {
        ids.push_back(board.id);
    }
    for (const PieceStrip& pieces : PIECE_STRIPS) {
        ids.push_back(pieces.id);
    }
    ids.insert(ids.end(), {128, 130, 131, 132, 115});
    return ids;
}

QImage drawBitmapArt(int resourceId, int steps) {
    if (steps < 1) {
        return QImage();
    }
    for (const Board& board : BOARDS) {
        if (board.id == resourceId) {
            return texture(board.texel, steps);
        }
    }
    for (const PieceStrip& pieces : PIECE_STRIPS) {
        if (pieces.id == resourceId) {
            return strip(*pieces.style, pieces.size, pieces.width, steps);
        }
    }
    if (resourceId == 128 || (resourceId >= 130 && resourceId <= 132)) {
        return frameArt(resourceId, steps);
    }
    if (resourceId == 115) {
        return buttonsArt(steps);
    }
    return QImage();
}

} // namespace platform
