#pragma once
// A position as FEN text, whole or without its two move counters. Taking a move back
// recounts the halfmove clock from the history, so a clock read from a FEN is not
// restored; everything else must be, and positions reached by different move orders
// compare equal without the counters.

#include "rules/position.h"

#include <string>

inline std::string fenOf(const CPosition& position) {
    char fen[FEN_BUFFER_SIZE];
    position.getFen(fen);
    return fen;
}

inline std::string withoutCounters(std::string fen) {
    for (int field = 0; field < 2; ++field)
        fen = fen.substr(0, fen.rfind(' '));
    return fen;
}

inline std::string withoutCounters(const CPosition& position) {
    return withoutCounters(fenOf(position));
}
