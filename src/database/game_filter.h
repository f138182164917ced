#pragma once
// GameFilter: what a search of the game list asks for. Every text test is a
// case-insensitive substring test, and an empty pattern always matches. Dates
// are compared as dates: see matchesFilter.

#include "base/text.h"
#include "database/game_index_entry.h"

struct GameFilter {
    CText playerA; // White, or either side with anyColour
    CText playerB; // Black, or either side with anyColour
    bool anyColour = false;
    CText dateFrom; // the first day of the range; none: from the beginning
    CText dateTo;   // the last day of the range; none: to the end
    CText event;
    CText eco;
    // When any is set, the result must be one of the set ones.
    bool whiteWins = false;  // "1-0"
    bool draw = false;       // "1/2"
    bool blackWins = false;  // "0-1"
    bool unfinished = false; // "*"
};

// A game's date matches a range when the days it may stand for meet the range:
// "2005.??.??" is any day of 2005, so it lies within 2004.12.01 to 2005.01.31.
// A boundary given in part stands for its widest span ("2004" as the end is
// 2004.12.31). A date without a known digit, or a boundary that is no date,
// matches nothing once a range is asked for.
bool matchesFilter(const GameFilter& filter, const GameIndexEntry& entry);

// Whether text reads as a date of the game list: year, month and day separated
// by ".", "-" or "/", month and day optional, "?" for a digit not known.
bool isDateText(const CText& text);
