#pragma once
// modalOpen while a dialog or a message box of the program is open, so that the engine
// does not play behind it; the user's clock stands still meanwhile, since the time spent
// there is not thinking about the game. Scopes nest: a message box over a dialog leaves
// the flag set, and the clock paused, when it closes.

#include "app/app_state.h"
#include "app/user_clock.h"

class ModalScope {
public:
    ModalScope() : m_wasOpen(appState.modalOpen.exchange(true)) {
        if (!m_wasOpen) pauseUsersClock();
    }
    ~ModalScope() {
        if (!m_wasOpen) resumeUsersClock();
        appState.modalOpen = m_wasOpen;
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    bool m_wasOpen;
};
