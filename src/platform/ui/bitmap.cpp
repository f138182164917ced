#include "platform/ui/bitmap.h"

#include "platform/ui/internal.h"

#include <string>

namespace platform {

Bitmap* loadBitmap(int resourceId) {
    QByteArray bytes;
    if (!readResource("bitmaps/" + std::to_string(resourceId) + ".png", &bytes)) {
        return nullptr;
    }
    QImage image;
    if (!image.loadFromData(bytes, "PNG")) {
        return nullptr;
    }
    auto* bitmap = new Bitmap;
    bitmap->image = image.convertToFormat(QImage::Format_RGB32);
    return bitmap;
}

Bitmap* createBitmap(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto* bitmap = new Bitmap;
    bitmap->image = QImage(width, height, QImage::Format_RGB32);
    if (bitmap->image.isNull()) {
        delete bitmap;
        return nullptr;
    }
    bitmap->image.fill(Qt::black);
    return bitmap;
}

void deleteBitmap(Bitmap* bitmap) {
    delete bitmap;
}

int bitmapWidth(const Bitmap* bitmap) {
    return bitmap ? bitmap->image.width() : 0;
}

int bitmapHeight(const Bitmap* bitmap) {
    return bitmap ? bitmap->image.height() : 0;
}

} // namespace platform
