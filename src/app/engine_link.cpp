#include "app/engine_link.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/adjudication.h"
#include "app/app_state.h"
#include "app/engine_choice.h"
#include "app/hint_coach.h"
#include "app/shell.h"
#include "app/show_message.h"
#include "app/user_clock.h"
#include "board/play_move.h"
#include "engine/apply_level.h"
#include "engine/engine_line.h"
#include "engine/engine_module.h"
#include "engine/engine_report.h"
#include "engine/engine_thread.h"
#include "engine/hash_size.h"
#include "engine/level_settings.h"
#include "engine/search_request.h"
#include "engine/think_time.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/memory.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

// How often the held-back move looks again whether it may be played.
constexpr uint32_t ENGINE_MOVE_POLL_MS = 30;
// The hint's search: five seconds, any depth; its end is looked for this often.
constexpr int32_t HINT_SECONDS = 5;
constexpr int32_t HINT_MAX_PLIES = 99;
constexpr uint32_t HINT_POLL_MS = 100;

CEngineModule engineModule;
std::unique_ptr<CEngineThread> engineThread;
std::string engineFolderOverride;
std::string loadedFolder;
std::string loadedCommand;

// The interface thread's side of the searches. Every request gets a serial; playSerial
// is the search whose move may still be played (0: none), searchedFen the position it
// was asked for, heldThinkTime its length while the move waits for the board.
uint32_t lastSerial = 0;
uint32_t playSerial = 0;
char searchedFen[FEN_BUFFER_SIZE] = "";
uint32_t heldThinkTime = 0;
// The last search the engine thread has finished, for the hint, which waits for its own.
std::atomic<uint32_t> endedSerial{0};

std::string engineFolder() {
    return engineFolderOverride.empty() ? std::string(shell.exeDirectory.c_str())
                                        : engineFolderOverride;
}

uint32_t nextSerial() {
    if (++lastSerial == 0) ++lastSerial;
    return lastSerial;
}

uint64_t usedMsOfSideToMove() {
    return appState.position->sideToMove() == WHITE ? appState.whiteUsedMs : appState.blackUsedMs;
}

bool pieceOfSideToMove(Piece piece) {
    return appState.position->sideToMove() == WHITE ? isWhitePiece(piece) : isBlackPiece(piece);
}

SearchRequest sendGameToEngine() {
    SearchRequest request =
        gameSearchRequest(*appState.game, appState.currentNode, *appState.settings);
    appState.plyNumber = request.plyNumber;
    engineReport.searchRequested(tickCount());
    return request;
}

// The first move of the engine's last line, played into the game with the search's length.
bool playEngineMove(uint32_t thinkTimeMs) {
    const EngineReport report = engineReport.snapshot();
    if (report.pvText[0] == 0) return false;
    const CMove move = engineMove(*appState.position, report.pvText);
    if (move == NO_MOVE || !pieceOfSideToMove(appState.position->at(move.from))) return false;
    if (!playMove(move, thinkTimeMs, true, true)) return false;
    startUsersClock();
    invalidateRect(shell.mainWindow, &appState.statusRect, false);
    return true;
}

bool sameAsSearched() {
    char fen[FEN_BUFFER_SIZE];
    appState.position->getFen(fen);
    return std::strcmp(fen, searchedFen) == 0;
}

void playHeldMove(Window* window) {
    if (playSerial == 0) {
        killTimer(window, ENGINE_MOVE_TIMER);
        return;
    }
    if (appState.animation.load() || appState.modalOpen) {
        setTimer(window, ENGINE_MOVE_TIMER, ENGINE_MOVE_POLL_MS);
        return;
    }
    killTimer(window, ENGINE_MOVE_TIMER);
    playSerial = 0;
    // Every command that leaves the position drops the move first; this is the last guard.
    if (!sameAsSearched()) return;
    if (coachCheck(window)) return;
    if (!playEngineMove(heldThinkTime)) return;
    coachRemember();
    adjudicate();
}

} // namespace

void setEngineFolder(const std::string& folder) {
    engineFolderOverride = folder;
}

void deleteStaleEngineModule() {
    deleteStaleModule(engineFolder());
}

bool loadEngineModule() {
    const std::string folder = engineFolder();
    const std::string command = chosenEngineCommand();
    // A run that starts again in the same process finds its module loaded already.
    if (engineModule.isLoaded() && folder == loadedFolder && command == loadedCommand) {
        appState.engineName = engineModule.name();
        return true;
    }
    endEngineThread();
    engineThread.reset();
    loadedFolder.clear();
    loadedCommand = command;
    ModuleLoadResult result = engineModule.load(folder, command);
    if (result.status == ModuleLoad::engineNotStarted) {
        engineDidNotStart(command);
        loadedCommand = chosenEngineCommand();
        result = engineModule.load(folder, loadedCommand);
    }
    char text[512];
    switch (result.status) {
    case ModuleLoad::loaded:
        appState.engineName = engineModule.name();
        loadedFolder = folder;
        return true;
    case ModuleLoad::notLoadable:
        std::snprintf(text, sizeof text, "Couldn\xB4t load '%s'. Error #%d", result.path.c_str(),
                      int(result.errorCode));
        break;
    case ModuleLoad::missingExport:
        // The program cannot start without it; the user is told which one is missing.
        std::snprintf(text, sizeof text, "Couldn\xB4t load '%s'. The export %s is missing",
                      result.path.c_str(), result.missingExport);
        break;
    case ModuleLoad::engineNotStarted:
        std::snprintf(text, sizeof text, "Couldn\xB4t start the engine of '%s'",
                      result.path.c_str());
        break;
    }
    showMessage(text);
    return false;
}

void startEngineThread() {
    if (!engineModule.isLoaded()) return;
    appState.availableKB = availableKBFrom(freePhysicalMemory());
    appState.configuredHashKB = fittedHashKB(appState.configuredHashKB, appState.availableKB);
    if (engineThread && engineThread->isRunning()) return;
    // Each thread posts to the window of its own run.
    Window* window = shell.mainWindow;
    engineThread = std::make_unique<CEngineThread>(
        engineModule.exports(), engineReport, [] { return appState.animation.load() == nullptr; },
        [window](const SearchOutcome& outcome) {
            endedSerial = outcome.serial;
            postMessage(window, WM_SEARCH_ENDED, outcome.serial,
                        intptr_t(searchTime(outcome.searchStartTick, outcome.searchEndTick)));
        });
    if (!engineThread->start(appState.configuredHashKB, &appState.callbacks)) {
        char text[64];
        std::snprintf(text, sizeof text, "Can\xB4t start engine thread. Error #%d", EAGAIN);
        showMessage(text);
        return;
    }
    appState.hashInUseKB = appState.configuredHashKB;
}

void switchEngineModule() {
    endEngineThread();
    engineThread.reset();
    engineModule.unload();
    loadedFolder.clear();
    if (loadEngineModule()) startEngineThread();
    invalidateRect(shell.mainWindow, &appState.statusRect, false);
}

void endEngineThread() {
    if (engineThread) {
        appState.autoMove = false;
        stopSearch();
        engineThread->quit();
    }
    playSerial = 0;
}

bool engineBusy() {
    return playSerial != 0 || (engineThread && engineThread->busy());
}

void stopSearch() {
    if (!appState.autoMove.exchange(true)) playSerial = 0;
    if (!engineThread) return;
    const uint32_t withdrawn = engineThread->stop();
    if (withdrawn != 0 && withdrawn == playSerial) playSerial = 0;
}

void clearEngineReport() {
    playSerial = 0;
    engineReport.clear(tickCount());
}

void afterUserMove(int reason) {
    if (appState.autoAnswer && reason != STATUS_CHECKMATE && reason != STATUS_STALEMATE) {
        startEngineMove();
    } else {
        stopSearch();
    }
}

void startEngineMove() {
    if (!engineModule.isLoaded()) {
        showMessage("No engine loaded. Can\xB4t start search");
        return;
    }
    // A running search is never restarted here; callers stop it first. A thread ended
    // for want of memory plays again once the program is active again.
    if (!engineThread || engineThread->busy() || !engineThread->isRunning()) return;
    SearchRequest request = sendGameToEngine();
    request.level = levelCalls(appState.level, appState.plyNumber, usedMsOfSideToMove());
    request.serial = nextSerial();
    playSerial = request.serial;
    appState.position->getFen(searchedFen);
    engineThread->requestSearch(std::move(request));
}

void clearHashtables() {
    if (engineThread) engineThread->clearHashtables();
}

void onActivate() {
    if (!shell.lowMemoryStop) return;
    startEngineThread();
    shell.lowMemoryStop = false;
}

void onLowMemory() {
    if (isForegroundWindow(shell.mainWindow)) return;
    if (engineThread && engineThread->isRunning()) {
        stopSearch();
        engineThread->quit();
    }
    shell.lowMemoryStop = true;
}

intptr_t onSearchEnded(Window* window, unsigned, uintptr_t wParam, intptr_t lParam) {
    if (engineReport.takeEngineFailure()) {
        // Tarnwick takes over, and makes the move the failed engine did not.
        const bool moveWanted = uint32_t(wParam) == playSerial && playSerial != 0;
        engineStoppedWorking();
        if (moveWanted && sameAsSearched()) startEngineMove();
        return 0;
    }
    if (uint32_t(wParam) != playSerial || playSerial == 0) return 0;
    heldThinkTime = uint32_t(lParam);
    playHeldMove(window);
    return 0;
}

void engineMoveTimer(Window* window) {
    playHeldMove(window);
}

ClockInputs clockInputs() {
    const EngineReport report = engineReport.snapshot();
    ClockInputs inputs;
    inputs.whiteUsedMs = appState.whiteUsedMs;
    inputs.blackUsedMs = appState.blackUsedMs;
    inputs.plyNumber = appState.plyNumber;
    inputs.whiteToMove = appState.position->sideToMove() == WHITE;
    inputs.engineBusy = report.busy;
    inputs.searchStartTick = report.searchStartTick;
    inputs.humanClockStart = appState.humanClockStart;
    inputs.now = tickCount();
    return inputs;
}

int moveNowCommand(Window*, int, intptr_t, unsigned) {
    appState.coachScore = NO_COACH_SCORE;
    // The engine starts once the animation has ended anyway.
    if (appState.animation.load()) return 0;
    if (engineBusy()) {
        stopSearch();
    } else {
        startEngineMove();
    }
    return 0;
}

int hintCommand(Window* window, int, intptr_t, unsigned) {
    showHint(window);
    return 0;
}

bool searchForHint() {
    if (!engineModule.isLoaded() || !engineThread || !engineThread->isRunning()) return false;
    SearchRequest request = sendGameToEngine();
    request.level.movesToGo = 1;
    request.level.seconds = HINT_SECONDS;
    request.level.maxPlies = HINT_MAX_PLIES;
    request.serial = nextSerial();
    const uint32_t serial = request.serial;
    engineThread->requestSearch(std::move(request));
    do {
        sleepMs(HINT_POLL_MS);
    } while (endedSerial != serial && engineThread->isRunning());
    return endedSerial == serial;
}
