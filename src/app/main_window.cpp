#include "app/main_window.h"

#include <cstdio>
#include <string>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/commands.h"
#include "app/dialog_game_file.h"
#include "app/engine_link.h"
#include "app/shell.h"
#include "app/show_message.h"
#include "app/start_report.h"
#include "app/status_panel.h"
#include "app/time_loss.h"
#include "board/animation.h"
#include "board/board_view.h"
#include "board/move_input.h"
#include "board/typed_move.h"
#include "platform/ui/dc.h"
#include "platform/ui/file_drop.h"
#include "platform/ui/menu.h"
#include "platform/ui/typed_keys.h"
#include "platform/ui/window.h"

using namespace platform;

CShell shell;

namespace {

const char WINDOW_CLASS[] = "Tallowmere Chess";

using MessageHandler = intptr_t (*)(Window* window, unsigned message, uintptr_t wParam,
                                    intptr_t lParam);

// The button row below the menus, left to right.
constexpr MenuBarButton BUTTONS[] = {
    {0, IDM_BACK, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {1, IDM_GAME_MOVES, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {2, IDM_FORWARD, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {3, IDM_MOVE_NOW, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {4, IDM_HINT, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {5, IDM_FLIP_BOARD, TBSTATE_ENABLED, TBSTYLE_CHECK},
    {6, IDM_OPTIONS, TBSTATE_ENABLED, TBSTYLE_BUTTON},
    {7, IDM_NEW_GAME, TBSTATE_ENABLED, TBSTYLE_BUTTON},
};

intptr_t onCreate(Window* window, unsigned, uintptr_t, intptr_t) {
    if (!loadMenu(IDR_MENU, &shell.menu)) {
        showMessage(window, "Couldn't load menu");
        destroyWindow(window);
        return 0;
    }
    shell.menuBar = createMenuBar(window, IDR_MENU);
    if (!shell.menuBar) {
        showMessage(window, "Couldn't create menubar");
        destroyWindow(window);
        return 0;
    }
    addMenuBarButtons(shell.menuBar, IDB_BUTTONS, BUTTONS, int(sizeof BUTTONS / sizeof BUTTONS[0]));
    return 0;
}

intptr_t onPaint(Window* window, unsigned, uintptr_t, intptr_t) {
    PaintInfo paint{};
    Dc* dc = beginPaint(window, &paint);
    const Rect client = getClientRect(window);
    appState.clientRect = client;
    appState.statusRect =
        Rect{client.left, client.top + 8 * appState.squareSize, client.right, client.bottom};
    const Rect& area = paint.area;
    if (area.left != 0 || area.top != 0 || area.right != 0 || area.bottom != 0) {
        paintBoard(dc, area);
        paintStatusPanel(dc);
    }
    endPaint(window, &paint);
    return 0;
}

intptr_t onSettingChange(Window*, unsigned, uintptr_t, intptr_t) {
    return 0;
}

intptr_t onActivateMessage(Window*, unsigned, uintptr_t wParam, intptr_t) {
    if (loWord(wParam) != WA_INACTIVE) onActivate();
    return 0;
}

intptr_t onHibernate(Window*, unsigned, uintptr_t, intptr_t) {
    onLowMemory();
    return 0;
}

intptr_t onDestroy(Window* window, unsigned, uintptr_t, intptr_t) {
    if (window == shell.mainWindow) {
        // The engine thread posts to this window: it ends while the window still exists.
        endEngineThread();
        // An animation still running ends here; its timer goes with the window.
        finishAnimation(window);
        shell.mainWindow = nullptr;
        shell.menuBar = nullptr;
    }
    postQuitMessage(0);
    return 0;
}

intptr_t onTimer(Window* window, unsigned, uintptr_t wParam, intptr_t) {
    if (wParam == STATUS_TIMER) {
        invalidateRect(window, &appState.statusRect, false);
        checkTimeLoss(window);
    } else if (wParam == ANIMATION_TIMER) {
        animationStep(window);
    } else if (wParam == START_REPORT_TIMER) {
        startReportTick(window);
    } else if (wParam == ENGINE_MOVE_TIMER) {
        engineMoveTimer(window);
    } else if (wParam == OPEN_FILE_TIMER) {
        openFileTick(window);
    }
    return 0;
}

// Of several files dropped at once the first is opened: one game file is open at a time.
intptr_t onDropFiles(Window* window, unsigned, uintptr_t wParam, intptr_t) {
    const std::string path = dragQueryFile(dropOf(wParam), 0);
    if (!path.empty()) openGameFile(window, path);
    return 0;
}

intptr_t onHelpMessage(Window*, unsigned, uintptr_t, intptr_t) {
    showHelpAt("Main_Contents");
    return 0;
}

intptr_t onInitMenuPopup(Window*, unsigned, uintptr_t, intptr_t) {
    return 0;
}

// The window's close button asks for what the Exit command does; the Exit command
// itself closes the window through the default answer.
intptr_t onClose(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (!exitUnderway()) {
        exitCommand(window, IDM_EXIT, 0, 0);
        return 0;
    }
    return defWindowProc(window, message, wParam, lParam);
}

struct MessageEntry {
    unsigned message;
    MessageHandler handler;
};

// Searched in this order; the first match handles the message.
constexpr MessageEntry MESSAGE_TABLE[] = {
    {WM_MOUSEMOVE, onMouseMove},
    {WM_CREATE, onCreate},
    {WM_PAINT, onPaint},
    {WM_COMMAND, onCommand},
    {WM_SETTINGCHANGE, onSettingChange},
    {WM_ACTIVATE, onActivateMessage},
    {WM_HIBERNATE, onHibernate},
    {WM_DESTROY, onDestroy},
    {WM_LBUTTONDOWN, onLButtonDown},
    {WM_LBUTTONUP, onLButtonUp},
    {WM_TIMER, onTimer},
    {WM_HELP, onHelpMessage},
    {WM_INITMENUPOPUP, onInitMenuPopup},
    {WM_CLOSE, onClose},
    {WM_SEARCH_ENDED, onSearchEnded},
    {WM_CHAR, onChar},
    {WM_KEYDOWN, onKeyDown},
    {WM_DROPFILES, onDropFiles},
};

} // namespace

bool registerMainWindowClass() {
    return registerWindowClass(WindowClass{WINDOW_CLASS, mainWindowProc, rgb(255, 255, 255)});
}

Window* createMainWindow() {
    Window* window = createWindow(WINDOW_CLASS, WINDOW_CLASS);
    deliverTypedKeys(window);
    dragAcceptFiles(window);
    return window;
}

intptr_t mainWindowProc(Window* window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    for (const MessageEntry& entry : MESSAGE_TABLE) {
        if (entry.message == message) return entry.handler(window, message, wParam, lParam);
    }
    return defWindowProc(window, message, wParam, lParam);
}
