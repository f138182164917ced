#pragma once
// modalOpen while a dialog of the program is open, so that the engine does not play
// behind it. Scopes nest: a message box over a dialog leaves the flag set when it closes.

#include "app/app_state.h"

class ModalScope {
public:
    ModalScope() : m_wasOpen(appState.modalOpen.exchange(true)) {}
    ~ModalScope() { appState.modalOpen = m_wasOpen; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    bool m_wasOpen;
};
