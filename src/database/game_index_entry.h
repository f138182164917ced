#pragma once
// One game of an indexed PGN file: its number, the tag values the game lists
// show and filter on, and the bytes it occupies.

#include <cstdint>

#include "base/text.h"

struct GameIndexEntry {
    int32_t number = 0; // 0-based position in the file
    CText white;
    CText black;
    CText date;
    CText event;
    CText eco;
    CText site;
    CText result;
    // The game occupies the bytes from start up to end. Offsets are 64-bit so
    // that a file beyond 2 GB is indexed right rather than wrapped.
    int64_t start = 0;
    int64_t end = 0;
};
