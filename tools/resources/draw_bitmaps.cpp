// Writes the program's bitmaps at the handheld's size: board textures, piece strips, the
// setup board's frame and the button row. The drawings themselves live in the platform
// layer, which draws them at every other size from the same sources.
//
//   draw-bitmaps OUTPUT_FOLDER
//
// Everything is computed from fixed seeds: running it again gives the same files.

#include "platform/ui/bitmap_art.h"
#include "platform/ui/scaling.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-bitmaps OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int id : platform::artBitmapIds()) {
        const QString path = folder + QString("/%1.png").arg(id);
        const QImage image = platform::drawBitmapArt(id, platform::STEPS_PER_PIXEL);
        if (!image.convertToFormat(QImage::Format_RGB32).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
