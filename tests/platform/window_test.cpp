// The window: messages at logical coordinates, painting into the back buffer,
// the screen showing it at a whole scale, timers, posted messages, the menu bar.
#include "platform/kernel/instance.h"
#include "platform/kernel/instance_requests.h"
#include "platform/ui/accelerators.h"
#include "platform/ui/application.h"
#include "platform/ui/dc.h"
#include "platform/ui/file_drop.h"
#include "platform/ui/instance.h"
#include "platform/ui/internal.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"
#include "temp_root.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct Received {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
};
std::vector<Received> received;
Rect lastPaintArea;
// The paths of each WM_DROPFILES, asked for while it is handled.
std::vector<std::vector<std::string>> drops;

intptr_t testWindowProc(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    received.push_back({message, wParam, lParam});
    if (message == WM_PAINT) {
        PaintInfo paint{};
        Dc* dc = beginPaint(window, &paint);
        lastPaintArea = paint.area;
        // Left half red, right half blue, one green pixel at (10, 20).
        fillRect(dc, Rect{0, 0, 120, 268}, rgb(255, 0, 0));
        fillRect(dc, Rect{120, 0, 240, 268}, rgb(0, 0, 255));
        fillRect(dc, Rect{10, 20, 11, 21}, rgb(0, 255, 0));
        endPaint(window, &paint);
        return 0;
    }
    if (message == WM_TIMER) {
        killTimer(window, wParam);
        return 0;
    }
    if (message == WM_DROPFILES) {
        std::vector<std::string> paths;
        for (int i = 0; i < dragQueryFileCount(dropOf(wParam)); ++i)
            paths.push_back(dragQueryFile(dropOf(wParam), i));
        EXPECT_EQ(dragQueryFile(dropOf(wParam), int(paths.size())), "") << "past the last";
        drops.push_back(paths);
        return 0;
    }
    return defWindowProc(window, message, wParam, lParam);
}

void registerTestClass() {
    static bool registered = false;
    if (!registered) {
        registered =
            registerWindowClass(WindowClass{"Test Window", testWindowProc, rgb(255, 255, 255)});
    }
}

int count(unsigned message) {
    int n = 0;
    for (const Received& r : received) {
        n += r.message == message;
    }
    return n;
}

class WindowAtScale : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        setWindowScale(GetParam());
        registerTestClass();
        received.clear();
    }
    void TearDown() override { setWindowScale(1); }
};

} // namespace

TEST_P(WindowAtScale, PaintsAtLogicalPixelsAndShowsThemScaled) {
    const int scale = GetParam();
    Window* window = createWindow("Test Window", "Tallowmere Chess");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(received.front().message, WM_CREATE);
    const Rect client = getClientRect(window);
    EXPECT_EQ(client.width(), 240);
    EXPECT_EQ(client.height(), 268);
    showWindow(window);
    updateWindow(window);
    EXPECT_EQ(count(WM_PAINT), 1);
    EXPECT_EQ(lastPaintArea.right, 240);
    EXPECT_EQ(windowPixel(window, 10, 20), rgb(0, 255, 0));
    EXPECT_EQ(windowPixel(window, 119, 5), rgb(255, 0, 0));
    EXPECT_EQ(windowPixel(window, 120, 5), rgb(0, 0, 255));

    QWidget* surface = window->surface;
    ASSERT_NE(surface, nullptr);
    const QImage shown = surface->grab().toImage();
    ASSERT_EQ(shown.width(), 240 * scale);
    // The green logical pixel covers exactly scale x scale screen pixels.
    for (int dy = -1; dy <= scale; ++dy) {
        for (int dx = -1; dx <= scale; ++dx) {
            const bool inside = dx >= 0 && dx < scale && dy >= 0 && dy < scale;
            const QRgb pixel = shown.pixel(10 * scale + dx, 20 * scale + dy);
            EXPECT_EQ(pixel == qRgb(0, 255, 0), inside) << dx << "," << dy;
        }
    }

    // An invalid rectangle is painted once, with that rectangle.
    const Rect square{30, 60, 60, 90};
    invalidateRect(window, &square, false);
    updateWindow(window);
    EXPECT_EQ(count(WM_PAINT), 2);
    EXPECT_EQ(lastPaintArea.left, 30);
    EXPECT_EQ(lastPaintArea.bottom, 90);
    updateWindow(window);
    EXPECT_EQ(count(WM_PAINT), 2) << "nothing invalid, no paint";

    // Pointer events arrive at logical coordinates, moves only while the button is down.
    received.clear();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(135 * scale + scale - 1, 195 * scale));
    QMouseEvent move(QEvent::MouseMove, QPointF(100 * scale, 50 * scale),
                     QPointF(100 * scale, 50 * scale), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(239 * scale, 267 * scale));
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(pointX(received[0].lParam), 135);
    EXPECT_EQ(pointY(received[0].lParam), 195);
    EXPECT_EQ(received[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(pointX(received[1].lParam), 100);
    EXPECT_EQ(received[2].message, WM_LBUTTONUP);
    EXPECT_EQ(pointX(received[2].lParam), 239);
    EXPECT_EQ(pointY(received[2].lParam), 267);

    destroyWindow(window);
    EXPECT_EQ(received.back().message, WM_DESTROY);
    processMessages(10);
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowAtScale, testing::Values(1, 2));

TEST(Window, TimersPostedMessagesAndClosing) {
    setWindowScale(1);
    registerTestClass();
    received.clear();
    Window* window = createWindow("Test Window", "Tallowmere Chess");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(findWindow("Test Window"), window);
    EXPECT_EQ(findWindow("No Such Class"), nullptr);
    setTimer(window, 102, 1);
    postMessage(window, WM_USER + 7, 3, 4);
    for (int i = 0; i < 200 && count(WM_TIMER) == 0; ++i) {
        processMessages(5);
    }
    EXPECT_EQ(count(WM_TIMER), 1) << "the procedure killed it after one tick";
    EXPECT_EQ(count(WM_USER + 7), 1);
    processMessages(20);
    EXPECT_EQ(count(WM_TIMER), 1);

    setCapture(window);
    EXPECT_EQ(getCapture(), window);
    releaseCapture();
    EXPECT_EQ(getCapture(), nullptr);

    // Closing asks the procedure; the default answer destroys the window.
    window->top->close();
    EXPECT_EQ(count(WM_CLOSE), 1);
    EXPECT_EQ(received.back().message, WM_DESTROY);
    processMessages(10);
    EXPECT_EQ(findWindow("Test Window"), nullptr);
    EXPECT_EQ(createWindow("No Such Class", "x"), nullptr);
}

TEST(Window, MenuBarButtonsMenusAndAccelerators) {
    setWindowScale(1);
    registerTestClass();
    received.clear();
    Window* window = createWindow("Test Window", "Tallowmere Chess");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(createMenuBar(window, 999), nullptr) << "a missing menu resource";
    MenuBar* bar = createMenuBar(window, 102);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menuBarOf(window), bar);
    const MenuBarButton buttons[] = {
        {0, 40044, TBSTATE_ENABLED, TBSTYLE_BUTTON}, {1, 40020, TBSTATE_ENABLED, TBSTYLE_BUTTON},
        {2, 40045, TBSTATE_ENABLED, TBSTYLE_BUTTON}, {3, 40016, TBSTATE_ENABLED, TBSTYLE_BUTTON},
        {4, 40041, TBSTATE_ENABLED, TBSTYLE_BUTTON}, {5, 40014, TBSTATE_ENABLED, TBSTYLE_CHECK},
        {6, 40012, TBSTATE_ENABLED, TBSTYLE_BUTTON}, {7, 40006, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    };
    ASSERT_TRUE(addMenuBarButtons(bar, 115, buttons, 8));
    showWindow(window);

    EXPECT_TRUE(setButtonState(bar, 40044, 0));
    EXPECT_EQ(buttonState(bar, 40044), 0);
    EXPECT_FALSE(pressMenuBarButton(bar, 40044)) << "a disabled button does nothing";
    EXPECT_TRUE(setButtonState(bar, 40044, TBSTATE_ENABLED));
    EXPECT_EQ(buttonState(bar, 40044), TBSTATE_ENABLED);
    EXPECT_TRUE(setButtonState(bar, 40014, TBSTATE_ENABLED | TBSTATE_CHECKED));
    EXPECT_EQ(buttonState(bar, 40014), TBSTATE_ENABLED | TBSTATE_CHECKED);
    EXPECT_EQ(buttonState(bar, 12345), -1);

    received.clear();
    EXPECT_TRUE(pressMenuBarButton(bar, 40014));
    EXPECT_EQ(buttonState(bar, 40014), TBSTATE_ENABLED) << "a check button toggles itself";
    EXPECT_TRUE(chooseMenuItem(bar, 40049));
    EXPECT_FALSE(chooseMenuItem(bar, 40014)) << "Flip board is a button only";
    processMessages(20);
    std::vector<int> commands;
    for (const Received& r : received) {
        if (r.message == WM_COMMAND) {
            commands.push_back(loWord(r.wParam));
        }
    }
    EXPECT_EQ(commands, (std::vector<int>{40014, 40049}));

    // The bar lies below the client area and is 26 logical pixels high.
    EXPECT_EQ(window->top->sizeHint().height(), CLIENT_HEIGHT + MENU_BAR_HEIGHT);

    Accelerators* keys = loadAccelerators(101);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(acceleratorCount(keys), 18);
    struct KeyCase {
        const char* key;
        int command;
    };
    const KeyCase keyCases[] = {{"Ctrl+Q", 40001}, {"Ctrl+N", 40006}, {"Ctrl+O", 40003},
                                {"Ctrl+S", 40004}, {"Left", 40044},   {"Right", 40045},
                                {"Up", 398},       {"Down", 397},     {"Return", 40016},
                                {"Escape", 40060}, {"Ctrl+X", 0}};
    for (const KeyCase& c : keyCases) {
        EXPECT_EQ(acceleratorCommand(keys, c.key), c.command) << c.key;
    }
    EXPECT_EQ(loadAccelerators(7), nullptr);
    destroyAccelerators(keys);
    destroyWindow(window);
    processMessages(10);
}

TEST(Menu, Resource102ReadsAsTheMenuBarShowsIt) {
    Menu menu;
    ASSERT_TRUE(loadMenu(102, &menu));
    ASSERT_EQ(menu.popups.size(), 3u);
    auto describe = [](const MenuPopup& popup) {
        std::string text = popup.title + ":";
        for (const MenuItem& item : popup.items) {
            text += item.command ? " " + item.text + "=" + std::to_string(item.command) : " -";
        }
        return text;
    };
    EXPECT_EQ(describe(menu.popups[0]),
              "File: New game=40006 Load game...=40003 Save game...=40004 Export board "
              "image...=40096 - Game list...=40070 Next game=40071 Previous game=40072 - "
              "Exit=40001");
    EXPECT_EQ(describe(menu.popups[1]),
              "Tools: Options...=40012 Game moves...=40020 Move now=40016 Setup board...=40049 - "
              "Copy position\tCtrl+Shift+C=40093 Copy game\tCtrl+C=40094 Paste\tCtrl+V=40095");
    EXPECT_EQ(describe(menu.popups[2]), "?: Help...\tF1=40055 Hint=40041 - About...=40024");
    EXPECT_FALSE(loadMenu(101, &menu));
}

TEST(Window, ASecondStartAsksTheFirstToComeForward) {
    TempRoot root;
    setWindowScale(1);
    registerTestClass();
    drops.clear();
    Window* window = createWindow("Test Window", "Tallowmere Chess");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(claimSingleInstance());
    answerOtherInstances(window);
    // A second process would find the lock taken; a second lock in this process behaves alike.
    InstanceLock second;
    EXPECT_EQ(second.acquire(), LockResult::HeldElsewhere);
    const int writer = open((second.lockPath() + ".fifo").c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0) << "the first instance listens";
    EXPECT_EQ(write(writer, "R", 1), 1);
    processMessages(20);
    EXPECT_TRUE(window->top->isVisible()) << "brought to the front";
    EXPECT_TRUE(drops.empty());

    // A second start with a file: it reaches the window as a dropped file.
    const std::string path = root.path + "My Games/Partien f\xC3\xBCr \xC3\x85sa.pgn";
    std::string request, why;
    ASSERT_TRUE(openRequest(path, &request, &why));
    // Garbage, the request in two pieces, a request that is none.
    const std::string pieces[] = {"no request\n", request.substr(0, 9), request.substr(9),
                                  "open relative.pgn\n"};
    for (const std::string& piece : pieces) {
        EXPECT_EQ(write(writer, piece.data(), piece.size()), ssize_t(piece.size()));
        processMessages(10);
    }
    close(writer);
    processMessages(20);
    EXPECT_EQ(drops, std::vector<std::vector<std::string>>{{path}});
    destroyWindow(window);
    processMessages(10);
    releaseSingleInstance();
}

TEST(Window, FilesDroppedFromTheDesktopArePostedToTheWindow) {
    setWindowScale(1);
    registerTestClass();
    drops.clear();
    Window* window = createWindow("Test Window", "Tallowmere Chess");
    ASSERT_NE(window, nullptr);
    dragAcceptFiles(window);
    const std::string spaced = "/tmp/My Games/Partien f\xC3\xBCr \xC3\x85sa.pgn";
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromUtf8(spaced.c_str())),
                   QUrl("https://example.org/games.pgn"), QUrl::fromLocalFile("/tmp/second.pgn")});
    QMimeData text;
    text.setText("1. e4 e5");
    struct Case {
        const char* what;
        const QMimeData* data;
        bool taken;
    } cases[] = {{"files", &files, true}, {"text", &text, false}};
    for (const Case& c : cases) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, c.data, Qt::LeftButton, {});
        QApplication::sendEvent(window->surface, &enter);
        EXPECT_EQ(enter.isAccepted(), c.taken) << c.what;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, c.data, Qt::LeftButton, {});
        QApplication::sendEvent(window->surface, &dropped);
        EXPECT_EQ(dropped.isAccepted(), c.taken) << c.what;
    }
    EXPECT_TRUE(drops.empty()) << "posted, so that the desktop's drag ends first";
    processMessages(20);
    EXPECT_EQ(drops, (std::vector<std::vector<std::string>>{{spaced, "/tmp/second.pgn"}}))
        << "the local files, in their order";
    destroyWindow(window);
    processMessages(10);
}
