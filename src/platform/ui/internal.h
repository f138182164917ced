#pragma once
// What the layer's own files share about windows, contexts and bitmaps. Qt types
// appear here and nowhere above the platform layer.

#include "platform/ui/dc.h"
#include "platform/ui/window.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

class QDialog;

namespace platform {

struct DialogState;
struct MenuBar;

struct Bitmap {
    QImage image; // Format_RGB32
};

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
    QImage backBuffer; // logical pixels, Format_RGB32
    QRegion invalid;   // logical, waiting for WM_PAINT
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
// Back buffer of the surface's logical size, white, with everything invalid.
void resizeBackBuffer(Window* window);
// Sends WM_PAINT when something is invalid.
void dispatchPaint(Window* window);
// Marks logical pixels for showing on the screen (no WM_PAINT).
void showLogicalArea(Window* window, const QRect& area);
// The window a widget belongs to (its surface, or a control on it), or null.
Window* windowOfWidget(QWidget* widget);
// Applies the automatic scale if none was chosen yet.
int effectiveScale();
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
    QRegion clip; // empty means unclipped
    bool clipped = false;
    QRect touched; // what a window context drew, to show at release
    Pen pen = BLACK_PEN;
    Brush brush = WHITE_BRUSH;
    Color textColor = rgb(0, 0, 0);
};

inline QRect toQRect(const Rect& area) {
    return QRect(area.left, area.top, area.right - area.left, area.bottom - area.top);
}
inline Rect toRect(const QRect& area) {
    return Rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

} // namespace platform
