#pragma once
// GameFilter: what a search of the game list asks for. Every text test is a
// case-insensitive substring test, and an empty pattern always matches.

#include <string>

#include "base/text.h"
#include "database/game_index_entry.h"

struct GameFilter {
    CText playerA; // White, or either side with anyColour
    CText playerB; // Black, or either side with anyColour
    bool anyColour = false;
    CText dateFrom;
    CText dateTo;
    CText event;
    CText eco;
    // When any is set, the result must be one of the set ones.
    bool whiteWins = false;  // "1-0"
    bool draw = false;       // "1/2"
    bool blackWins = false;  // "0-1"
    bool unfinished = false; // "*"
};

bool matchesFilter(const GameFilter& filter, const GameIndexEntry& entry);

// Raises the digits of date as one decimal number by one, skipping every other
// character; false when the carry runs past the first character.
bool raiseDate(std::string& date);

// The most dates a date range is walked through before it gives up.
constexpr int MAX_DATE_RAISES = 3000;
