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

std::string write(CGame& game) {
    game.setOptions(75, true, true, true, true, false);
    return game.toString().c_str();
}

// The writer splits comment words of a third of the line width or more; such
// words come back split, the one loss a round trip is allowed.
bool hasLongCommentWord(CGame& game) {
    struct Finder : CNodeVisitor {
        bool found = false;
        void visit(CMoveNode& node) override {
            uint32_t run = 0;
            for (uint32_t i = 0; i < node.comment.length() && !found; ++i) {
                run = node.comment[i] == ' ' ? 0 : run + 1;
                found = run >= 24;
            }
        }
    } finder;
    game.forEachNode(finder);
    return finder.found;
}

void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "round trip: %s: %s\n", what, detail.c_str());
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CGame> first =
        readPgn(std::string(reinterpret_cast<const char*>(data), size)).game;
    if (!first || hasLongCommentWord(*first)) return 0;
    const std::string written = write(*first);
    std::unique_ptr<CGame> second = readPgn(written).game;
    if (!second) fail("the written game does not read", written);
    const std::string difference = gameDifference(*first, *second);
    if (!difference.empty()) fail(difference.c_str(), written);
    if (write(*second) != written) fail("the second writing differs", written);
    return 0;
}
