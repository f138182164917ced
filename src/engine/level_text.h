#pragma once
// The level line of the status panel, as "Level 5min+2sec" or "Level Novice".

#include "base/text.h"

struct LevelSettings;

// A single blank for a mode this program does not know.
CText levelText(const LevelSettings& level);
