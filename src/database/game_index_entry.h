#pragma once
// One game of an indexed PGN file: its number, the tag values the game lists
// show and filter on, and the bytes it occupies.

#include <cstdint>

#include "base/text.h"

struct GameIndexEntry {
    int32_t number = 0; // 0-based position in the file
    // The moves (plies) of the main line, from the PlyCount tag or counted while
    // indexing; -1 when not known. Beside number it costs no byte of the entry.
    int32_t plies = -1;
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

// The full moves a person counts in a main line of that many plies: "1. e4 e5 2. Nf3" is 2.
inline int32_t fullMoves(int32_t plies) {
    return plies < 0 ? -1 : (plies + 1) / 2;
}
