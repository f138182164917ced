#include "app/hint_coach.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/engine_link.h"
#include "app/game_commands.h"
#include "app/show_message.h"
#include "board/animation.h"
#include "engine/coach.h"
#include "engine/engine_report.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

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
    // A second Hint ends the first.
    if (hintUnderway()) {
        stopSearch();
        return;
    }
    if (engineBusy()) {
        showMessage("Hint not possible while engine is thinking");
        return;
    }
    // No search starts while a move is animated.
    finishAnimation(window);
    // Without an engine the panel says why; the box is for a search that found nothing.
    if (startHintSearch() == HintSearch::noEngine) showMessage("Sorry, no hint found.");
}

void showHintMove(Window* window, CMove hint) {
    if (hint == NO_MOVE) {
        showMessage("Sorry, no hint found.");
        return;
    }
    // Slow and with its sound even with animations off; the piece goes home afterwards.
    startAnimation(window, hint, true, true, true);
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
