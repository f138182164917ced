// Whatever game arbitrary bytes read as must survive being written and read
// back: the same tags and tree, and the same bytes when written once more.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "../pgn/tree_compare.h"
#include "../support/read_pgn.h"
#include "game/game.h"

namespace {

std::string write(CGame& game, int width) {
    game.setOptions(width, true, true, true, true, false);
    return game.toString().c_str();
}

void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "round trip: %s: %s\n", what, detail.c_str());
    __builtin_trap();
}

} // namespace

// Every input that reads, at the file width and the narrow ones the tool
// accepts: nothing is skipped.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CGame> first =
        readPgn(std::string(reinterpret_cast<const char*>(data), size)).game;
    if (!first) return 0;
    for (int width : {75, 30, 20}) {
        const std::string written = write(*first, width);
        std::unique_ptr<CGame> second = readPgn(written).game;
        if (!second) fail("the written game does not read", written);
        const std::string difference = gameDifference(*first, *second);
        if (!difference.empty()) fail(difference.c_str(), written);
        if (write(*second, width) != written) fail("the second writing differs", written);
    }
    return 0;
}
