#include "app/game_commands.h"

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/engine_link.h"
#include "app/show_message.h"
#include "app/stored_state.h"
#include "app/user_clock.h"
#include "board/animation.h"
#include "board/board_view.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

uint64_t& usedMsOf(CMove move) {
    return isBlackPiece(move.piece) ? appState.blackUsedMs : appState.whiteUsedMs;
}

uint64_t thinkTimeOf(const CMoveNode* node) {
    return node->thinkTime > 0 ? uint64_t(node->thinkTime) : 0;
}

void chargeTime(const CMoveNode* node) {
    usedMsOf(node->move) += thinkTimeOf(node);
}

void refundTime(const CMoveNode* node) {
    uint64_t& used = usedMsOf(node->move);
    const uint64_t time = thinkTimeOf(node);
    used = used > time ? used - time : 0;
}

void stopEngine() {
    if (engineBusy()) {
        appState.autoMove = false;
        stopSearch();
    }
}

void engineFollowUp(Window* window) {
    stopEngine();
    clearEngineReport();
    startUsersClock();
    invalidateRect(window, &appState.statusRect, false);
}

// Steps 2 to 5 of a step back: the move taken back.
CMove takeBackOne() {
    CMoveNode* node = appState.currentNode;
    const CMove move = node->move;
    appState.position->takeBack();
    refundTime(node);
    appState.currentNode = node->parent;
    if (!appState.currentNode->parent) {
        enableBackButton(false);
        appState.showLevelLine = true;
        appState.lastMove = NO_MOVE;
    } else {
        appState.showLevelLine = false;
        appState.lastMove = appState.currentNode->move;
    }
    --appState.plyNumber;
    return move;
}

// Follows the main line one move: the move made.
CMove makeNextMove() {
    appState.currentNode = appState.currentNode->child(0);
    const CMove move = appState.currentNode->move;
    appState.position->makeMove(move);
    appState.lastMove = move;
    ++appState.plyNumber;
    appState.showLevelLine = false;
    return move;
}

} // namespace

int newGameCommand(Window* window, int, intptr_t, unsigned) {
    if (!askOkCancel("Do you really want a new game ?")) return 0;
    appState.autoMove = false;
    stopSearch();
    autosaveGame();
    finishAnimation(window);
    appState.newGame();
    clearEngineReport();
    clearHashtables();
    invalidateRect(window, nullptr, true);
    enableBackButton(false);
    enableForwardButton(false);
    return 0;
}

int flipBoard(Window* window, int, intptr_t, unsigned) {
    if (appState.animation.load()) {
        // The button has toggled itself; it must show the board as it stays.
        checkFlipButton(appState.flipped);
        return 0;
    }
    appState.flipped = !appState.flipped;
    checkFlipButton(appState.flipped);
    invalidateRect(window, nullptr, false);
    return 0;
}

int stepBack(Window* window, int, intptr_t, unsigned) {
    if (!appState.currentNode->parent) return 0;
    const CMove move = takeBackOne();
    clearMarks();
    showMoveBack(window, move);
    clearEngineReport();
    startUsersClock();
    invalidateRect(window, &appState.statusRect, false);
    enableForwardButton(true);
    stopEngine();
    return 0;
}

int stepForward(Window* window, int, intptr_t, unsigned) {
    if (!appState.currentNode->hasChildren()) return 0;
    stopEngine();
    const CMove move = makeNextMove();
    clearMarks();
    showMove(window, move, true, false, false);
    clearEngineReport();
    chargeTime(appState.currentNode);
    startUsersClock();
    invalidateRect(window, &appState.statusRect, false);
    enableBackButton(true);
    if (!appState.currentNode->hasChildren()) enableForwardButton(false);
    return 0;
}

int fastBack(Window* window, int, intptr_t, unsigned) {
    clearMarks();
    int taken = 0;
    while (taken < FAST_STEP_MOVES && appState.currentNode->parent) {
        showMove(window, takeBackOne(), false, false, false);
        enableForwardButton(true);
        ++taken;
    }
    if (taken > 0) engineFollowUp(window);
    return 0;
}

int fastForward(Window* window, int, intptr_t, unsigned) {
    clearMarks();
    int made = 0;
    while (made < FAST_STEP_MOVES && appState.currentNode->hasChildren()) {
        const CMove move = makeNextMove();
        showMove(window, move, false, false, false);
        chargeTime(appState.currentNode);
        enableBackButton(true);
        ++made;
    }
    if (made > 0) {
        if (!appState.currentNode->hasChildren()) enableForwardButton(false);
        engineFollowUp(window);
    }
    return 0;
}
