#include "program.h"

#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "board/board_drawing.h"
#include "board/geometry.h"
#include "pgn/pgn_game.h"
#include "platform/ui/accelerators.h"
#include "platform/ui/application.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dialog.h"
#include "platform/ui/help.h"
#include "platform/ui/internal.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/sound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>

using namespace platform;

Square at(const char* square) {
    return squareFromText(square);
}

void ProgramTest::SetUp() {
    root = std::make_unique<TempRoot>();
    setWindowScale(1);
    setMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
        messages.push_back(text);
        return messageAnswer;
    });
    setSoundHook([this](const std::string& name, unsigned) { sounds.push_back(name); });
    setHelpHook([this](const std::string& request) { helps.push_back(request); });
    appState.newGame();
    appState.flipped = false;
    appState.sound = true;
    appState.highlightLastMove = false;
    appState.animationSpeed = 0;
    // The engine answers only in the suites that are about it.
    appState.autoAnswer = false;
    static const bool registered = registerMainWindowClass();
    ASSERT_TRUE(registered);
    ASSERT_NE(initInstance(), nullptr);
    settle();
}

void ProgramTest::TearDown() {
    if (Window* main = window()) {
        // As the window's close button does.
        sendMessage(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(findWindow("Tallowmere Chess"), nullptr) << "closing ends the window";
    }
    exitInstance(0);
    processMessages(5);
    setMessageBoxHook({});
    setSoundHook({});
    setHelpHook({});
    root.reset();
}

QWidget* ProgramTest::surface() const {
    return window() ? window()->surface.data() : nullptr;
}

namespace {

QPoint screen(int x, int y) {
    const int scale = windowScale();
    return QPoint(x * scale + scale / 2, y * scale + scale / 2);
}

} // namespace

void ProgramTest::press(int x, int y) {
    QTest::mousePress(surface(), Qt::LeftButton, {}, screen(x, y));
}

void ProgramTest::moveTo(int x, int y) {
    const QPointF point(screen(x, y));
    QMouseEvent move(QEvent::MouseMove, point, surface()->mapToGlobal(point), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface(), &move);
}

void ProgramTest::release(int x, int y) {
    QTest::mouseRelease(surface(), Qt::LeftButton, {}, screen(x, y));
}

void ProgramTest::tap(const char* square) {
    const Point centre = squareCentre(at(square));
    press(centre.x, centre.y);
    release(centre.x, centre.y);
}

void ProgramTest::drag(const char* from, const char* to) {
    const Point start = squareCentre(at(from));
    const Point end = squareCentre(at(to));
    press(start.x, start.y);
    for (int step = 1; step <= 4; ++step) {
        moveTo(start.x + (end.x - start.x) * step / 4, start.y + (end.y - start.y) * step / 4);
    }
    release(end.x, end.y);
}

void ProgramTest::taps(const std::vector<const char*>& squares) {
    for (const char* square : squares) {
        tap(square);
        settle();
    }
}

void ProgramTest::settle() {
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        processMessages(2);
    } while (appState.animation.load() && elapsed.elapsed() < 10000);
    if (window()) updateWindow(window());
}

void ProgramTest::command(int id) {
    postMessage(window(), WM_COMMAND, makeWParam(unsigned(id), 0), 0);
    settle();
}

void ProgramTest::startFrom(const char* fen) {
    auto* game = new CPgnGame;
    game->setRoot(new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0));
    game->setTag("FEN", CText(fen));
    appState.setLoadedGame(game);
    invalidateRect(window(), nullptr, false);
    settle();
}

std::vector<std::string> ProgramTest::mainLine() const {
    std::vector<std::string> line;
    for (const CMoveNode* node = appState.game->root(); node->hasChildren();) {
        node = node->child(0);
        line.push_back(node->moveText.c_str());
    }
    return line;
}

QImage ProgramTest::shown() const {
    return window()->backBuffer;
}

std::string ProgramTest::staleSquares() {
    settle();
    const QImage before = shown().copy();
    invalidateRect(window(), nullptr, true);
    updateWindow(window());
    const QImage fresh = shown();
    std::string stale;
    for (int index = 0; index < 128; ++index) {
        const Square square = Square(index);
        if (!onBoard(square)) continue;
        const platform::Rect r = squareRect(square);
        const QRect area(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (before.copy(area) == fresh.copy(area)) continue;
        char name[4] = {};
        squareText(square, name);
        stale += (stale.empty() ? "" : " ") + std::string(name);
    }
    return stale;
}

void ProgramTest::key(int qtKey, int modifiers) {
    static Accelerators* accelerators = loadAccelerators(IDR_ACCELERATORS);
    if (!acceleratorsAttached) {
        attachAccelerators(window(), accelerators);
        acceleratorsAttached = true;
    }
    QWidget* top = window()->top.data();
    top->activateWindow();
    QApplication::setActiveWindow(top);
    QTest::keyClick(surface(), Qt::Key(qtKey), Qt::KeyboardModifiers(modifiers));
    settle();
}

void ProgramTest::type(const char* text) {
    for (const char* c = text; *c; ++c) {
        QTest::keyClick(surface(), *c);
    }
    settle();
}

bool ProgramTest::squareShows(const char* square, Piece piece) const {
    static const QImage texture =
        QImage(":/tallowmere/bitmaps/138.png").convertToFormat(QImage::Format_RGB32);
    static const QImage strip =
        QImage(":/tallowmere/bitmaps/116.png").convertToFormat(QImage::Format_RGB32);
    const Square s = at(square);
    const bool dark = (rankOf(s) & 1) == (fileOf(s) & 1);
    const platform::Rect r = squareRect(s);
    const int image = stripIndex(piece);
    const QImage buffer = shown();
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            QRgb expected = texture.pixel((dark ? 30 : 0) + x, y);
            if (image >= 0) {
                const QRgb pieceColour = strip.pixel(image * 30 + x, y);
                if ((pieceColour & 0xFFFFFF) != 0xC0C0C0) expected = pieceColour;
            }
            if ((buffer.pixel(r.left + x, r.top + y) & 0xFFFFFF) != (expected & 0xFFFFFF))
                return false;
        }
    }
    return true;
}
