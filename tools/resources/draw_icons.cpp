// Draws the program's icon for the desktop: the white knight of the program's own pieces on
// four squares of the Ash board, as PNG files at the sizes the icon theme asks for and as
// one scalable SVG. Both are drawn from the same filled outlines.
//
//   draw-icons OUTPUT_FOLDER
//
// writes tallowmere-chess-SIZE.png for every size and tallowmere-chess.svg.

#include "platform/ui/piece_art.h"

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The drawing's own units: the SVG's view box.
constexpr double CANVAS = 512;
constexpr int SIZES[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// One filled outline; a shape with a gradient fills from top colour at y = gradientTop to
// bottom colour at y = gradientBottom.
struct Shape {
    QPainterPath path;
    QRgb top;
    QRgb bottom;
    double gradientTop = 0;
    double gradientBottom = 0;
};

// The closed contours of a path, each as a path of its own.
std::vector<QPainterPath> contours(const QPainterPath& path) {
    std::vector<QPainterPath> result;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo()) {
            result.emplace_back();
            result.back().moveTo(element);
        } else if (element.isLineTo()) {
            result.back().lineTo(element);
        } else if (element.isCurveTo()) {
            result.back().cubicTo(element, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
    }
    return result;
}

// Everything the outside cannot reach: the contours that lie inside no other one, filled.
// The piece then shows its fill colour between its ink lines, as on the board.
QPainterPath silhouette(const QPainterPath& shape) {
    const std::vector<QPainterPath> parts = contours(shape.simplified());
    QPainterPath result;
    result.setFillRule(Qt::WindingFill);
    for (size_t i = 0; i < parts.size(); ++i) {
        const QPointF start = parts[i].elementAt(0);
        bool inner = false;
        for (size_t j = 0; j < parts.size() && !inner; ++j) {
            inner = j != i && parts[j].contains(start);
        }
        if (!inner) result.addPath(parts[i]);
    }
    return result;
}

// Small icons get bolder lines: a line never thinner than about one of their pixels.
double lineWidth(double share, double minimumPixels, int size) {
    return std::max(CANVAS * share, minimumPixels * CANVAS / size);
}

std::vector<Shape> iconShapes(int size) {
    const QRgb light = qRgb(240, 224, 194); // the Ash board's squares
    const QRgb dark = qRgb(178, 138, 90);
    const QRgb edge = qRgb(92, 62, 36);
    const double margin = CANVAS * 0.03;
    const QRectF tileRect(margin, margin, CANVAS - 2 * margin, CANVAS - 2 * margin);
    QPainterPath tile;
    tile.addRoundedRect(tileRect, CANVAS * 0.14, CANVAS * 0.14);

    QPainterPath darkSquares;
    const QPointF middle = tileRect.center();
    darkSquares.addRect(QRectF(QPointF(middle.x(), tileRect.top()), QPointF(tileRect.right(), middle.y())));
    darkSquares.addRect(QRectF(QPointF(tileRect.left(), middle.y()), QPointF(middle.x(), tileRect.bottom())));

    QPainterPathStroker border;
    border.setWidth(lineWidth(0.025, 1.0, size));

    // The knight as the board draws the white one: its silhouette in the fill gradient,
    // the outline glyph in ink on top. Placed by the king's height, as in the piece strips.
    const PieceStyle& style = DELUXE_STYLE;
    constexpr int GLYPH_PIXELS = 1000;
    const QPainterPath solid = glyphPath(style, SOLID_GLYPHS[KNIGHT], GLYPH_PIXELS);
    const QPainterPath outline = glyphPath(style, OUTLINE_GLYPHS[KNIGHT], GLYPH_PIXELS);
    const QRectF bounds = solid.boundingRect().united(outline.boundingRect());
    const double scale = CANVAS * 0.80 / bounds.height();
    QTransform place;
    place.translate(CANVAS / 2, CANVAS * 0.90);
    place.scale(scale, scale);
    place.translate(-bounds.center().x(), -bounds.bottom());
    const QPainterPath knight = place.map(silhouette(solid.united(outline)));
    QPainterPathStroker rim;
    rim.setWidth(lineWidth(0.012, 1.3, size));
    rim.setJoinStyle(Qt::RoundJoin);

    const double knightTop = place.map(QPointF(0, bounds.top())).y();
    return {
        {tile, light, light},
        {tile.intersected(darkSquares), dark, dark},
        {border.createStroke(tile).intersected(tile), edge, edge},
        {knight, style.whiteFillTop, style.whiteFillBottom, knightTop, CANVAS * 0.90},
        {place.map(outline).united(rim.createStroke(knight)), style.whiteInk, style.whiteInk},
    };
}

void paint(QPainter& painter, const std::vector<Shape>& shapes) {
    for (const Shape& shape : shapes) {
        if (shape.top == shape.bottom) {
            painter.fillPath(shape.path, QColor(shape.top));
            continue;
        }
        QLinearGradient gradient(0, shape.gradientTop, 0, shape.gradientBottom);
        gradient.setColorAt(0, QColor(shape.top));
        gradient.setColorAt(1, QColor(shape.bottom));
        painter.fillPath(shape.path, gradient);
    }
}

bool writePng(const std::vector<Shape>& shapes, int size, const QString& path) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / CANVAS, size / CANVAS);
        paint(painter, shapes);
    }
    return image.save(path, "PNG");
}

QString number(double value) {
    return QString::number(value, 'f', 2).remove(QRegularExpression("\\.?0+$"));
}

QString pathData(const QPainterPath& path) {
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo()) {
            if (i > 0) data += "Z";
            data += "M" + number(element.x) + " " + number(element.y);
        } else if (element.isLineTo()) {
            data += "L" + number(element.x) + " " + number(element.y);
        } else if (element.isCurveTo()) {
            data += "C" + number(element.x) + " " + number(element.y);
            for (int k = 1; k <= 2; ++k) {
                const QPainterPath::Element control = path.elementAt(i + k);
                data += " " + number(control.x) + " " + number(control.y);
            }
            i += 2;
        }
    }
    return data + "Z";
}

bool writeSvg(const std::vector<Shape>& shapes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream out(&file);
    const QString side = number(CANVAS);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << side << "\" height=\"" << side
        << "\" viewBox=\"0 0 " << side << " " << side << "\">\n";
    int gradients = 0;
    for (const Shape& shape : shapes) {
        const QString rule = shape.path.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd";
        QString fill = QColor(shape.top).name();
        if (shape.top != shape.bottom) {
            fill = QString("url(#fill%1)").arg(++gradients);
            out << "<linearGradient id=\"fill" << gradients
                << "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" << number(shape.gradientTop)
                << "\" x2=\"0\" y2=\"" << number(shape.gradientBottom) << "\">"
                << "<stop offset=\"0\" stop-color=\"" << QColor(shape.top).name() << "\"/>"
                << "<stop offset=\"1\" stop-color=\"" << QColor(shape.bottom).name() << "\"/>"
                << "</linearGradient>\n";
        }
        out << "<path fill=\"" << fill << "\" fill-rule=\"" << rule << "\" d=\""
            << pathData(shape.path) << "\"/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return file.error() == QFile::NoError;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-icons OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int size : SIZES) {
        const QString path = folder + QString("/tallowmere-chess-%1.png").arg(size);
        if (!writePng(iconShapes(size), size, path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString svg = folder + "/tallowmere-chess.svg";
    if (!writeSvg(iconShapes(int(CANVAS)), svg)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg));
        return 1;
    }
    return 0;
}
