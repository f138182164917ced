#include "app/stored_state.h"

#include "app/app_state.h"
#include "settings/autosave.h"
#include "settings/options.h"

void loadOptions(CAppState& state) {
    const StoredOptions options = loadOptions(*state.settings);
    state.autoAnswer = options.autoAnswer;
    state.highlightLastMove = options.highlightLastMove;
    state.animationSpeed = options.animationSpeed;
    state.showThinking = options.showThinking;
    state.sound = options.sound;
    state.coach = options.coach;
    state.flipped = options.flipped;
    state.boardBitmapId = options.boardBitmapId;
    state.pieceBitmapId24 = options.pieceBitmapId24;
    state.pieceBitmapId30 = options.pieceBitmapId30;
    state.engineName = options.engineName;
}

void saveOptions(CAppState& state) {
    StoredOptions options;
    options.autoAnswer = state.autoAnswer;
    options.highlightLastMove = state.highlightLastMove;
    options.animationSpeed = state.animationSpeed;
    options.showThinking = state.showThinking;
    options.sound = state.sound;
    options.coach = state.coach;
    options.flipped = state.flipped;
    options.boardBitmapId = state.boardBitmapId;
    options.pieceBitmapId24 = state.pieceBitmapId24;
    options.pieceBitmapId30 = state.pieceBitmapId30;
    options.engineName = state.engineName;
    saveOptions(*state.settings, options);
}

void autosaveGame() {
    if (!appState.game) return;
    appState.completeTags(true);
    // A game that cannot be written is dropped without a word.
    writeToAutosaveRing(*appState.game, *appState.settings, autosaveFilePath());
}

void restoreAutosave() {
    std::unique_ptr<CGame> game = readFromAutosaveRing(*appState.settings, autosaveFilePath());
    if (game) appState.setLoadedGame(game.release());
}
