// Draws the program's bitmaps: board textures, piece strips, the setup board's
// frame and the button row. Pieces come from the chess glyphs of the DejaVu fonts.
//
//   draw-bitmaps OUTPUT_FOLDER
//
// Everything is computed from fixed seeds: running it again gives the same files.

#include "piece_art.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QString outputFolder;

const QRgb KEY = qRgb(192, 192, 192);

bool save(const QImage& image, int id) {
    const QString path = outputFolder + QString("/%1.png").arg(id);
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
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

using Texel = std::function<QRgb(int x, int y, bool dark)>;

QImage texture(const Texel& texel) {
    QImage image(60, 30, QImage::Format_RGB32);
    for (int half = 0; half < 2; ++half) {
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                image.setPixel(half * 30 + x, y, texel(x, y, half == 1));
            }
        }
    }
    return image;
}

Texel wood(QRgb light, QRgb lightGrain, QRgb dark, QRgb darkGrain, uint32_t seed) {
    return [=](int x, int y, bool isDark) {
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
    return [=](int x, int y, bool isDark) {
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
    return [=](int x, int y, bool isDark) {
        const uint32_t s = seed + (isDark ? 7 : 0);
        const double grain = fbm(x / 3.0, y / 12.0, s);
        const double cleft = std::fabs(std::sin(y * 0.55 + 3.0 * fbm(x / 10.0, 0.5, s + 3)));
        const double amount = 0.88 + 0.18 * grain - (cleft < 0.08 ? 0.08 : 0.0);
        return shade(isDark ? dark : light, amount);
    };
}

Texel tiled(QRgb light, QRgb dark, uint32_t seed) {
    return [=](int x, int y, bool isDark) {
        const QRgb glaze = isDark ? dark : light;
        // A glazed tile: a bevel lit from the top left, a soft glaze gradient inside.
        if (x == 0 || y == 0) {
            return shade(glaze, 1.18);
        }
        if (x == 29 || y == 29) {
            return shade(glaze, 0.72);
        }
        if (x == 1 || y == 1) {
            return shade(glaze, 1.08);
        }
        if (x == 28 || y == 28) {
            return shade(glaze, 0.85);
        }
        const double gradient = 1.04 - 0.08 * (x + y) / 58.0;
        return shade(glaze,
                     gradient + 0.03 * (fbm(x / 4.0, y / 4.0, seed + (isDark ? 3 : 0)) - 0.5));
    };
}

bool drawTextures() {
    struct Board {
        int id;
        Texel texel;
    };
    const Board boards[] = {
        {150, wood(qRgb(240, 224, 194), qRgb(214, 188, 146), qRgb(196, 160, 112),
                   qRgb(160, 122, 78), 1)}, // Ash
        {151, wood(qRgb(226, 196, 146), qRgb(196, 158, 102), qRgb(160, 110, 60), qRgb(118, 76, 38),
                   2)}, // Oak
        {152, wood(qRgb(226, 170, 128), qRgb(200, 138, 98), qRgb(128, 52, 34), qRgb(88, 30, 20),
                   3)}, // Mahogany
        {141, marble(qRgb(244, 222, 218), qRgb(200, 150, 146), qRgb(170, 60, 56),
                     qRgb(232, 180, 170), 4)}, // Red Marble
        {139, marble(qRgb(226, 238, 222), qRgb(160, 190, 160), qRgb(52, 112, 78),
                     qRgb(170, 214, 180), 5)}, // Green Marble
        {138, marble(qRgb(226, 232, 244), qRgb(160, 176, 206), qRgb(66, 96, 156),
                     qRgb(180, 196, 230), 6)}, // Blue Marble
        {140, marble(qRgb(236, 236, 234), qRgb(176, 176, 176), qRgb(118, 118, 120),
                     qRgb(206, 206, 206), 7)},                    // Grey Marble
        {148, slate(qRgb(176, 184, 190), qRgb(84, 92, 102), 8)},  // Slate
        {149, tiled(qRgb(244, 240, 226), qRgb(92, 140, 176), 9)}, // Tiled
    };
    for (const Board& board : boards) {
        if (!save(texture(board.texel), board.id)) {
            return false;
        }
    }
    return true;
}

// ---- pieces ------------------------------------------------------------------------

// One piece, drawn four times larger and reduced: edge pixels are either the
// piece's own outline colour or the transparent key, so no grey halo shows on any board.
QImage piece(const PieceStyle& style, int kind, bool white, int size) {
    constexpr int SUPER = 4;
    const int big = size * SUPER;
    QPainterPath solid = glyphPath(style, SOLID_GLYPHS[kind], big);
    QPainterPath outline = glyphPath(style, OUTLINE_GLYPHS[kind], big);
    // All pieces share one scale (the king's height), so pawns stay smaller than kings.
    const QRectF kingBounds = glyphPath(style, SOLID_GLYPHS[KING], big).boundingRect();
    const double scale = big * style.height / kingBounds.height();
    const QRectF bounds = solid.boundingRect().united(outline.boundingRect());
    QTransform place;
    place.translate(big / 2.0, big * (0.5 + style.height / 2.0) - 1.0 * SUPER / 2);
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
    std::vector<uint8_t> outside(size_t(big * big), 0);
    std::vector<int> stack;
    auto ink = [&](int x, int y) { return qAlpha(shape.pixel(x, y)) >= 128; };
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

    QImage colours(big, big, QImage::Format_ARGB32_Premultiplied);
    colours.fill(Qt::transparent);
    {
        QPainter painter(&colours);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, big * 0.1, 0, big * 0.95);
        if (white) {
            fill.setColorAt(0, QColor(style.whiteFillTop));
            fill.setColorAt(1, QColor(style.whiteFillBottom));
            painter.fillRect(colours.rect(), fill);
            painter.fillPath(outline, QColor(style.whiteInk));
        } else {
            fill.setColorAt(0, QColor(style.blackFillTop));
            fill.setColorAt(1, QColor(style.blackFillBottom));
            painter.fillRect(colours.rect(), QColor(style.blackInk));
            painter.fillPath(solid, fill);
        }
    }

    QImage result(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int inside = 0;
            int red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < SUPER; ++sy) {
                for (int sx = 0; sx < SUPER; ++sx) {
                    const int bx = x * SUPER + sx, by = y * SUPER + sy;
                    if (outside[size_t(by * big + bx)]) {
                        continue;
                    }
                    const QRgb colour = colours.pixel(bx, by);
                    ++inside;
                    red += qRed(colour);
                    green += qGreen(colour);
                    blue += qBlue(colour);
                }
            }
            if (inside * 2 < SUPER * SUPER) {
                result.setPixel(x, y, KEY);
                continue;
            }
            QRgb colour = qRgb(red / inside, green / inside, blue / inside);
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

QImage strip(const PieceStyle& style, int size, int width) {
    QImage image(width, size, QImage::Format_RGB32);
    image.fill(KEY);
    QPainter painter(&image);
    for (int colour = 0; colour < 2; ++colour) {
        for (int kind = 0; kind < 6; ++kind) {
            painter.drawImage((colour * 6 + kind) * size, 0, piece(style, kind, colour == 0, size));
        }
    }
    return image;
}

bool drawPieces() {
    return save(strip(DELUXE_STYLE, 30, 360), 116) && save(strip(DELUXE_STYLE, 24, 288), 135) &&
           save(strip(CLASSIC_STYLE, 30, 360), 144) && save(strip(CLASSIC_STYLE, 24, 289), 142) &&
           save(strip(MODERN_STYLE, 30, 360), 146) && save(strip(MODERN_STYLE, 24, 288), 145);
}

// ---- the setup board's frame -------------------------------------------------------------

bool drawFrames() {
    const QRgb wood = qRgb(104, 70, 40);
    const QColor label(244, 228, 196);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(10);
    auto frame = [&](int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, shade(wood, 0.9 + 0.2 * fbm(x / 6.0, y / 2.0, 77)));
            }
        }
        return image;
    };
    // 130: left edge with the ranks; the board's squares start 14 pixels down.
    QImage left = frame(16, 212);
    {
        QPainter painter(&left);
        painter.setFont(font);
        painter.setPen(label);
        for (int row = 0; row < 8; ++row) {
            painter.drawText(QRect(2, 14 + row * 24, 12, 24), Qt::AlignCenter,
                             QString::number(8 - row));
        }
        painter.fillRect(QRect(15, 13, 1, 193), QColor(60, 38, 20));
    }
    // 128: top edge with the files above the 192-pixel board.
    QImage top = frame(192, 14);
    {
        QPainter painter(&top);
        painter.setFont(font);
        painter.setPen(label);
        for (int file = 0; file < 8; ++file) {
            painter.drawText(QRect(file * 24, 0, 24, 13), Qt::AlignCenter,
                             QString(QChar('a' + file)));
        }
        painter.fillRect(QRect(0, 13, 192, 1), QColor(60, 38, 20));
    }
    QImage right = frame(8, 212);
    {
        QPainter painter(&right);
        painter.fillRect(QRect(0, 13, 1, 193), QColor(150, 110, 70));
    }
    QImage bottom = frame(192, 6);
    {
        QPainter painter(&bottom);
        painter.fillRect(QRect(0, 0, 192, 1), QColor(150, 110, 70));
    }
    return save(top, 128) && save(left, 130) && save(right, 131) && save(bottom, 132);
}

// ---- the button row ------------------------------------------------------------------------

bool drawButtons() {
    QImage image(128, 16, QImage::Format_RGB32);
    image.fill(KEY);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(32, 40, 64);
    const QColor blue(40, 96, 200);
    auto cell = [&](int index) {
        painter.resetTransform();
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
    return save(image, 115);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-bitmaps OUTPUT_FOLDER\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);
    const bool done = drawTextures() && drawPieces() && drawFrames() && drawButtons();
    return done ? 0 : 1;
}
