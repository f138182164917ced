#pragma once
// One move word as PGN files and people write it ("Nf3", "e4!?", "exd6e.p.",
// "e7e8q", the null moves "--" and "Z0"), read in a position. The PGN reader
// and the tool's play and status commands both read moves through it, so a
// word means the same everywhere.

#include <cstdint>
#include <string>

#include "rules/move.h"

class CPosition;

// A move word longer than this is not a move: the notation reader looks at no
// more characters.
constexpr uint32_t MAX_MOVE_TEXT = 19;

struct CMoveWord {
    CMove move = NO_MOVE;
    // The text the move is kept with: the word without its "!"/"?" marks and
    // en-passant mark; "--" for a null move.
    std::string text;
    // The glyph of the first run of "!" and "?" (1 to 6), 0 for none or another run.
    uint8_t glyph = 0;
};

// The move the word means for the side to move; false when it means none: a
// word too long, with characters no move word holds, that is not a legal
// move, or that would read as a move number or a result when written back.
// A null move is a pass, so it is refused when the side to move is in check.
bool readMoveWord(CPosition& position, const std::string& word, CMoveWord& read);

// True for "1-0", "0-1" and "1/2-1/2".
bool isResultWord(const char* text);
// A move number written as a symbol: digits that are not all zero at its start.
bool startsWithMoveNumber(const char* text);
