// The program's window resized to real factors, as a user drags its edge: the board fills its
// area, a move is played by taps on the squares' outermost pixels, and the selection frame
// lands on the square tapped.
#include "program.h"

#include "board/geometry.h"
#include "platform/ui/internal.h"
#include "platform/ui/menu.h"

#include <QApplication>
#include <QMouseEvent>

using namespace platform;

namespace {

// A press and release at a device pixel of the surface.
void tapDevice(QWidget* surface, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, surface->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &release);
}

QRect deviceSquare(const char* square, int steps) {
    return deviceRect(toQRect(squareRect(at(square))), steps);
}

} // namespace

TEST_F(ProgramTest, AtEveryFactorTheBoardFillsItsAreaAndTakesTapsOnItsEdges) {
    for (const int steps : {30, 45, 60, 90}) {
        startFrom("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
        settle();
        // Wider than needed: the board keeps its aspect in the middle.
        const QSize needed =
            deviceSize(QSize(CLIENT_WIDTH, CLIENT_HEIGHT + MENU_BAR_HEIGHT), steps);
        window()->top->resize(needed.width() + 100, needed.height());
        settle();
        ASSERT_EQ(window()->steps, steps);
        const QRect placed = surface()->geometry();
        EXPECT_EQ(placed.size(), deviceSize(QSize(CLIENT_WIDTH, CLIENT_HEIGHT), steps));
        EXPECT_EQ(placed.left(), 50) << steps;
        const QImage frame = window()->top->grab().toImage();
        const QRgb background = frame.pixel(10, 10);
        for (const QPoint corner : {placed.topLeft(), placed.topRight(),
                                    placed.topLeft() + QPoint(0, deviceEdge(239, steps)),
                                    placed.topRight() + QPoint(0, deviceEdge(239, steps))}) {
            EXPECT_NE(frame.pixel(corner), background) << steps << " board corner";
        }

        // e2's top-left pixel selects it, e4's bottom-right pixel plays the move.
        const QRect e2 = deviceSquare("e2", steps);
        tapDevice(surface(), e2.topLeft());
        settle();
        EXPECT_EQ(appState.selectedSquare, at("e2")) << steps;
        const QImage shownNow = shown();
        EXPECT_EQ(shownNow.pixel(e2.left(), e2.center().y()) & 0xFFFFFF, 0xFF0000u)
            << steps << ": the frame on e2";
        EXPECT_NE(shownNow.pixel(e2.left() + deviceEdge(1, steps), e2.center().y()) & 0xFFFFFF,
                  0xFF0000u)
            << steps << ": one logical pixel wide";
        tapDevice(surface(), deviceSquare("e4", steps).bottomRight());
        settle();
        ASSERT_FALSE(mainLine().empty()) << steps;
        EXPECT_EQ(mainLine().front(), "e4") << steps;
    }
}
