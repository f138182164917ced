#pragma once
// Bitmaps: the program's bitmap resources by id, and off-screen bitmaps.

namespace platform {

struct Bitmap;

// Null when the resource does not exist.
Bitmap* loadBitmap(int resourceId);
Bitmap* createBitmap(int width, int height);
void deleteBitmap(Bitmap* bitmap);
int bitmapWidth(const Bitmap* bitmap);
int bitmapHeight(const Bitmap* bitmap);

} // namespace platform
