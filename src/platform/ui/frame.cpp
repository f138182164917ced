#include "platform/ui/frame.h"

#include "platform/ui/internal.h"
#include "platform/ui/menu.h"
#include "platform/ui/registry.h"

#include <QCloseEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>

namespace platform {
namespace {

constexpr char WINDOW_KEY[] = "software\\Tallowmere\\TallowmereChess\\Window";
// Around the board: dark enough not to compete with it, light enough not to frame it.
const QColor BACKGROUND(0x48, 0x4a, 0x4e);

bool readDword(const char* name, int* value) {
    uint32_t size = sizeof(int32_t);
    int32_t read = 0;
    if (!registryRead(WINDOW_KEY, name, &read, &size) || size != sizeof(int32_t)) {
        return false;
    }
    *value = read;
    return true;
}

QSize frameLogicalSize(const Window* window) {
    return QSize(CLIENT_WIDTH, CLIENT_HEIGHT + (window->menuBar ? MENU_BAR_HEIGHT : 0));
}

} // namespace

Frame::Frame(Window* window) : m_window(window) {
    setMinimumSize(CLIENT_WIDTH, CLIENT_HEIGHT + MENU_BAR_HEIGHT);
}

QSize Frame::sizeHint() const {
    return frameLogicalSize(m_window) * effectiveScale();
}

void Frame::closeEvent(QCloseEvent* event) {
    // The procedure decides; the default answer destroys the window.
    event->ignore();
    if (!m_window->destroyed) {
        sendMessage(m_window, WM_CLOSE, 0, 0);
    }
}

void Frame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !m_window->destroyed) {
        sendMessage(m_window, WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    }
    QWidget::changeEvent(event);
}

void Frame::resizeEvent(QResizeEvent*) {
    layOut();
}

void Frame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Moved to a screen of another pixel ratio, the window draws at that screen's resolution.
    if (!m_followsScreen && windowHandle()) {
        m_followsScreen = true;
        connect(windowHandle(), &QWindow::screenChanged, this, [this] { layOut(); });
    }
}

void Frame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BACKGROUND);
}

void Frame::layOut() {
    if (!m_window->surface) {
        return;
    }
    const double ratio = pixelRatioOf(this);
    const QSize device(int(std::floor(width() * ratio)), int(std::floor(height() * ratio)));
    const int steps = stepsToFit(frameLogicalSize(m_window), device);
    auto toWidget = [ratio](int devicePixels) { return int(std::ceil(devicePixels / ratio)); };
    const QSize client = deviceSize(QSize(CLIENT_WIDTH, CLIENT_HEIGHT), steps);
    const int barHeight = m_window->menuBar ? toWidget(deviceEdge(MENU_BAR_HEIGHT, steps)) : 0;
    const QSize shown(toWidget(client.width()), toWidget(client.height()));
    const QPoint origin((width() - shown.width()) / 2, (height() - shown.height() - barHeight) / 2);
    m_window->steps = steps;
    m_window->surface->setGeometry(QRect(origin, shown));
    resizeBackBuffer(m_window);
    if (m_window->menuBar) {
        layOutMenuBar(m_window->menuBar,
                      QRect(origin.x(), origin.y() + shown.height(), shown.width(), barHeight),
                      steps, ratio);
    }
}

QSize startFrameSize() {
    int width = 0;
    int height = 0;
    if (!windowScaleForced() && readDword("Width", &width) && readDword("Height", &height) &&
        width >= CLIENT_WIDTH && height >= CLIENT_HEIGHT + MENU_BAR_HEIGHT && width <= 16384 &&
        height <= 16384) {
        return QSize(width, height);
    }
    const int scale = effectiveScale();
    return QSize(CLIENT_WIDTH * scale, (CLIENT_HEIGHT + MENU_BAR_HEIGHT) * scale);
}

void rememberFrameSize(const Frame* frame) {
    if (windowScaleForced() || frame->size() == frame->startSize || frame->isMaximized() ||
        frame->isFullScreen()) {
        return;
    }
    const int32_t width = frame->width();
    const int32_t height = frame->height();
    registryWrite(WINDOW_KEY, "Width", RegistryType::dword, &width, sizeof width);
    registryWrite(WINDOW_KEY, "Height", RegistryType::dword, &height, sizeof height);
}

} // namespace platform
