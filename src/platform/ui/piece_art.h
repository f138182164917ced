#pragma once
// The pieces' art, shared by the bitmaps at every size and the program's icon: the chess glyphs of
// the DejaVu fonts, coloured by a style.

#include <QPainterPath>
#include <QRgb>
#include <QString>

struct PieceStyle {
    QString family;
    int weight;
    double height; // share of the cell the piece stands in
    QRgb whiteFillTop, whiteFillBottom, whiteInk;
    QRgb blackFillTop, blackFillBottom, blackInk;
};

// The three sets of the Options dialog.
extern const PieceStyle DELUXE_STYLE;
extern const PieceStyle CLASSIC_STYLE;
extern const PieceStyle MODERN_STYLE;

// Glyphs in the strip's order: pawn, knight, bishop, rook, queen, king.
constexpr int KNIGHT = 1;
constexpr int KING = 5;
constexpr char16_t OUTLINE_GLYPHS[6] = {0x2659, 0x2658, 0x2657, 0x2656, 0x2655, 0x2654};
constexpr char16_t SOLID_GLYPHS[6] = {0x265F, 0x265E, 0x265D, 0x265C, 0x265B, 0x265A};

// The glyph's outline at the given pixel size, its base line at y = 0.
QPainterPath glyphPath(const PieceStyle& style, char16_t glyph, int pixels);
