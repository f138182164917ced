#pragma once
// The program's bitmaps drawn from their sources (noise for the board textures, the
// pieces' outlines, the setup board's frame, the button row), at any factor. At the
// handheld's own size the drawings are the shipped PNG files, pixel for pixel; at
// other sizes pieces and buttons carry coverage in their alpha instead of the key.

#include <QImage>
#include <vector>

namespace platform {

// The ids of the bitmaps drawn here.
std::vector<int> artBitmapIds();
// The bitmap at steps thirtieths of a device pixel per logical pixel: Format_RGB32 at
// the handheld's size, ARGB32 premultiplied where coverage matters at others. Null
// for an id not drawn here.
QImage drawBitmapArt(int resourceId, int steps);

} // namespace platform
