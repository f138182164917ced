// The window at real factors: the mapping between logical and device pixels, the frame's
// layout when it is resized, pointer input mapped back, the size remembered, drawing at
// device resolution, the menus' widths and the buttons' tooltips, and the shipped bitmaps
// against their drawings.
#include "platform/ui/accelerators.h"
#include "platform/ui/application.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/bitmap_art.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/internal.h"
#include "platform/ui/menu.h"
#include "platform/ui/propertysheet.h"
#include "platform/ui/registry.h"
#include "platform/ui/scaling.h"
#include "platform/ui/window.h"
#include "temp_root.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>
#include <vector>

using namespace platform;

namespace {

constexpr int STEPS_TRIED[] = {30, 37, 45, 60, 81, 90};

std::vector<Point> presses;

// Squares in logical pixels: a..h left to right, rank 8 at the top, as on the board.
Rect squareAt(int file, int row) {
    return Rect{file * 30, row * 30, file * 30 + 30, row * 30 + 30};
}

constexpr Color ARROW_YELLOW = rgb(255, 255, 0);
constexpr Color FRAME_RED = rgb(255, 0, 0);

// A board as the program draws one: textures, pieces through the key, a selection frame
// of four lines around e2 and an arrow from e2 to e4.
void paintBoard(Dc* dc) {
    Bitmap* texture = loadBitmap(138);
    Bitmap* strip = loadBitmap(116);
    Dc* textureDc = createCompatibleDC(dc);
    Dc* stripDc = createCompatibleDC(dc);
    selectBitmap(textureDc, texture);
    selectBitmap(stripDc, strip);
    for (int row = 0; row < 8; ++row) {
        for (int file = 0; file < 8; ++file) {
            const Rect r = squareAt(file, row);
            bitBlt(dc, r.left, r.top, 30, 30, textureDc, (row + file) % 2 ? 30 : 0, 0);
            if (row == 7) {
                // Knights only: pieces are what is looked at, the rest is board.
                transparentBlt(dc, r.left, r.top, 30, 30, stripDc, 30, 0);
            }
        }
    }
    deleteDC(textureDc);
    deleteDC(stripDc);
    deleteBitmap(texture);
    deleteBitmap(strip);
    fillRect(dc, Rect{0, 240, 240, 268}, rgb(255, 255, 255));
    const Rect e2 = squareAt(4, 6);
    const Pen previous = selectPen(dc, Pen{FRAME_RED, false});
    const Point lines[4][2] = {{{e2.left, e2.top}, {e2.left, e2.bottom - 1}},
                               {{e2.left, e2.bottom - 1}, {e2.right - 1, e2.bottom - 1}},
                               {{e2.right - 1, e2.bottom - 1}, {e2.right - 1, e2.top}},
                               {{e2.left, e2.top}, {e2.right - 1, e2.top}}};
    for (const auto& line : lines) {
        polyline(dc, line, 2);
    }
    const Point arrow[] = {{131, 195}, {131, 147}, {125, 147}, {135, 133},
                           {145, 147}, {139, 147}, {139, 195}, {131, 195}};
    selectPen(dc, Pen{ARROW_YELLOW, false});
    const Brush brush = selectBrush(dc, Brush{ARROW_YELLOW, false});
    polygon(dc, arrow, 8);
    selectBrush(dc, brush);
    selectPen(dc, previous);
}

intptr_t boardProc(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_PAINT) {
        PaintInfo paint{};
        Dc* dc = beginPaint(window, &paint);
        paintBoard(dc);
        endPaint(window, &paint);
        return 0;
    }
    if (message == WM_LBUTTONDOWN) {
        presses.push_back(Point{pointX(lParam), pointY(lParam)});
        return 0;
    }
    return defWindowProc(window, message, wParam, lParam);
}

// A board window laid out at a factor by the size of its frame.
class BoardWindow {
public:
    explicit BoardWindow(int steps, bool withMenuBar = false) {
        static const bool registered =
            registerWindowClass(WindowClass{"Scaled Board", boardProc, rgb(255, 255, 255)});
        (void)registered;
        setWindowScale(1);
        window = createWindow("Scaled Board", "Scaled");
        if (withMenuBar) {
            createMenuBar(window, 102);
        }
        showWindow(window);
        resizeTo(steps);
    }
    ~BoardWindow() {
        destroyWindow(window);
        processMessages(5);
    }
    void resizeTo(int steps) {
        const int bar = window->menuBar ? MENU_BAR_HEIGHT : 0;
        window->top->resize(deviceSize(QSize(CLIENT_WIDTH, CLIENT_HEIGHT + bar), steps));
        processMessages(5);
        updateWindow(window);
    }
    QImage shown() const { return window->surface->grab().toImage(); }
    Window* window;
};

// A press and release of the left button at a widget's pixel (QTest takes (0, 0) for the
// widget's centre).
void tap(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The squares on which a colour shows, exactly.
std::set<int> squaresShowing(const QImage& image, int steps, Color colour) {
    const QRgb wanted = qRgb(redOf(colour), greenOf(colour), blueOf(colour));
    std::set<int> squares;
    for (int row = 0; row < 8; ++row) {
        for (int file = 0; file < 8; ++file) {
            const QRect device = deviceRect(toQRect(squareAt(file, row)), steps);
            for (int y = device.top(); y <= device.bottom(); ++y) {
                for (int x = device.left(); x <= device.right(); ++x) {
                    if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) {
                        squares.insert(row * 8 + file);
                    }
                }
            }
        }
    }
    return squares;
}

} // namespace

TEST(Scaling, EveryDevicePixelBelongsToExactlyOneLogicalPixel) {
    for (const int steps : STEPS_TRIED) {
        for (int logical = -3; logical < 300; ++logical) {
            ASSERT_LT(deviceEdge(logical, steps), deviceEdge(logical + 1, steps)) << steps;
        }
        for (int device = -10; device < 900; ++device) {
            const int logical = logicalOf(device, steps);
            ASSERT_LE(deviceEdge(logical, steps), device) << steps << " " << device;
            ASSERT_GT(deviceEdge(logical + 1, steps), device) << steps << " " << device;
        }
        // Every square of the board is the same number of device pixels.
        for (int square = 0; square <= 8; ++square) {
            EXPECT_EQ(deviceEdge(square * 30, steps), square * steps);
        }
    }
    EXPECT_EQ(deviceEdge(7, STEPS_PER_PIXEL), 7) << "the handheld's size is the identity";
}

TEST(Scaling, TheLargestFactorThatFitsBothWays) {
    struct Case {
        QSize device;
        int steps;
    };
    const Case cases[] = {
        {{240, 294}, 30}, {{720, 882}, 90},    {{1300, 800}, 81}, {{360, 2000}, 45},
        {{100, 100}, 30}, {{4000, 4000}, 360}, {{359, 441}, 44},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stepsToFit(QSize(240, 294), c.device), c.steps) << c.device.width();
        if (c.steps > MIN_STEPS && c.steps < MAX_STEPS) {
            EXPECT_LE(deviceEdge(294, c.steps), c.device.height());
            EXPECT_LE(deviceEdge(240, c.steps), c.device.width());
        }
    }
}

TEST(Scaling, ResizingTakesTheNewFactorCentresTheBoardAndMapsTapsBack) {
    BoardWindow board(30, true);
    Window* window = board.window;
    // Wider than the board needs: the factor follows the height, the board sits in the middle.
    window->top->resize(1300, 800);
    processMessages(5);
    EXPECT_EQ(window->steps, 81);
    const QRect surface = window->surface->geometry();
    EXPECT_EQ(surface.size(), QSize(648, 724));
    EXPECT_EQ(surface.left(), (1300 - 648) / 2);
    EXPECT_EQ(surface.top(), (800 - 724 - deviceEdge(MENU_BAR_HEIGHT, 81)) / 2);
    EXPECT_EQ(window->backBuffer.size(), QSize(648, 724));
    const Rect client = getClientRect(window);
    EXPECT_EQ(client.width(), CLIENT_WIDTH) << "the program still sees logical pixels";
    EXPECT_EQ(client.height(), CLIENT_HEIGHT);
    EXPECT_EQ(currentSteps(), 81) << "new bitmaps and dialogs follow the window";

    // Every corner pixel of every square hits that square.
    presses.clear();
    for (int row = 0; row < 8; ++row) {
        for (int file = 0; file < 8; ++file) {
            const QRect device = deviceRect(toQRect(squareAt(file, row)), window->steps);
            for (const QPoint corner :
                 {device.topLeft(), device.topRight(), device.bottomLeft(), device.bottomRight()}) {
                tap(window->surface, corner);
                ASSERT_FALSE(presses.empty());
                EXPECT_EQ(presses.back().x / 30, file) << file << "," << row;
                EXPECT_EQ(presses.back().y / 30, row) << file << "," << row;
            }
        }
    }
    EXPECT_EQ(presses.size(), 64u * 4);
    // The background around the board is not the board.
    presses.clear();
    tap(window->top, QPoint(surface.left() - 1, 100));
    tap(window->top, QPoint(surface.right() + 1, surface.bottom()));
    EXPECT_TRUE(presses.empty());

    // Smaller than the handheld it never gets.
    window->top->resize(100, 100);
    processMessages(5);
    EXPECT_EQ(window->steps, MIN_STEPS);
}

TEST(Scaling, TheSizeTheUserLeftIsTheNextStartSize) {
    TempRoot root;
    registryReopen();
    {
        BoardWindow board(30);
        setWindowScale(0);
        board.window->top->resize(700, 600);
        processMessages(5);
    }
    setWindowScale(0);
    {
        registerWindowClass(WindowClass{"Scaled Board", boardProc, rgb(255, 255, 255)});
        Window* window = createWindow("Scaled Board", "again");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->top->size(), QSize(700, 600));
        destroyWindow(window);
        processMessages(5);
    }
    // A forced scale wins over what was remembered, and is not remembered itself.
    setWindowScale(2);
    {
        Window* window = createWindow("Scaled Board", "forced");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->top->size(), QSize(480, 588));
        window->top->resize(900, 900);
        destroyWindow(window);
        processMessages(5);
    }
    setWindowScale(0);
    {
        Window* window = createWindow("Scaled Board", "third");
        EXPECT_EQ(window->top->size(), QSize(700, 600));
        destroyWindow(window);
        processMessages(5);
    }
    setWindowScale(1);
    registryReopen();
}

TEST(Scaling, AtLargerFactorsPiecesAreDrawnAtDeviceResolution) {
    // The knight's outline at the handheld's size, from the strip itself.
    Bitmap* strip = loadBitmap(116);
    ASSERT_NE(strip, nullptr);
    QRect outline;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            if ((strip->image.pixel(30 + x, y) & 0xFFFFFF) != 0xC0C0C0) {
                outline |= QRect(x, y, 1, 1);
            }
        }
    }
    deleteBitmap(strip);
    ASSERT_FALSE(outline.isEmpty());

    BoardWindow board(90);
    const QImage shown = board.shown();
    ASSERT_EQ(shown.size(), QSize(720, 804));
    // In every knight's box, blocks of 3 x 3 pixels of one colour are rare: the art is not
    // the handheld's pixels enlarged.
    for (const int file : {0, 3, 6}) {
        const QRect box = deviceRect(outline.translated(file * 30, 7 * 30), 90);
        int blocks = 0;
        int plain = 0;
        for (int y = (box.top() + 2) / 3 * 3; y + 3 <= box.bottom() + 1; y += 3) {
            for (int x = (box.left() + 2) / 3 * 3; x + 3 <= box.right() + 1; x += 3) {
                ++blocks;
                bool same = true;
                for (int dy = 0; dy < 3 && same; ++dy) {
                    for (int dx = 0; dx < 3 && same; ++dx) {
                        same = shown.pixel(x + dx, y + dy) == shown.pixel(x, y);
                    }
                }
                plain += same;
            }
        }
        ASSERT_GT(blocks, 100);
        EXPECT_LT(plain * 5, blocks) << "file " << file << ": " << plain << " of " << blocks;
    }
}

TEST(Scaling, FrameAndArrowLandOnTheSameSquaresAtEveryFactor) {
    std::set<int> frameSquares;
    std::set<int> arrowSquares;
    for (const int steps : {30, 45, 60, 90}) {
        BoardWindow board(steps);
        ASSERT_EQ(board.window->steps, steps);
        const QImage shown = board.shown();
        const std::set<int> frame = squaresShowing(shown, steps, FRAME_RED);
        const std::set<int> arrow = squaresShowing(shown, steps, ARROW_YELLOW);
        if (steps == 30) {
            frameSquares = frame;
            arrowSquares = arrow;
            EXPECT_EQ(frame, (std::set<int>{6 * 8 + 4}));
            EXPECT_EQ(arrow, (std::set<int>{4 * 8 + 4, 5 * 8 + 4, 6 * 8 + 4}));
            continue;
        }
        EXPECT_EQ(frame, frameSquares) << steps;
        EXPECT_EQ(arrow, arrowSquares) << steps;
        // The frame is one logical pixel wide: whole device pixels along the square's edge.
        const QRect e2 = deviceRect(toQRect(squareAt(4, 6)), steps);
        const int width = deviceEdge(1, steps);
        for (int i = 0; i < width; ++i) {
            EXPECT_EQ(shown.pixel(e2.left() + i, e2.center().y()) & 0xFFFFFF, 0xFF0000u) << steps;
        }
        EXPECT_NE(shown.pixel(e2.left() + width, e2.top() + 5 * width) & 0xFFFFFF, 0xFF0000u)
            << steps;
    }
}

TEST(Scaling, MenusShowWholeTextsAndShortcutsAndButtonsTheirNames) {
    for (const int steps : {30, 45, 90}) {
        BoardWindow board(steps, true);
        MenuBar* bar = menuBarOf(board.window);
        const MenuBarButton buttons[] = {
            {0, 40044, TBSTATE_ENABLED, TBSTYLE_BUTTON},
            {1, 40020, TBSTATE_ENABLED, TBSTYLE_BUTTON},
            {5, 40014, TBSTATE_ENABLED, TBSTYLE_CHECK},
            {7, 40006, TBSTATE_ENABLED, TBSTYLE_BUTTON},
        };
        ASSERT_TRUE(addMenuBarButtons(bar, 115, buttons, 4));
        Accelerators* keys = loadAccelerators(101);
        attachAccelerators(board.window, keys);
        destroyAccelerators(keys);
        board.resizeTo(steps);

        std::vector<QString> items;
        for (QMenu* menu : board.window->top->findChildren<QMenu*>()) {
            menu->popup(QPoint(0, 0));
            processMessages(5);
            const QFontMetrics metrics(menu->font());
            for (const QAction* action : menu->actions()) {
                if (action->isSeparator()) {
                    continue;
                }
                items.push_back(action->text());
                const QString text = action->text().section('\t', 0, 0);
                const QString key = action->text().section('\t', 1);
                // Room for the text, a gap, and the shortcut in its column.
                EXPECT_GE(menu->width(), metrics.horizontalAdvance(text) +
                                             metrics.horizontalAdvance(key) + 2 * metrics.height())
                    << text.toStdString() << " at " << steps;
            }
            menu->hide();
        }
        for (const char* expected : {"New game\tCtrl+N", "Load game...\tCtrl+O",
                                     "Save game...\tCtrl+S", "Exit\tCtrl+Q", "Move now\tReturn"}) {
            EXPECT_NE(std::find(items.begin(), items.end(), QString(expected)), items.end())
                << expected;
        }
        std::set<QString> tips;
        for (const QToolButton* button : board.window->top->findChildren<QToolButton*>()) {
            if (!button->menu()) {
                tips.insert(button->toolTip());
            }
        }
        EXPECT_EQ(tips, (std::set<QString>{"Back (Left)", "Game moves", "Flip board",
                                           "New game (Ctrl+N)"}))
            << steps;
    }
}

TEST(Scaling, ShippedBitmapsAreWhatTheirDrawingsMake) {
    for (const int id : artBitmapIds()) {
        Bitmap* shipped = loadBitmap(id);
        ASSERT_NE(shipped, nullptr) << id;
        const QImage drawn = drawBitmapArt(id, STEPS_PER_PIXEL);
        EXPECT_EQ(drawn.convertToFormat(QImage::Format_RGB32), shipped->image)
            << id << ": run tools/resources/generate.sh";
        deleteBitmap(shipped);
    }
    EXPECT_TRUE(drawBitmapArt(999, STEPS_PER_PIXEL).isNull());
}

TEST(Scaling, BitmapsDrawnFromArtFollowTheFactorTheyAreDrawnAt) {
    // Loaded at the handheld's size, drawn onto a window at three times: the strip is drawn
    // again at that size, with coverage where the key was.
    setWindowScale(1);
    Bitmap* strip = loadBitmap(116);
    ASSERT_EQ(strip->steps, STEPS_PER_PIXEL);
    matchSteps(strip, 90);
    EXPECT_EQ(strip->steps, 90);
    EXPECT_EQ(strip->image.size(), QSize(1080, 90));
    EXPECT_EQ(bitmapWidth(strip), 360) << "its logical size stays";
    EXPECT_EQ(qAlpha(strip->image.pixel(0, 0)), 0);
    // One drawn on is the program's own: it is not drawn again.
    Dc* dc = createCompatibleDC(nullptr);
    selectBitmap(dc, strip);
    fillRect(dc, Rect{0, 0, 1, 1}, rgb(1, 2, 3));
    matchSteps(strip, 60);
    EXPECT_EQ(strip->steps, 90);
    EXPECT_EQ(getPixel(dc, 0, 0), rgb(1, 2, 3));
    deleteDC(dc);
    deleteBitmap(strip);
}

namespace {

Window* openedDialog = nullptr;

intptr_t quietProc(Window* dialog, unsigned message, uintptr_t, intptr_t) {
    if (message == WM_INITDIALOG) {
        openedDialog = dialog;
    }
    return 0;
}

// What every label of the open dialog lacks to show its whole text: nothing when all fit.
std::vector<std::string> labelsCut() {
    std::vector<std::string> cut;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        return {"no dialog"};
    }
    for (const QLabel* label : modal->findChildren<QLabel*>()) {
        const QFontMetrics metrics(label->font());
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, label->width(), 10000),
                                 Qt::TextWordWrap | label->alignment(), label->text());
        if (needed.height() > label->height() || needed.width() > label->width()) {
            cut.push_back(label->text().toStdString());
        }
    }
    return cut;
}

} // namespace

TEST(Scaling, DialogTextsAreNeverCutAndGrowWithTheWindow) {
    int previousFont = 0;
    for (const int scale : {1, 2, 3}) {
        setWindowScale(scale);
        std::vector<std::string> cut{"not looked at"};
        int fontPixels = 0;
        QTimer look;
        look.setInterval(10);
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (!openedDialog || !QApplication::activeModalWidget()) {
                return;
            }
            cut = labelsCut();
            fontPixels = QApplication::activeModalWidget()->font().pixelSize();
            look.stop();
            endDialog(openedDialog, 1);
        });
        openedDialog = nullptr;
        look.start();
        EXPECT_EQ(dialogBox(126, nullptr, quietProc), 1);
        EXPECT_TRUE(cut.empty()) << "scale " << scale << ": " << (cut.empty() ? "" : cut[0]);
        EXPECT_GT(fontPixels, previousFont) << "scale " << scale;
        previousFont = fontPixels;
    }
    setWindowScale(1);
}

TEST(Scaling, DialogsAndTheSheetTooLargeForTheScreenShrinkToFitAndDropDownsAreOneLineHigh) {
    setWindowScale(3);
    QRect frame, room;
    int dropDownHeight = 0, editHeight = 0;
    QTimer look;
    look.setInterval(10);
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!openedDialog || !modal) {
            return;
        }
        frame = modal->frameGeometry();
        room = modal->screen()->availableGeometry();
        dropDownHeight = modal->findChild<QComboBox*>()->height();
        editHeight = modal->findChild<QLineEdit*>()->height();
        look.stop();
        endDialog(openedDialog, 1);
    });
    openedDialog = nullptr;
    look.start();
    // The game list is wider than the handheld's screen; at three times it is wider
    // than most desktops.
    EXPECT_EQ(dialogBox("gamelist", nullptr, quietProc), 1);
    EXPECT_LE(frame.width(), room.width());
    EXPECT_LE(frame.height(), room.height());
    EXPECT_GT(frame.width(), 420); // shrunk, not back at the handheld's size
    EXPECT_EQ(dropDownHeight, editHeight);

    // The options sheet, taller than a desktop at three times, with its buttons below.
    QRect buttons;
    QTimer lookAtSheet;
    lookAtSheet.setInterval(10);
    QObject::connect(&lookAtSheet, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            return;
        }
        lookAtSheet.stop();
        frame = modal->frameGeometry();
        auto* box = modal->findChild<QDialogButtonBox*>();
        buttons = QRect(box->mapToGlobal(QPoint(0, 0)), box->size());
        pressPropertySheetButton(false);
    });
    lookAtSheet.start();
    const PropertyPage pages[] = {{"412", quietProc, 0}};
    EXPECT_EQ(propertySheet(nullptr, "Tallowmere Chess", pages, 1), 0);
    EXPECT_LE(frame.height(), room.height());
    EXPECT_TRUE(room.contains(buttons)) << buttons.y() << "+" << buttons.height();
    setWindowScale(1);
}
