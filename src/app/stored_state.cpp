#include "app/stored_state.h"

void loadOptions(CAppState&) {}

void saveOptions(CAppState&) {}

void autosaveGame() {}
