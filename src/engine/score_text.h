#pragma once
// The engine's score as the status panel shows it: pawns with two decimals, or the
// moves to mate.

#include <cstdint>

#include "base/text.h"

// "+0.35", "-1.20"; beyond ±28000 a mate: "+M5" (the engine mates in five), "-M5".
CText formatScore(int32_t score);
