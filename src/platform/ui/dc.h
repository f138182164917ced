#pragma once
// Device contexts: drawing into a window's back buffer or into a bitmap.
//
// Coordinates are logical pixels. Rectangles leave out their right and bottom
// edges and lines leave out their last point, as the handheld drew them.

#include "platform/ui/geometry.h"

#include <string>

namespace platform {

struct Window;
struct Bitmap;
struct Dc;

struct Pen {
    Color color;
    bool none; // draws no outline
};
struct Brush {
    Color color;
    bool none; // fills nothing
};

constexpr Pen BLACK_PEN = {rgb(0, 0, 0), false};
constexpr Pen NULL_PEN = {0, true};
constexpr Brush WHITE_BRUSH = {rgb(255, 255, 255), false};
constexpr Brush NULL_BRUSH = {0, true};

// drawText formats.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;

struct PaintInfo {
    Dc* dc;
    Rect area; // the bounding rectangle of the region to paint; all zeros when nothing is
    bool erase;
};

// WM_PAINT: the context draws only inside the invalid region, which it validates.
Dc* beginPaint(Window* window, PaintInfo* paint);
void endPaint(Window* window, PaintInfo* paint);
// Drawing straight into the window outside WM_PAINT (dragging, animation).
Dc* getDC(Window* window);
void releaseDC(Window* window, Dc* dc);

// A memory context draws into the bitmap selected into it, nothing before that.
Dc* createCompatibleDC(Dc* model);
void deleteDC(Dc* dc);
// Returns the bitmap that was selected before.
Bitmap* selectBitmap(Dc* dc, Bitmap* bitmap);

Pen selectPen(Dc* dc, Pen pen);
Brush selectBrush(Dc* dc, Brush brush);
Color setTextColor(Dc* dc, Color color);

void fillRect(Dc* dc, const Rect& area, Color color);
void frameRect(Dc* dc, const Rect& area, Color color);
// Outline with the pen, inside with the brush.
void rectangle(Dc* dc, const Rect& area);
void polyline(Dc* dc, const Point* points, int count);
void polygon(Dc* dc, const Point* points, int count);
void drawText(Dc* dc, const char* text, const Rect& area, unsigned format);

bool bitBlt(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX, int sourceY);
// Copies every pixel that is not key; the handheld's TransparentImage.
bool transparentBlt(Dc* target, int x, int y, int width, int height, Dc* source, int sourceX,
                    int sourceY, Color key = TRANSPARENT_KEY);

Color getPixel(Dc* dc, int x, int y);

} // namespace platform
