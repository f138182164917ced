#include "platform/ui/frame.h"
#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__SANITIZE_THREAD__)
#define TALLOWMERE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TALLOWMERE_THREAD_SANITIZER 1
#endif
#endif

#ifdef TALLOWMERE_THREAD_SANITIZER
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace platform {
namespace {

// While it lives, ThreadSanitizer ignores what the calling thread reads and writes.
struct ThreadSanitizerBlind {
#ifdef TALLOWMERE_THREAD_SANITIZER
    ThreadSanitizerBlind() {
        __tsan_ignore_thread_begin();
    }
    ~ThreadSanitizerBlind() {
        __tsan_ignore_thread_end();
    }
#endif
};

std::map<std::string, WindowClass> windowClasses;
std::vector<Window*> liveWindows;
Window* captureWindow = nullptr;
int chosenScale = 0;

// Frees the record when the widgets go, so a message that is still queued finds no window.
class WindowOwner : public QObject {
public:
    WindowOwner(Window* window, QObject* parent) : QObject(parent), m_window(window) {}
    ~WindowOwner() override {
        liveWindows.erase(std::remove(liveWindows.begin(), liveWindows.end(), m_window),
                          liveWindows.end());
        if (captureWindow == m_window) {
            captureWindow = nullptr;
        }
        delete m_window;
    }

private:
    Window* m_window;
};

int automaticScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return 1;
    }
    // Leave room for the window frame and the desktop's own panels.
    const QRect available = screen->availableGeometry();
    const int byWidth = (available.width() - 40) / CLIENT_WIDTH;
    const int byHeight = (available.height() - 80) / (CLIENT_HEIGHT + 26);
    return std::clamp(std::min(byWidth, byHeight), 1, 8);
}

// The pixels of a grid `ratio` times finer (or coarser) that cover the rectangle: between
// widget and device pixels.
QRect pixelCover(const QRect& area, double ratio) {
    return QRect(QPoint(int(std::floor(area.left() * ratio)), int(std::floor(area.top() * ratio))),
                 QPoint(int(std::ceil((area.right() + 1) * ratio)) - 1,
                        int(std::ceil((area.bottom() + 1) * ratio)) - 1));
}

bool isLive(Window* window) {
    return window && std::find(liveWindows.begin(), liveWindows.end(), window) != liveWindows.end();
}

} // namespace

Surface::Surface(Window* window, QWidget* parent) : QWidget(parent), m_window(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void Surface::paintEvent(QPaintEvent* event) {
    dispatchPaint(m_window);
    QPainter painter(this);
    const double ratio = pixelRatioOf(this);
    const QRect shown = event->rect();
    // The back buffer's device pixels go to the screen one for one.
    const QRect device = pixelCover(shown, ratio).intersected(m_window->backBuffer.rect());
    if (!device.isEmpty()) {
        painter.drawImage(QRectF(device.left() / ratio, device.top() / ratio,
                                 device.width() / ratio, device.height() / ratio),
                          m_window->backBuffer, device);
    }
    // A surface larger than its buffer (a dialog) shows white where nothing is drawn.
    const QRect buffer(0, 0, int(std::floor(m_window->backBuffer.width() / ratio)),
                       int(std::floor(m_window->backBuffer.height() / ratio)));
    for (const QRect& area : QRegion(shown) - QRegion(buffer)) {
        painter.fillRect(area, Qt::white);
    }
    ++m_window->framesShown;
}

void Surface::sendPointer(unsigned message, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && message != WM_MOUSEMOVE) {
        return;
    }
    if (message == WM_MOUSEMOVE && !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    // The device pixel under the pointer, then the logical pixel that covers it: floor
    // division, so positions left of or above the surface stay negative.
    const double ratio = pixelRatioOf(this);
    const QPointF position = event->position() * ratio;
    const int steps = m_window->steps;
    const int x = logicalOf(int(std::floor(position.x())), steps);
    const int y = logicalOf(int(std::floor(position.y())), steps);
    Window* target = captureWindow && captureWindow != m_window ? captureWindow : m_window;
    sendMessage(target, message, message == WM_MOUSEMOVE ? 1 : 0, makePointLParam(x, y));
}

void Surface::mousePressEvent(QMouseEvent* event) {
    sendPointer(WM_LBUTTONDOWN, event);
}
void Surface::mouseMoveEvent(QMouseEvent* event) {
    sendPointer(WM_MOUSEMOVE, event);
}
void Surface::mouseReleaseEvent(QMouseEvent* event) {
    sendPointer(WM_LBUTTONUP, event);
}

void Surface::timerEvent(QTimerEvent* event) {
    const auto found = m_window->timerIdsByQt.find(event->timerId());
    if (found != m_window->timerIdsByQt.end()) {
        sendMessage(m_window, WM_TIMER, found->second, 0);
    }
}

void Surface::resizeEvent(QResizeEvent*) {
    resizeBackBuffer(m_window);
}

void adoptWindow(Window* window) {
    liveWindows.push_back(window);
    new WindowOwner(window, window->top);
}

void resizeBackBuffer(Window* window) {
    QSize logical = window->logicalSize;
    if (window->dialog) {
        // A dialog's surface is as large as its template; its logical size follows.
        const double ratio = pixelRatioOf(window->surface);
        logical = QSize(
            std::max(1, logicalOf(int(window->surface->width() * ratio + 0.5), window->steps)),
            std::max(1, logicalOf(int(window->surface->height() * ratio + 0.5), window->steps)));
    }
    const QSize device = deviceSize(logical, window->steps);
    if (window->backBuffer.size() == device && window->logicalSize == logical) {
        return;
    }
    window->logicalSize = logical;
    window->backBuffer = QImage(device, QImage::Format_RGB32);
    window->backBuffer.fill(Qt::white);
    window->invalid = QRegion(QRect(QPoint(0, 0), logical));
    window->surface->update();
}

double pixelRatioOf(const QWidget* widget) {
    if (widget) {
        return widget->devicePixelRatioF();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

void dispatchPaint(Window* window) {
    if (window->destroyed || window->invalid.isEmpty()) {
        return;
    }
    const QRegion asked = window->invalid;
    sendMessage(window, WM_PAINT, 0, 0);
    // A procedure that never validates would otherwise be asked again and again; what it
    // invalidated while painting stays for the next paint.
    window->invalid -= asked;
}

void showLogicalArea(Window* window, const QRect& area) {
    if (window->surface && !area.isEmpty()) {
        const double ratio = pixelRatioOf(window->surface);
        const QRect device = deviceRect(area, window->steps);
        window->surface->update(pixelCover(device, 1 / ratio));
    }
}

Window* windowOfWidget(QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        for (Window* window : liveWindows) {
            if (window->surface == widget) {
                return window;
            }
        }
    }
    return nullptr;
}

int effectiveScale() {
    return chosenScale > 0 ? chosenScale : automaticScale();
}

double widgetScale(int steps) {
    return steps / double(STEPS_PER_PIXEL) / pixelRatioOf(nullptr);
}

QFont dialogFont(int steps) {
    // Eleven pixels: the status panel's text size, which the handheld's dialogs shared.
    QFont font = QApplication::font();
    font.setPixelSize(std::max(11, int(std::lround(11 * widgetScale(steps)))));
    return font;
}

bool windowScaleForced() {
    return chosenScale > 0;
}

int currentSteps() {
    // The newest program window sets the factor of everything drawn for it.
    for (auto it = liveWindows.rbegin(); it != liveWindows.rend(); ++it) {
        if (!(*it)->dialog && !(*it)->destroyed && (*it)->surface) {
            return (*it)->steps;
        }
    }
    // Without one, a forced scale still holds (dialogs on their own, in tests).
    return chosenScale > 0 ? int(std::lround(chosenScale * pixelRatioOf(nullptr) * STEPS_PER_PIXEL))
                           : STEPS_PER_PIXEL;
}

bool readResource(const std::string& name, QByteArray* bytes) {
    QFile file(QString(":/tallowmere/") + QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    *bytes = file.readAll();
    return true;
}

bool registerWindowClass(const WindowClass& windowClass) {
    if (!windowClass.name || !windowClass.proc || windowClasses.count(windowClass.name)) {
        return false;
    }
    windowClasses[windowClass.name] = windowClass;
    return true;
}

Window* createWindow(const char* className, const char* title) {
    const auto found = windowClasses.find(className ? className : "");
    if (found == windowClasses.end()) {
        return nullptr;
    }
    auto* window = new Window;
    window->proc = found->second.proc;
    window->className = found->first;
    window->background = found->second.background;
    auto* frame = new Frame(window);
    frame->setWindowTitle(widen(title));
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    window->top = frame;
    window->logicalSize = QSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    window->steps = int(std::lround(effectiveScale() * pixelRatioOf(nullptr) * STEPS_PER_PIXEL));
    window->surface = new Surface(window, frame);
    adoptWindow(window);
    frame->startSize = startFrameSize();
    frame->resize(frame->startSize);
    frame->layOut();
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), frame);
    QObject::connect(help, &QShortcut::activated, frame,
                     [window] { sendMessage(window, WM_HELP, 0, 0); });
    QPointer<QWidget> alive(frame);
    const intptr_t created = sendMessage(window, WM_CREATE, 0, 0);
    if (!alive || window->destroyed) {
        return nullptr;
    }
    if (created == -1) {
        destroyWindow(window);
        return nullptr;
    }
    return window;
}

void destroyWindow(Window* window) {
    if (!isLive(window) || window->destroyed) {
        return;
    }
    for (const auto& [qtTimer, id] : window->timerIdsByQt) {
        window->surface->killTimer(qtTimer);
    }
    window->timerIdsByQt.clear();
    window->qtTimersById.clear();
    if (auto* frame = dynamic_cast<Frame*>(window->top.data())) {
        rememberFrameSize(frame);
    }
    sendMessage(window, WM_DESTROY, 0, 0);
    window->destroyed = true;
    if (captureWindow == window) {
        captureWindow = nullptr;
    }
    window->top->hide();
    window->top->deleteLater();
}

intptr_t defWindowProc(Window* window, unsigned message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE) {
        destroyWindow(window);
    }
    return 0;
}

Window* findWindow(const char* className) {
    for (Window* window : liveWindows) {
        if (!window->destroyed && !window->dialog && window->className == className) {
            return window;
        }
    }
    return nullptr;
}

void showWindow(Window* window) {
    if (isLive(window) && window->top) {
        window->top->show();
    }
}

void setForegroundWindow(Window* window) {
    if (isLive(window) && window->top) {
        window->top->show();
        window->top->raise();
        window->top->activateWindow();
    }
}

bool isForegroundWindow(Window* window) {
    return isLive(window) && window->top && window->top->isActiveWindow();
}

intptr_t sendMessage(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (!isLive(window) || !window->proc) {
        return 0;
    }
    return window->proc(window, message, wParam, lParam);
}

void postMessage(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (!window) {
        return;
    }
    // The surface is the context: Qt drops the call if it is gone before delivery.
    QObject* context = window->surface.data();
    // Qt hands the call to the interface thread under locks of its own, out of sight of
    // ThreadSanitizer (Qt is not built with it): the hand-over itself is left out of its view.
    [[maybe_unused]] ThreadSanitizerBlind blind;
    QMetaObject::invokeMethod(
        context,
        [window, message, wParam, lParam] {
            if (isLive(window) && !window->destroyed) {
                sendMessage(window, message, wParam, lParam);
            }
        },
        Qt::QueuedConnection);
}

void postQuitMessage(int exitCode) {
    QMetaObject::invokeMethod(
        qApp, [exitCode] { quitMessageLoop(exitCode); }, Qt::QueuedConnection);
}

Rect getClientRect(Window* window) {
    if (!isLive(window)) {
        return Rect{0, 0, 0, 0};
    }
    return Rect{0, 0, window->logicalSize.width(), window->logicalSize.height()};
}

void invalidateRect(Window* window, const Rect* area, bool erase) {
    if (!isLive(window) || window->destroyed) {
        return;
    }
    const QRect whole(QPoint(0, 0), window->logicalSize);
    const QRect invalid = area ? toQRect(*area).intersected(whole) : whole;
    if (invalid.isEmpty()) {
        return;
    }
    window->invalid += invalid;
    window->eraseInvalid = window->eraseInvalid || erase;
    showLogicalArea(window, invalid);
}

void updateWindow(Window* window) {
    if (isLive(window)) {
        dispatchPaint(window);
        window->surface->update();
    }
}

void showNow(Window* window) {
    if (isLive(window) && !window->destroyed) window->surface->repaint();
}

void setTimer(Window* window, uintptr_t timerId, uint32_t periodMs) {
    if (!isLive(window) || window->destroyed) {
        return;
    }
    killTimer(window, timerId);
    const int qtTimer = window->surface->startTimer(int(periodMs), Qt::PreciseTimer);
    if (qtTimer != 0) {
        window->timerIdsByQt[qtTimer] = timerId;
        window->qtTimersById[timerId] = qtTimer;
    }
}

void killTimer(Window* window, uintptr_t timerId) {
    if (!isLive(window)) {
        return;
    }
    const auto found = window->qtTimersById.find(timerId);
    if (found != window->qtTimersById.end()) {
        window->surface->killTimer(found->second);
        window->timerIdsByQt.erase(found->second);
        window->qtTimersById.erase(found);
    }
}

void setCapture(Window* window) {
    captureWindow = isLive(window) ? window : nullptr;
}

void releaseCapture() {
    captureWindow = nullptr;
}

Window* getCapture() {
    return captureWindow;
}

void setWindowData(Window* window, void* data) {
    if (isLive(window)) {
        window->data = data;
    }
}

void* windowData(Window* window) {
    return isLive(window) ? window->data : nullptr;
}

void setWindowScale(int scale) {
    chosenScale = std::clamp(scale, 0, 8);
}

int windowScale() {
    return effectiveScale();
}

int windowFramesShown(Window* window) {
    return isLive(window) ? window->framesShown : 0;
}

Color windowPixel(Window* window, int x, int y) {
    if (!isLive(window) || !QRect(QPoint(0, 0), window->logicalSize).contains(x, y)) {
        return 0;
    }
    // The device pixel at the logical pixel's centre.
    const QRect device = deviceRect(QRect(x, y, 1, 1), window->steps);
    const QRgb pixel = window->backBuffer.pixel(device.left() + device.width() / 2,
                                                device.top() + device.height() / 2);
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

} // namespace platform
