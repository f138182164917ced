#include "app/hint_coach.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/engine_link.h"
#include "app/game_commands.h"
#include "app/show_message.h"
#include "board/animation.h"
#include "engine/coach.h"
#include "engine/engine_line.h"
#include "engine/engine_report.h"
#include "platform/ui/dc.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

// Where the status panel writes its first line.
constexpr int PANEL_MARGIN = 2;
constexpr int PANEL_LINE_HEIGHT = 14;

// The interface waits for the search, so the panel cannot paint: this is drawn at once.
void showSearchingForHint(Window* window) {
    const Rect& panel = appState.statusRect;
    if (panel.right - panel.left <= 1 || panel.bottom - panel.top <= 1) return;
    Dc* dc = getDC(window);
    if (!dc) return;
    fillRect(dc, panel, rgb(255, 255, 255));
    drawText(dc, "Searching for hint move...    ",
             Rect{panel.left + PANEL_MARGIN, panel.top, panel.right - PANEL_MARGIN,
                  panel.top + PANEL_LINE_HEIGHT},
             DT_LEFT);
    releaseDC(window, dc);
    showNow(window);
}

bool coachAnchored(const CMoveNode* node) {
    if (!node || !appState.coachNode || node->parent != appState.coachNode) return false;
    const CMoveNode* anchor = node->parent;
    return anchor->ply == appState.coachPly && anchor->move == appState.coachMove;
}

bool askCoachQuestion(Window* window, const CMoveNode* userMove) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "I don't think %s was a good move! Do you want to take it back?",
                  userMove->moveText.c_str());
    const bool dialogOpen = appState.modalOpen.exchange(true);
    const int answer = messageBox(window, text, "Coach warns", MB_YESNO | MB_ICONWARNING);
    appState.modalOpen = dialogOpen;
    return answer == IDYES;
}

void takeBackUsersMove(Window* window) {
    CMoveNode* userMove = appState.currentNode;
    stepBack(window, 0, 0, 0);
    // A move with nothing after it would only linger as the main line.
    if (userMove->subtreeSize() == 1) {
        appState.currentNode->deleteChild(userMove);
        enableForwardButton(appState.currentNode->hasChildren());
    }
}

} // namespace

void showHint(Window* window) {
    if (engineBusy()) {
        showMessage("Hint not possible while engine is thinking");
        return;
    }
    // No search starts while a move is animated, and none could end while the hint waits.
    finishAnimation(window);
    updateWindow(window);
    appState.hintRunning = true;
    showSearchingForHint(window);
    CMove hint = NO_MOVE;
    if (searchForHint()) hint = engineMove(*appState.position, engineReport.snapshot().pvText);
    if (hint == NO_MOVE) {
        showMessage("Sorry, no hint found.");
    } else {
        // Slow and with its sound even with animations off; the piece goes home afterwards.
        startAnimation(window, hint, true, true, true);
    }
    if (!engineBusy()) clearEngineReport();
    appState.hintRunning = false;
    invalidateRect(window, &appState.statusRect, false);
}

bool coachCheck(Window* window) {
    const EngineReport report = engineReport.snapshot();
    CMoveNode* userMove = appState.currentNode;
    CoachQuestion question;
    question.coachOn = appState.coach;
    question.storedScore = appState.coachScore;
    question.anchored = coachAnchored(userMove);
    question.score = report.score;
    question.moveCount = report.moveCount;
    if (!coachWarns(question)) return false;
    if (!askCoachQuestion(window, userMove)) return false;
    takeBackUsersMove(window);
    return true;
}

void coachRemember() {
    const EngineReport report = engineReport.snapshot();
    appState.coachScore = coachScoreToKeep(report.score, report.moveCount);
    appState.coachNode = appState.currentNode;
    appState.coachMove = appState.currentNode->move;
    appState.coachPly = appState.currentNode->ply;
}
