#include "board/play_move.h"

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/shell.h"
#include "board/animation.h"

bool playMove(CMove move, uint64_t thinkTimeMs, bool animate, bool highlight) {
    if (!appState.addMoveToTree(move, int64_t(thinkTimeMs))) return false;
    // A move played again keeps its node but takes this time: the clocks stay the sums
    // of the times on the way to the current node.
    appState.currentNode->thinkTime = int64_t(thinkTimeMs);
    appState.lastMove = move;
    enableBackButton(true);
    enableForwardButton(appState.currentNode->hasChildren());
    (appState.position->sideToMove() == WHITE ? appState.whiteUsedMs : appState.blackUsedMs) +=
        thinkTimeMs;
    appState.position->makeMove(move);
    ++appState.plyNumber;
    showMove(shell.mainWindow, move, animate, appState.sound, highlight);
    appState.showLevelLine = false;
    return true;
}
