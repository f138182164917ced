#include "settings/options.h"

#include "settings/bitmap_ids.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

namespace {

int32_t storedOr(CSettings& settings, IntOption option) {
    const IntOptionKey& entry = intOptionKey(option);
    int32_t value = entry.defaultValue;
    settings.getInt(entry.key, &value);
    return value;
}

void writeWhenMissing(CSettings& settings, const char* key) {
    int32_t value = 0;
    if (!settings.getInt(key, &value)) settings.setInt(key, DISPLAY_KEY_DEFAULT);
}

} // namespace

StoredOptions loadOptions(CSettings& settings) {
    StoredOptions options;
    options.autoAnswer = storedOr(settings, IntOption::autoAnswer) != 0;
    options.highlightLastMove = storedOr(settings, IntOption::highlightLastMove) != 0;
    options.animationSpeed = storedOr(settings, IntOption::animation);
    options.showThinking = storedOr(settings, IntOption::showThinking) != 0;
    options.sound = storedOr(settings, IntOption::sound) != 0;
    options.coach = storedOr(settings, IntOption::coach) != 0;
    options.flipped = storedOr(settings, IntOption::flipBoard) != 0;
    options.boardBitmapId = boardTextureFor(storedOr(settings, IntOption::boardTexture)).bitmapId;
    const PieceSet& pieces = pieceSetFor(storedOr(settings, IntOption::pieceSet));
    options.pieceBitmapId24 = pieces.bitmapId24;
    options.pieceBitmapId30 = pieces.bitmapId30;
    settings.getString(ENGINE_NAME_KEY, &options.engineName);
    for (const char* key : MOVES_DIALOG_KEYS)
        writeWhenMissing(settings, key);
    for (const char* key : UNREAD_DISPLAY_KEYS)
        writeWhenMissing(settings, key);
    return options;
}

void saveOptions(CSettings& settings, const StoredOptions& options) {
    auto store = [&](IntOption option, int32_t value) {
        settings.setInt(intOptionKey(option).key, value);
    };
    store(IntOption::autoAnswer, options.autoAnswer);
    store(IntOption::highlightLastMove, options.highlightLastMove);
    store(IntOption::animation, options.animationSpeed);
    store(IntOption::showThinking, options.showThinking);
    store(IntOption::sound, options.sound);
    store(IntOption::coach, options.coach);
    store(IntOption::flipBoard, options.flipped);
    store(IntOption::boardTexture, storedBoardTexture(options.boardBitmapId));
    store(IntOption::pieceSet, storedPieceSet(options.pieceBitmapId30));
    settings.setString(ENGINE_NAME_KEY, options.engineName);
}
