#pragma once
// The options and the autosaved game kept between runs. Until the settings store
// exists the options keep their defaults and nothing is saved.

class CAppState;

// While the application state is built: the stored options replace the defaults.
void loadOptions(CAppState& state);
// When the application state is destroyed.
void saveOptions(CAppState& state);
// Before the current game is replaced and at exit.
void autosaveGame();
