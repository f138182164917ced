// The program with a scripted user, in a process of its own, for the restart tests. It
// starts as tallowmere-chess does (winMain), prints what the window shows once it runs,
// plays the user's moves on the board against the scripted engine, changes the flip and
// the level, and ends by Exit or by the window's close button.
//
//   shell_driver ENGINE_FOLDER/ exit|close|session|none|stay|dialog [FROM-TO:REPLY]...
//
// Each move pair taps FROM and TO, the engine answering REPLY (coordinates, "e2-e4:e7e5").
// Lines on stdout: "shown LINE", "flipped N", "flip button N", "level TEXT", "played LINE", "code
// N". The root folder comes from TALLOWMERE_ROOT, the command line from SHELL_COMMAND_LINE. "none"
// ends without Exit; "session" as the desktop session's end does; "stay" runs on, printing
// "opened LINE" for each game opened after the start; "dialog" runs on with the About box
// open, printing "dialog open" once it is. A game list that opens is answered with Return
// (its selected game opens), printing "list TITLE".
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/engine_link.h"
#include "app/shell.h"
#include "app/startup.h"
#include "board/geometry.h"
#include "engine/level_text.h"
#include "platform/ui/application.h"
#include "platform/ui/internal.h"
#include "platform/ui/menu.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/termination.h"
#include "platform/ui/window.h"
#include "scripted_engine.h"

using namespace platform;

namespace {

std::string mainLine() {
    std::string line;
    for (const CMoveNode* node = appState.game->root(); node->hasChildren();) {
        node = node->child(0);
        line += (line.empty() ? "" : " ") + std::string(node->moveText.c_str());
    }
    return line;
}

bool runUntil(bool (*condition)(), int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > limitMs) return false;
        processMessages(2);
    }
    return true;
}

void tap(const std::string& square) {
    const Point centre = squareCentre(squareFromText(square.c_str()));
    QWidget* surface = shell.mainWindow->surface.data();
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(centre.x, centre.y));
    processMessages(2);
}

// Opens the selected game of every game list that shows, as the user's Return does.
void answerGameLists() {
    auto* lists = new QTimer(qApp);
    QObject::connect(lists, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->windowTitle().startsWith("Games in ") || !modal->focusWidget())
            return;
        std::printf("list %s\n", modal->windowTitle().toUtf8().constData());
        std::fflush(stdout);
        QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
    });
    lists->start(5);
}

// Says each game that becomes the current one from now on.
void reportOpenedGames() {
    auto* games = new QTimer(qApp);
    QObject::connect(games, &QTimer::timeout, [shownGame = appState.game.get()]() mutable {
        if (appState.game.get() == shownGame) return;
        shownGame = appState.game.get();
        std::printf("opened %s\n", mainLine().c_str());
        std::fflush(stdout);
    });
    games->start(5);
}

int targetPly = 0;

// The user's move "e2-e4:e7e5": played by taps, answered by the engine.
bool playPair(ScriptedEngine& engine, const std::string& pair) {
    const size_t colon = pair.find(':');
    if (pair.size() < 5 || colon == std::string::npos) return false;
    engine.setScript("pv 10 " + pair.substr(colon + 1));
    targetPly = appState.plyNumber + 2;
    tap(pair.substr(0, 2));
    tap(pair.substr(3, 2));
    return runUntil(
        [] {
            return appState.plyNumber >= targetPly && !engineBusy() && !appState.animation.load();
        },
        30000);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string error;
    initApplication(argc, argv, &error);
    if (argc < 3) {
        std::fputs("usage: shell_driver ENGINE_FOLDER/ exit|close|session|none|stay|dialog "
                   "[FROM-TO:REPLY]...\n",
                   stderr);
        shutdownApplication();
        return 2;
    }
    setMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
        std::printf("message %s\n", text.c_str());
        return IDOK;
    });
    setWindowScale(1);
    setEngineFolder(argv[1]);
    ScriptedEngine engine(argv[1]);
    const std::string ending = argv[2];
    const std::vector<std::string> pairs(argv + 3, argv + argc);

    answerGameLists();
    QTimer::singleShot(0, [&] {
        // What the window shows once the command line's game file is open.
        runUntil([] { return !gameFileFromCommandLinePending(); }, 30000);
        const bool flipChecked =
            buttonState(menuBarOf(shell.mainWindow), IDM_FLIP_BOARD) & TBSTATE_CHECKED;
        std::printf("shown %s\nflipped %d\nflip button %d\nlevel %s\n", mainLine().c_str(),
                    int(appState.flipped), int(flipChecked), levelText(appState.level).c_str());
        for (const std::string& pair : pairs) {
            if (!playPair(engine, pair)) std::printf("failed %s\n", pair.c_str());
        }
        if (!pairs.empty()) {
            // The options change as the user changes them: the button, and the level.
            sendMessage(shell.mainWindow, WM_COMMAND, makeWParam(IDM_FLIP_BOARD, 0), 0);
            appState.level.setFixed(appState.level.fixedPlies % 3 + 1, NO_TIME_LIMIT);
        }
        std::printf("played %s\nflipped %d\nlevel %s\n", mainLine().c_str(), int(appState.flipped),
                    levelText(appState.level).c_str());
        std::fflush(stdout);
        if (ending == "exit") {
            postMessage(shell.mainWindow, WM_COMMAND, makeWParam(IDM_EXIT, 0), 0);
        } else if (ending == "close") {
            shell.mainWindow->surface->window()->close();
        } else if (ending == "dialog") {
            postMessage(shell.mainWindow, WM_COMMAND, makeWParam(IDM_ABOUT, 0), 0);
            auto* opened = new QTimer(qApp);
            QObject::connect(opened, &QTimer::timeout, [opened] {
                if (!QApplication::activeModalWidget()) return;
                opened->stop();
                std::printf("dialog open\n");
                std::fflush(stdout);
            });
            opened->start(5);
        } else if (ending == "session") {
            sessionEnds();
        } else if (ending == "stay") {
            reportOpenedGames();
        } else if (ending == "none") {
            postQuitMessage(0);
        }
    });
    // The command line as the test gives it, quoted or not; else the arguments' own.
    const char* given = std::getenv("SHELL_COMMAND_LINE");
    const int code = winMain(given ? std::string(given) : commandLine());
    std::printf("code %d\n", code);
    std::fflush(stdout);
    shutdownApplication();
    return code;
}
