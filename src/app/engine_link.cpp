#include "app/engine_link.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

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

// How often a held-back move or hint looks again whether it may be shown.
constexpr uint32_t ENGINE_MOVE_POLL_MS = 30;
// The hint's search: five seconds, any depth. It sends its own time control, since an
// engine keeps the period of the last one it was told and would share it out.
constexpr int32_t HINT_SECONDS = 5;
constexpr int32_t HINT_MAX_PLIES = 99;
// How long the interface waits for the engine before it carries on without it.
constexpr uint32_t START_ANSWER_MS = 10000;
constexpr uint32_t STOP_ANSWER_MS = 2000;

std::unique_ptr<CEngineModule> engineModule;
std::unique_ptr<CEngineThread> engineThread;
std::string engineFolderOverride;
std::string loadedFolder;
// The engine was given up: nothing more is asked of it until the module is loaded again.
bool engineSilent = false;
EngineNote note = EngineNote::none;

// An engine given up, kept with its module for as long as its thread runs.
struct AbandonedEngine {
    std::unique_ptr<CEngineModule> module;
    std::unique_ptr<CEngineThread> thread;
};

// Never destroyed: a thread still inside the engine when the program ends must keep its
// module mapped, and destroying it would wait for it.
std::vector<AbandonedEngine>& abandonedEngines() {
    static auto* engines = new std::vector<AbandonedEngine>();
    return *engines;
}
std::string loadedCommand;

// The interface thread's side of the searches. Every request gets a serial; playSerial
// is the search whose move may still be played (0: none), searchedFen the position it
// was asked for, heldThinkTime its length while the move waits for the board.
uint32_t lastSerial = 0;
uint32_t playSerial = 0;
char searchedFen[FEN_BUFFER_SIZE] = "";
uint32_t heldThinkTime = 0;
// The hint's search (0: none), whether it has ended and waits to be shown, and the
// position it was asked for.
uint32_t hintSerial = 0;
bool hintEnded = false;
char hintFen[FEN_BUFFER_SIZE] = "";

std::string engineFolder() {
    return engineFolderOverride.empty() ? std::string(shell.exeDirectory.c_str())
                                        : engineFolderOverride;
}

uint32_t nextSerial() {
    if (++lastSerial == 0) ++lastSerial;
    return lastSerial;
}

bool engineLoaded() {
    return engineModule && engineModule->isLoaded();
}

bool threadRuns() {
    return engineThread && engineThread->isRunning();
}

void redrawStatus() {
    if (shell.mainWindow) invalidateRect(shell.mainWindow, &appState.statusRect, false);
}

void setNote(EngineNote said) {
    note = said;
    redrawStatus();
}

uint64_t usedMsOfSideToMove() {
    return appState.position->sideToMove() == WHITE ? appState.whiteUsedMs : appState.blackUsedMs;
}

bool pieceOfSideToMove(Piece piece) {
    return appState.position->sideToMove() == WHITE ? isWhitePiece(piece) : isBlackPiece(piece);
}

bool positionIs(const char* fen) {
    char current[FEN_BUFFER_SIZE];
    appState.position->getFen(current);
    return std::strcmp(current, fen) == 0;
}

SearchRequest sendGameToEngine() {
    SearchRequest request =
        gameSearchRequest(*appState.game, appState.currentNode, *appState.settings);
    appState.plyNumber = request.plyNumber;
    engineReport.searchRequested(tickCount());
    note = EngineNote::none;
    return request;
}

// The thread hangs inside the engine: it is left to end whenever the engine returns, and
// the program goes on without an engine.
void abandonEngine() {
    engineThread->abandon();
    abandonedEngines().push_back(AbandonedEngine{std::move(engineModule), std::move(engineThread)});
    loadedFolder.clear();
    engineSilent = true;
    playSerial = 0;
    hintSerial = 0;
    hintEnded = false;
    appState.hintRunning = false;
    // Its search will not be heard of again: the report must not show it running.
    const uint32_t now = tickCount();
    engineReport.endSearch(now);
    engineReport.clear(now);
    setNote(EngineNote::noAnswer);
}

void stopEngineThread() {
    if (!engineThread) return;
    const StopResult stopped = engineThread->stop(STOP_ANSWER_MS);
    if (!stopped.stopped) {
        abandonEngine();
        return;
    }
    if (stopped.withdrawn != 0 && stopped.withdrawn == playSerial) playSerial = 0;
}

// Ends the hint's part; true when one was under way.
bool forgetHint() {
    if (hintSerial == 0) return false;
    hintSerial = 0;
    hintEnded = false;
    appState.hintRunning = false;
    redrawStatus();
    return true;
}

void stopHint() {
    if (hintSerial != 0) stopSearch();
}

// The first move of the engine's last line, played into the game with the search's length.
// False, with the note said, when the line gives no move.
bool playEngineMove(uint32_t thinkTimeMs) {
    const EngineReport report = engineReport.snapshot();
    const CMove move = engineMove(*appState.position, report.pvText);
    if (move == NO_MOVE || !pieceOfSideToMove(appState.position->at(move.from))) {
        setNote(EngineNote::noMove);
        return false;
    }
    if (!playMove(move, thinkTimeMs, true, true)) return false;
    startUsersClock();
    redrawStatus();
    return true;
}

bool mustWaitForBoard() {
    return appState.animation.load() || appState.modalOpen;
}

void playHeldMove(Window* window) {
    if (playSerial == 0) return;
    if (mustWaitForBoard()) {
        setTimer(window, ENGINE_MOVE_TIMER, ENGINE_MOVE_POLL_MS);
        return;
    }
    playSerial = 0;
    // Every command that leaves the position drops the move first; this is the last guard.
    if (!positionIs(searchedFen)) return;
    if (coachCheck(window)) return;
    if (!playEngineMove(heldThinkTime)) return;
    coachRemember();
    adjudicate();
}

void showEndedHint(Window* window) {
    if (hintSerial == 0 || !hintEnded) return;
    if (mustWaitForBoard()) {
        setTimer(window, ENGINE_MOVE_TIMER, ENGINE_MOVE_POLL_MS);
        return;
    }
    const bool samePosition = positionIs(hintFen);
    const CMove hint = engineMove(*appState.position, engineReport.snapshot().pvText);
    forgetHint();
    // The hint's line is not kept: the panel shows what it showed before.
    engineReport.clear(tickCount());
    if (samePosition) showHintMove(window, hint);
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
    if (engineLoaded() && folder == loadedFolder && command == loadedCommand) {
        appState.engineName = engineModule->name();
        return true;
    }
    endEngineThread();
    engineThread.reset();
    loadedFolder.clear();
    engineSilent = false;
    note = EngineNote::none;
    engineModule = std::make_unique<CEngineModule>();
    loadedCommand = command;
    ModuleLoadResult result = engineModule->load(folder, command);
    if (result.status == ModuleLoad::engineNotStarted) {
        engineDidNotStart(command);
        loadedCommand = chosenEngineCommand();
        result = engineModule->load(folder, loadedCommand);
    }
    char text[512];
    switch (result.status) {
    case ModuleLoad::loaded:
        appState.engineName = engineModule->name();
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
    reapAbandonedEngines();
    if (!engineLoaded()) return;
    appState.availableKB = availableKBFrom(freePhysicalMemory());
    appState.configuredHashKB = fittedHashKB(appState.configuredHashKB, appState.availableKB);
    if (threadRuns()) return;
    // Each thread posts to the window of its own run.
    Window* window = shell.mainWindow;
    engineThread = std::make_unique<CEngineThread>(
        engineModule->exports(), engineReport, [] { return appState.animation.load() == nullptr; },
        [window](const SearchOutcome& outcome) {
            postMessage(window, WM_SEARCH_ENDED, outcome.serial,
                        intptr_t(searchTime(outcome.searchStartTick, outcome.searchEndTick)));
        });
    switch (engineThread->start(appState.configuredHashKB, &appState.callbacks, START_ANSWER_MS)) {
    case EngineStart::started:
        appState.hashInUseKB = appState.configuredHashKB;
        return;
    case EngineStart::noAnswer:
        abandonEngine();
        return;
    case EngineStart::notCreated: {
        char text[64];
        std::snprintf(text, sizeof text, "Can\xB4t start engine thread. Error #%d", EAGAIN);
        showMessage(text);
        return;
    }
    }
}

void switchEngineModule() {
    endEngineThread();
    engineThread.reset();
    if (engineModule) engineModule->unload();
    loadedFolder.clear();
    if (loadEngineModule()) startEngineThread();
    invalidateRect(shell.mainWindow, &appState.statusRect, false);
}

void endEngineThread() {
    if (engineThread) {
        appState.autoMove = false;
        stopSearch();
        if (engineThread && !engineThread->quit(STOP_ANSWER_MS)) abandonEngine();
    }
    playSerial = 0;
    forgetHint();
    reapAbandonedEngines();
}

int reapAbandonedEngines() {
    std::vector<AbandonedEngine>& engines = abandonedEngines();
    engines.erase(
        std::remove_if(engines.begin(), engines.end(),
                       [](const AbandonedEngine& engine) { return !engine.thread->isRunning(); }),
        engines.end());
    return int(engines.size());
}

bool engineBusy() {
    // The hint's search leaves the board to the user: a move of theirs ends it.
    return playSerial != 0 || (engineThread && engineThread->busy() && hintSerial == 0);
}

void stopSearch() {
    if (!appState.autoMove.exchange(true)) playSerial = 0;
    const bool hintEnds = forgetHint();
    stopEngineThread();
    // Whatever the hint's search said is gone with it.
    if (hintEnds) engineReport.clear(tickCount());
}

void clearEngineReport() {
    // A search whose move is dropped is not wanted either, even one not yet begun.
    if (playSerial != 0 || hintSerial != 0) {
        appState.autoMove = false;
        stopSearch();
    }
    playSerial = 0;
    note = EngineNote::none;
    engineReport.clear(tickCount());
}

EngineNote engineNote() {
    return hintSerial != 0 ? EngineNote::searchingForHint : note;
}

void afterUserMove(int reason) {
    note = EngineNote::none;
    if (appState.autoAnswer && reason != STATUS_CHECKMATE && reason != STATUS_STALEMATE) {
        startEngineMove();
    } else {
        stopSearch();
    }
}

void startEngineMove() {
    if (engineSilent) {
        setNote(EngineNote::noAnswer);
        return;
    }
    if (!engineLoaded()) {
        showMessage("No engine loaded. Can\xB4t start search");
        return;
    }
    // The engine's own move comes before any hint.
    stopHint();
    // A running search is never restarted here; callers stop it first. A thread ended
    // for want of memory plays again once the program is active again.
    if (!threadRuns() || engineThread->busy()) return;
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
    if (threadRuns()) {
        stopSearch();
        if (engineThread && !engineThread->quit(STOP_ANSWER_MS)) abandonEngine();
    }
    shell.lowMemoryStop = true;
}

intptr_t onSearchEnded(Window* window, unsigned, uintptr_t wParam, intptr_t lParam) {
    const uint32_t serial = uint32_t(wParam);
    if (serial == 0) return 0;
    if (engineReport.takeEngineFailure()) {
        // Tarnwick takes over, and makes the move the failed engine did not.
        const bool moveWanted = serial == playSerial;
        forgetHint();
        engineStoppedWorking();
        if (moveWanted && positionIs(searchedFen)) startEngineMove();
        return 0;
    }
    if (serial == hintSerial) {
        hintEnded = true;
        showEndedHint(window);
    } else if (serial == playSerial) {
        heldThinkTime = uint32_t(lParam);
        playHeldMove(window);
    }
    return 0;
}

void engineMoveTimer(Window* window) {
    killTimer(window, ENGINE_MOVE_TIMER);
    playHeldMove(window);
    showEndedHint(window);
}

ClockInputs clockInputs() {
    const EngineReport report = engineReport.snapshot();
    ClockInputs inputs;
    inputs.whiteUsedMs = appState.whiteUsedMs;
    inputs.blackUsedMs = appState.blackUsedMs;
    inputs.plyNumber = appState.plyNumber;
    inputs.whiteToMove = appState.position->sideToMove() == WHITE;
    // The hint's search is the user's thinking time.
    inputs.engineBusy = report.busy && hintSerial == 0;
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

int cancelCommand(Window*, int, intptr_t, unsigned) {
    stopHint();
    return 0;
}

HintSearch startHintSearch() {
    if (engineSilent) {
        setNote(EngineNote::noAnswer);
        return HintSearch::engineSilent;
    }
    if (!engineLoaded() || !threadRuns()) return HintSearch::noEngine;
    SearchRequest request = sendGameToEngine();
    request.level.sendTimeControl = true;
    request.level.movesPerPeriod = 1;
    request.level.secondsPerPeriod = HINT_SECONDS;
    request.level.movesToGo = 1;
    request.level.seconds = HINT_SECONDS;
    request.level.incrementSeconds = 0;
    request.level.maxPlies = HINT_MAX_PLIES;
    request.serial = nextSerial();
    hintSerial = request.serial;
    hintEnded = false;
    appState.position->getFen(hintFen);
    appState.hintRunning = true;
    engineThread->requestSearch(std::move(request));
    redrawStatus();
    return HintSearch::started;
}

bool hintUnderway() {
    return hintSerial != 0;
}
