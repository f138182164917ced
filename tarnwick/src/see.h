// Static exchange evaluation: the material a capture sequence on one square wins.
#pragma once

#include "position.h"

namespace tarnwick {

// The material the side to move gains by playing m and then both sides recapturing on the
// target square with their least valuable piece for as long as it pays.
int staticExchange(const Position& pos, Move m);

} // namespace tarnwick
