#include "app/app_state.h"

#include "board/animation.h"
#include "settings/option_keys.h"
#include "settings/registry_settings.h"

CAppState appState;

CAppState::CAppState()
    : position(std::make_unique<CPosition>()), setupPosition(std::make_unique<CPosition>()),
      settings(std::make_unique<CRegistrySettings>(SETTINGS_KEY)) {
    newGame();
}

// The options are read and written by the run itself (winMain): a root folder given on
// the command line is known only then, and the registry may be gone by static destruction.
CAppState::~CAppState() {
    delete animation.exchange(nullptr);
}
