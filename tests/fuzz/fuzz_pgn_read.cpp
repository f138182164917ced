// Arbitrary bytes as a PGN file: reading and scanning at offset 0, then every
// game the scan finds from the first game on, read and written out again.
// Nothing may crash, hang, leak or read out of bounds, and the reader's report
// must agree with the game it hands out.
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

    int64_t offset = reader.firstGameOffset(stream, 0);
    if (offset < 0 || offset > int64_t(size)) __builtin_trap();
    for (int games = 0; games < 64; ++games) {
        std::unique_ptr<CGame> tags;
        if (!reader.scanGame(stream, offset, next, tags)) break;
        if (next <= offset || next > int64_t(size)) __builtin_trap();
        std::unique_ptr<CGame> whole;
        int64_t wholeNext = 0;
        if (reader.readGame(stream, offset, wholeNext, whole)) {
            const bool inPart = reader.report().outcome == CReadReport::Outcome::IN_PART;
            if (inPart == whole->leftOut.isEmpty() || inPart == reader.report().message.empty())
                __builtin_trap();
            whole->toString();
        } else if (reader.report().outcome != CReadReport::Outcome::FAILED ||
                   reader.report().message.empty()) {
            __builtin_trap();
        }
        offset = next;
    }
    return 0;
}
