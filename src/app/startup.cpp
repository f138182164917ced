#include "app/startup.h"

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/engine_link.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "app/start_report.h"
#include "app/stored_state.h"
#include "engine/engine_report.h"
#include "engine/level_store.h"
#include "platform/kernel/paths.h"
#include "platform/ui/accelerators.h"
#include "platform/ui/application.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/instance.h"
#include "platform/ui/termination.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

constexpr uint32_t STATUS_PERIOD_MS = 250;
const char PROGRAM_NAME[] = "Tallowmere Chess";

void loadBoardBitmaps() {
    shell.pieceStrip24 = loadBitmap(appState.pieceBitmapId24);
    shell.pieceStrip24ForSquares = loadBitmap(appState.pieceBitmapId24);
    shell.pieceStrip = loadBitmap(appState.pieceBitmapId30);
    shell.pieceStripForSquares = loadBitmap(appState.pieceBitmapId30);
    shell.boardTexture = loadBitmap(appState.boardBitmapId);
}

void deleteBoardBitmaps() {
    for (Bitmap** bitmap : {&shell.pieceStrip24, &shell.pieceStrip24ForSquares, &shell.pieceStrip,
                            &shell.pieceStripForSquares, &shell.boardTexture}) {
        deleteBitmap(*bitmap);
        *bitmap = nullptr;
    }
}

// A game saved while the engine thought names the program as the side to move (and the
// user as the other): the engine takes up its move as after a user's move.
void resumeEngineToMove() {
    const CGame& game = *appState.game;
    const bool whiteToMove = appState.position->sideToMove() == WHITE;
    const CText& toMove = whiteToMove ? game.white() : game.black();
    const CText& other = whiteToMove ? game.black() : game.white();
    if (!(toMove == PROGRAM_NAME) || other == PROGRAM_NAME) return;
    // A game with its result recorded is over, whatever the board shows.
    if (!game.result().isEmpty() && !(game.result() == "*")) return;
    int reason = 0;
    if (appState.position->gameStatus(reason)) return;
    afterUserMove(reason);
}

} // namespace

Window* initInstance(const std::string& commandLine) {
    shell.exeDirectory = executableFolder().c_str();
    deleteStaleEngineModule();
    Window* window = createMainWindow();
    if (!window) return nullptr;
    appState.callbacks = engineCallbacks();
    setTimer(window, STATUS_TIMER, STATUS_PERIOD_MS);
    const CommandLinePaths paths = pathsFromCommandLine(commandLine.c_str());
    takeBookFromCommandLine(paths);
    loadBoardBitmaps();
    shell.mainWindow = window;
    checkFlipButton(appState.flipped);
    updateNavigationButtons();
    showWindow(window);
    restoreAutosave();
    appState.level = loadLevels(*appState.settings);
    if (!loadEngineModule()) return nullptr;
    startEngineThread();
    resumeEngineToMove();
    // Opened as Load game opens it, after all of this: the restored game goes into the ring
    // first, and the engine is there to stop.
    openGameFromCommandLine(window, paths);
    invalidateRect(window, nullptr, false);
    updateWindow(window);
    return window;
}

int exitInstance(int exitCode) {
    endEngineThread();
    if (shell.mainWindow) killTimer(shell.mainWindow, STATUS_TIMER);
    saveLevels(*appState.settings, appState.level);
    deleteBoardBitmaps();
    return exitCode;
}

int winMain(const std::string& commandLine) {
    // The running program opens the game file instead, as if it had been dropped on it.
    if (!claimSingleInstance(filesToHandOver(pathsFromCommandLine(commandLine.c_str())))) return -1;
    loadOptions(appState);
    if (!registerMainWindowClass()) {
        saveOptions(appState);
        return 1;
    }
    Window* window = initInstance(commandLine);
    if (!window) {
        saveOptions(appState);
        return 16;
    }
    answerOtherInstances(window);
    deliverTerminationAs(window, IDM_EXIT_AT_ONCE);
    startReportWhenShown(window);
    Accelerators* accelerators = loadAccelerators(IDR_ACCELERATORS);
    const int code = runMessageLoop(window, accelerators);
    destroyAccelerators(accelerators);
    const int exitCode = exitInstance(code);
    saveOptions(appState);
    releaseSingleInstance();
    return exitCode;
}
