#pragma once
// The frame of a top-level program window: the client area and the menu bar below it,
// scaled together by the largest factor that fits, centred on a quiet background.

#include <QSize>
#include <QWidget>

namespace platform {

struct Window;

class Frame : public QWidget {
public:
    explicit Frame(Window* window);
    // Places the surface and the menu bar for the frame's size and takes their factor.
    void layOut();
    // The client area and the bar at the start factor.
    QSize sizeHint() const override;
    // The size the frame started with: a size left differently is remembered.
    QSize startSize;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Window* m_window;
    bool m_followsScreen = false;
};

// The frame's start size: the one the user left, or the whole factor chosen from the screen
// (or forced).
QSize startFrameSize();
// Keeps the frame's size for the next start when the user changed it.
void rememberFrameSize(const Frame* frame);

} // namespace platform
