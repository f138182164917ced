#include "app/app_state.h"

#include "app/stored_state.h"
#include "board/animation.h"

CAppState appState;

CAppState::CAppState()
    : position(std::make_unique<CPosition>()), setupPosition(std::make_unique<CPosition>()) {
    loadOptions(*this);
    newGame();
}

CAppState::~CAppState() {
    saveOptions(*this);
    delete animation.exchange(nullptr);
}
