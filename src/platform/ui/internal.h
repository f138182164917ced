#pragma once
// What the layer's own files share about windows, contexts and bitmaps. Qt types
// appear here and nowhere above the platform layer.

#include "platform/ui/dc.h"
#include "platform/ui/scaling.h"
#include "platform/ui/window.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

class QDialog;
class QPainter;
class QFont;

namespace platform {

struct DialogState;
struct MenuBar;

// A bitmap keeps its logical size and holds its pixels at a device factor. One drawn
// from art (a resource nobody has drawn on since) is drawn again when it is needed at
// another factor; others are resampled.
struct Bitmap {
    QImage image; // device pixels: Format_RGB32, or ARGB32 premultiplied for art with coverage
    QSize logical;
    int steps = STEPS_PER_PIXEL;
    int resourceId = 0; // set while the pixels are the resource's own
};

// The device factor new bitmaps and dialogs take: the main window's, or the start factor.
int currentSteps();
// Makes a bitmap's pixels match a device factor, when its pixels can be drawn again.
void matchSteps(Bitmap* bitmap, int steps);

// The widget that shows a window's back buffer and turns Qt's events into messages.
class Surface : public QWidget {
public:
    Surface(Window* window, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void sendPointer(unsigned message, QMouseEvent* event);
    Window* m_window;
};

struct Window {
    WindowProc proc = nullptr;
    std::string className;
    Color background = rgb(255, 255, 255);
    QPointer<QWidget> top; // the top-level widget: the frame, a dialog, or a property page
    QPointer<Surface> surface;
    QImage backBuffer; // device pixels, Format_RGB32
    QSize logicalSize; // of the back buffer
    int steps = STEPS_PER_PIXEL;
    QRegion invalid; // logical, waiting for WM_PAINT
    bool eraseInvalid = false;
    bool destroyed = false;
    std::map<int, uintptr_t> timerIdsByQt;
    std::map<uintptr_t, int> qtTimersById;
    void* data = nullptr;
    DialogState* dialog = nullptr; // set for dialogs and property pages
    MenuBar* menuBar = nullptr;
    int framesShown = 0; // paints of the surface on the screen
};

// Owns a window's record; freed with its widgets.
void adoptWindow(Window* window);
// Back buffer of the surface's size at the window's factor, white, with everything invalid.
void resizeBackBuffer(Window* window);
// The device pixel ratio of the screen a widget is on (or of the primary screen).
double pixelRatioOf(const QWidget* widget);
// Sends WM_PAINT when something is invalid.
void dispatchPaint(Window* window);
// Marks logical pixels for showing on the screen (no WM_PAINT).
void showLogicalArea(Window* window, const QRect& area);
// The window a widget belongs to (its surface, or a control on it), or null.
Window* windowOfWidget(QWidget* widget);
// The whole factor the window starts with: forced, or chosen from the screen.
int effectiveScale();
bool windowScaleForced();
// Widget pixels per logical pixel at a device factor on the primary screen.
double widgetScale(int steps);
// The font of dialogs, message boxes and the property sheet: the handheld's dialog font
// grown with the board.
QFont dialogFont(int steps = currentSteps());
// Grows the style's fixed sizes (check marks, icons, scroll bars) of a dialog and its
// controls with the window's factor.
void scaleControls(QWidget* top, int steps = currentSteps());
// Lays out the menu bar below a window's client area at its factor.
void layOutMenuBar(MenuBar* bar, const QRect& area, int steps, double pixelRatio);
// Shows a command's key beside its menu item and in its button's tooltip.
void showMenuShortcut(MenuBar* bar, int command, const QString& key);
// Opens a resource file of the program ("bitmaps/116.png", "dialogs/126.dlg") as bytes.
bool readResource(const std::string& name, QByteArray* bytes);

// Ends the message loop with exitCode; without a running loop the next one ends at once.
// A quit never reaches a modal dialog's own loop.
void quitMessageLoop(int exitCode);

// Frees the sound effects while the application still exists.
void releaseSounds();

struct Dc {
    QImage* target = nullptr; // the back buffer or the selected bitmap's image
    Window* window = nullptr; // set for window contexts
    Bitmap* selected = nullptr;
    QRegion clip; // device pixels
    bool clipped = false;
    QRect touched; // what a window context drew, to show at release
    Pen pen = BLACK_PEN;
    Brush brush = WHITE_BRUSH;
    Color textColor = rgb(0, 0, 0);
};

// What the drawing operations share (dc.cpp, shapes.cpp, blit.cpp).
// The device factor of a context's target, which follows its bitmap when that is redrawn.
inline int targetSteps(const Dc* dc) {
    return dc->selected ? dc->selected->steps : dc->window ? dc->window->steps : STEPS_PER_PIXEL;
}
inline QRgb toQRgb(Color color) {
    return qRgb(redOf(color), greenOf(color), blueOf(color));
}
// The device pixels of area (device) that a context may draw on: inside its target and clip.
QRegion drawable(const Dc* dc, const QRect& device);
// A context draws on its target: a bitmap's pixels are then its own, a window's shown later.
void noteDrawn(Dc* dc, const QRect& logical);
void beginPainter(QPainter& painter, const Dc* dc);

inline QRect toQRect(const Rect& area) {
    return QRect(area.left, area.top, area.right - area.left, area.bottom - area.top);
}
inline Rect toRect(const QRect& area) {
    return Rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

} // namespace platform
