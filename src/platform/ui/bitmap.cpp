#include "platform/ui/bitmap.h"

#include "platform/ui/bitmap_art.h"
#include "platform/ui/internal.h"

#include <map>
#include <string>
#include <utility>

namespace platform {
namespace {

// Drawings at the factors in use: the board's texture is loaded afresh for every drag.
std::map<std::pair<int, int>, QImage> drawnArt;

QImage handheldPixels(int resourceId) {
    QByteArray bytes;
    QImage image;
    if (!readResource("bitmaps/" + std::to_string(resourceId) + ".png", &bytes) ||
        !image.loadFromData(bytes, "PNG")) {
        return QImage();
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// The resource's pixels at a factor: the shipped file at the handheld's, the art at others,
// or the file enlarged smoothly when no art draws it.
QImage resourcePixels(int resourceId, int steps) {
    if (steps == STEPS_PER_PIXEL) {
        return handheldPixels(resourceId);
    }
    const auto key = std::make_pair(resourceId, steps);
    const auto found = drawnArt.find(key);
    if (found != drawnArt.end()) {
        return found->second;
    }
    QImage image = drawBitmapArt(resourceId, steps);
    if (image.isNull()) {
        const QImage small = handheldPixels(resourceId);
        if (small.isNull()) {
            return QImage();
        }
        image = small
                    .scaled(deviceSize(small.size(), steps), Qt::IgnoreAspectRatio,
                            Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_RGB32);
    }
    // Only the factors of the moment are worth keeping.
    for (auto it = drawnArt.begin(); it != drawnArt.end();) {
        it = it->first.second != steps ? drawnArt.erase(it) : std::next(it);
    }
    drawnArt[key] = image;
    return image;
}

} // namespace

void matchSteps(Bitmap* bitmap, int steps) {
    if (!bitmap || bitmap->steps == steps || bitmap->resourceId == 0) {
        return;
    }
    const QImage image = resourcePixels(bitmap->resourceId, steps);
    if (!image.isNull()) {
        bitmap->image = image;
        bitmap->steps = steps;
    }
}

Bitmap* loadBitmap(int resourceId) {
    const QImage handheld = handheldPixels(resourceId);
    if (handheld.isNull()) {
        return nullptr;
    }
    auto* bitmap = new Bitmap;
    bitmap->image = handheld;
    bitmap->logical = handheld.size();
    bitmap->resourceId = resourceId;
    matchSteps(bitmap, currentSteps());
    return bitmap;
}

Bitmap* createBitmap(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto* bitmap = new Bitmap;
    bitmap->steps = currentSteps();
    bitmap->logical = QSize(width, height);
    bitmap->image = QImage(deviceSize(bitmap->logical, bitmap->steps), QImage::Format_RGB32);
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
    return bitmap ? bitmap->logical.width() : 0;
}

int bitmapHeight(const Bitmap* bitmap) {
    return bitmap ? bitmap->logical.height() : 0;
}

} // namespace platform
