#include "app/adjudication.h"

#include "app/app_state.h"
#include "app/show_message.h"
#include "game/result_texts.h"

CAdjudication adjudicate() {
    int reason = 0;
    if (!appState.position->gameStatus(reason)) return {false, 0};
    CResultTexts texts{};
    if (!resultTexts(reason, appState.position->sideToMove(), texts)) return {false, 0};
    // Recorded before the box opens: commands already queued may run while it is open.
    CMoveNode* node = appState.currentNode;
    if (texts.comment[0] != '\0') node->setComment(CText(texts.comment));
    if (node == appState.game->mainLineEnd()) appState.game->setResult(CText(texts.result));
    showMessage(texts.message);
    return {true, reason};
}
