#pragma once
// The level line of the status panel, as "Level 5min+2s", "Level 40/10,rest/5" or
// "Level Novice"; a tournament period's time is in minutes, as "0:30" when not whole.

#include "base/text.h"

struct LevelSettings;

// A single blank for a mode this program does not know.
CText levelText(const LevelSettings& level);
