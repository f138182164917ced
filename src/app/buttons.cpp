#include "app/buttons.h"

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/shell.h"
#include "platform/ui/menu.h"

using namespace platform;

void enableBackButton(bool enabled) {
    setButtonState(shell.menuBar, IDM_BACK, enabled ? TBSTATE_ENABLED : 0);
}

void enableForwardButton(bool enabled) {
    setButtonState(shell.menuBar, IDM_FORWARD, enabled ? TBSTATE_ENABLED : 0);
}

void checkFlipButton(bool checked) {
    setButtonState(shell.menuBar, IDM_FLIP_BOARD,
                   TBSTATE_ENABLED | (checked ? TBSTATE_CHECKED : 0));
}

void updateNavigationButtons() {
    const CMoveNode* node = appState.currentNode;
    enableBackButton(node && node->parent);
    enableForwardButton(node && node->hasChildren());
}
