// Arbitrary bytes as a PGN file: reading and scanning at offset 0, then every
// game the scan finds, read and written out again. Nothing may crash, hang,
// leak or read out of bounds.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "game/game.h"
#include "pgn/pgn_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream stream(text);
    CPgnReader reader;
    int64_t next = 0;
    std::unique_ptr<CGame> game;
    if (reader.readGame(stream, 0, next, game) && (next < 0 || next > int64_t(size)))
        __builtin_trap();
    if (game) game->toString();

    int64_t offset = 0;
    for (int games = 0; games < 64; ++games) {
        std::unique_ptr<CGame> tags;
        if (!reader.scanGame(stream, offset, next, tags)) break;
        if (next <= offset || next > int64_t(size)) __builtin_trap();
        std::unique_ptr<CGame> whole;
        int64_t wholeNext = 0;
        if (reader.readGame(stream, offset, wholeNext, whole)) whole->toString();
        offset = next;
    }
    return 0;
}
