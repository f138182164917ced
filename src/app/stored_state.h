#pragma once
// The options and the autosaved game kept between runs.

class CAppState;

// At the start of the run: the stored options replace the defaults.
void loadOptions(CAppState& state);
// At the end of the run.
void saveOptions(CAppState& state);
// Before the current game is replaced and at exit: the game goes into the autosave ring.
void autosaveGame();
// At start-up: the game saved last, if it reads, becomes the current game.
void restoreAutosave();
