#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <algorithm>
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

// The frame of a top-level program window: the surface above, the menu bar below.
class Frame : public QWidget {
public:
    explicit Frame(Window* window) : m_window(window) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        // The procedure decides; the default answer destroys the window.
        event->ignore();
        if (!m_window->destroyed) {
            sendMessage(m_window, WM_CLOSE, 0, 0);
        }
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::ActivationChange && !m_window->destroyed) {
            sendMessage(m_window, WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
        }
        QWidget::changeEvent(event);
    }

private:
    Window* m_window;
};

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
    const int scale = effectiveScale();
    QPainter painter(this);
    const QRect shown = event->rect();
    const QRect logical(shown.left() / scale, shown.top() / scale, shown.width() / scale + 2,
                        shown.height() / scale + 2);
    const QRect source = logical.intersected(m_window->backBuffer.rect());
    if (!source.isEmpty()) {
        painter.drawImage(QRect(source.left() * scale, source.top() * scale, source.width() * scale,
                                source.height() * scale),
                          m_window->backBuffer, source);
    }
    // A surface larger than its buffer (a dialog) shows white where nothing is drawn.
    const QRegion outside = QRegion(shown) - QRegion(0, 0, m_window->backBuffer.width() * scale,
                                                     m_window->backBuffer.height() * scale);
    for (const QRect& area : outside) {
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
    const int scale = effectiveScale();
    const QPoint position = event->position().toPoint();
    // Floor division, so positions left of or above the surface stay negative.
    auto toLogical = [scale](int value) {
        return value >= 0 ? value / scale : -((-value + scale - 1) / scale);
    };
    Window* target = captureWindow && captureWindow != m_window ? captureWindow : m_window;
    sendMessage(target, message, message == WM_MOUSEMOVE ? 1 : 0,
                makePointLParam(toLogical(position.x()), toLogical(position.y())));
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
    const int scale = effectiveScale();
    const QSize logical(std::max(1, window->surface->width() / scale),
                        std::max(1, window->surface->height() / scale));
    if (window->backBuffer.size() == logical) {
        return;
    }
    window->backBuffer = QImage(logical, QImage::Format_RGB32);
    window->backBuffer.fill(Qt::white);
    window->invalid = QRegion(window->backBuffer.rect());
    window->surface->update();
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
        const int scale = effectiveScale();
        window->surface->update(area.left() * scale, area.top() * scale, area.width() * scale,
                                area.height() * scale);
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
    if (chosenScale <= 0) {
        chosenScale = automaticScale();
    }
    return chosenScale;
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
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int scale = effectiveScale();
    window->surface = new Surface(window, frame);
    window->surface->setFixedSize(CLIENT_WIDTH * scale, CLIENT_HEIGHT * scale);
    layout->addWidget(window->surface);
    adoptWindow(window);
    resizeBackBuffer(window);
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
    return Rect{0, 0, window->backBuffer.width(), window->backBuffer.height()};
}

void invalidateRect(Window* window, const Rect* area, bool erase) {
    if (!isLive(window) || window->destroyed) {
        return;
    }
    const QRect whole = window->backBuffer.rect();
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
    if (!isLive(window) || !window->backBuffer.rect().contains(x, y)) {
        return 0;
    }
    const QRgb pixel = window->backBuffer.pixel(x, y);
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

} // namespace platform
