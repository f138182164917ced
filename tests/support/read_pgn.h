#pragma once
// A game read from PGN text held in memory, as the program reads one from a file.

#include "game/game.h"
#include "pgn/pgn_reader.h"

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

struct ReadResult {
    std::unique_ptr<CGame> game; // null when the text holds no game that reads
    int64_t nextOffset = -1;
};

// The game at offset of text: read in full, or only its tags when scan is set.
inline ReadResult readPgn(const std::string& text, int64_t offset = 0, bool scan = false) {
    std::istringstream stream(text);
    CPgnReader reader;
    ReadResult result;
    if (scan)
        reader.scanGame(stream, offset, result.nextOffset, result.game);
    else
        reader.readGame(stream, offset, result.nextOffset, result.game);
    return result;
}
