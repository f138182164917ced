#include "platform/ui/image_file.h"

#include "platform/ui/internal.h"

#include <QBuffer>
#include <QByteArray>

namespace platform {

Bitmap* scaledBitmap(const Bitmap* bitmap, int width, int height) {
    if (!bitmap || width <= 0 || height <= 0) {
        return nullptr;
    }
    const QImage& source = bitmap->image;
    const bool whole = source.width() > 0 && source.height() > 0 && width % source.width() == 0 &&
                       height % source.height() == 0;
    auto* scaled = new Bitmap;
    scaled->image = source
                        .scaled(width, height, Qt::IgnoreAspectRatio,
                                whole ? Qt::FastTransformation : Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_RGB32);
    if (scaled->image.isNull()) {
        delete scaled;
        return nullptr;
    }
    return scaled;
}

bool pngBytes(const Bitmap* bitmap, std::string* bytes) {
    if (!bitmap || bitmap->image.isNull()) {
        return false;
    }
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!bitmap->image.save(&buffer, "PNG")) {
        return false;
    }
    bytes->assign(encoded.constData(), size_t(encoded.size()));
    return true;
}

} // namespace platform
