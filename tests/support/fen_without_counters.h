#pragma once
// A FEN without its two move counters. Taking a move back recounts the halfmove clock from
// the history, so a clock read from a FEN is not restored; everything else must be, and
// positions reached by different move orders compare equal.

#include "rules/position.h"

#include <string>

inline std::string withoutCounters(std::string fen) {
    for (int field = 0; field < 2; ++field)
        fen = fen.substr(0, fen.rfind(' '));
    return fen;
}

inline std::string withoutCounters(const CPosition& position) {
    char fen[FEN_BUFFER_SIZE];
    position.getFen(fen);
    return withoutCounters(std::string(fen));
}
