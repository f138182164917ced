#pragma once
// Bitmaps as pictures for other programs: scaled to the size the user asks for, and
// encoded as PNG.

#include <string>

namespace platform {

struct Bitmap;

// A new bitmap of width x height showing bitmap: whole multiples pixel for pixel, other
// sizes smoothed. Null when the size is not positive.
Bitmap* scaledBitmap(const Bitmap* bitmap, int width, int height);
// The bytes of a PNG file of the bitmap; false when it cannot be encoded.
bool pngBytes(const Bitmap* bitmap, std::string* bytes);

} // namespace platform
