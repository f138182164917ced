#pragma once
// The options kept between runs, as the program holds them: flags, the animation speed,
// the bitmaps of the chosen board texture and piece set, and the engine's name.

#include <cstdint>

#include "base/text.h"

class CSettings;

struct StoredOptions {
    bool autoAnswer = true;
    bool highlightLastMove = false;
    int32_t animationSpeed = 2; // 0 off, 1 slow, 2 medium, 3 fast
    bool showThinking = true;
    bool sound = true;
    bool coach = false;
    bool flipped = false;
    int32_t boardBitmapId = 138;
    int32_t pieceBitmapId24 = 135;
    int32_t pieceBitmapId30 = 116;
    CText engineName;
};

// The defaults, replaced by every value that is stored. The display flags of the Moves
// dialog (and their three unread twins) are written with 1 when missing.
StoredOptions loadOptions(CSettings& settings);
// Writes the nine integer options in their order, then the engine's name.
void saveOptions(CSettings& settings, const StoredOptions& options);
