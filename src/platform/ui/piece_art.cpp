#include "platform/ui/piece_art.h"

#include <QFont>

const PieceStyle DELUXE_STYLE{"DejaVu Sans",       QFont::Normal,       0.86,
                              qRgb(255, 252, 240), qRgb(226, 208, 170), qRgb(44, 30, 18),
                              qRgb(86, 76, 70),    qRgb(26, 20, 18),    qRgb(236, 222, 196)};
const PieceStyle CLASSIC_STYLE{"DejaVu Sans",       QFont::Normal,       0.90,
                               qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(0, 0, 0),
                               qRgb(0, 0, 0),       qRgb(0, 0, 0),       qRgb(255, 255, 255)};
const PieceStyle MODERN_STYLE{"DejaVu Sans",       QFont::Bold,         0.84,
                              qRgb(250, 250, 250), qRgb(214, 222, 232), qRgb(40, 52, 70),
                              qRgb(64, 86, 120),   qRgb(30, 42, 64),    qRgb(222, 232, 246)};

QPainterPath glyphPath(const PieceStyle& style, char16_t glyph, int pixels) {
    QFont font(style.family);
    font.setWeight(QFont::Weight(style.weight));
    font.setPixelSize(pixels);
    QPainterPath path;
    path.addText(0, 0, font, QString(QChar(glyph)));
    return path;
}
