#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "rules/perft.h"
#include "rules/position.h"

namespace {

// Deeper than this would run for days; it is surely a typing mistake.
constexpr int MAX_DEPTH = 20;

bool readDepth(const char* text, int& depth) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || value < 0 || value > MAX_DEPTH) return false;
    depth = int(value);
    return true;
}

// DEPTH [FEN]: the position is the start position unless a FEN is given.
int readArguments(int argc, char** argv, const char* usage, int& depth, CPosition& position) {
    if (argc < 1 || argc > 2 || !readDepth(argv[0], depth)) return usageError(usage);
    if (argc == 2 && !readFenArgument(argv[1], position)) return EXIT_BAD_INPUT;
    return EXIT_OK;
}

} // namespace

int perftCommand(int argc, char** argv) {
    int depth = 0;
    CPosition position;
    const int result = readArguments(argc, argv, "tallowmere perft DEPTH [FEN]", depth, position);
    if (result != EXIT_OK) return result;
    std::printf("%llu\n", static_cast<unsigned long long>(perft(position, depth)));
    return EXIT_OK;
}

int divideCommand(int argc, char** argv) {
    int depth = 0;
    CPosition position;
    const int result = readArguments(argc, argv, "tallowmere divide DEPTH [FEN]", depth, position);
    if (result != EXIT_OK) return result;
    uint64_t total = 0;
    if (depth == 0) {
        total = 1;
    } else {
        CMove moves[MAX_MOVES];
        uint16_t count = 0;
        position.legalMoves(moves, count);
        for (uint16_t i = 0; i < count; ++i) {
            position.makeMove(moves[i]);
            const uint64_t leaves = perft(position, depth - 1);
            position.takeBack();
            total += leaves;
            char coordinates[6];
            coordinateText(moves[i], coordinates);
            std::printf("%s: %llu\n", coordinates, static_cast<unsigned long long>(leaves));
        }
    }
    std::printf("total %llu\n", static_cast<unsigned long long>(total));
    return EXIT_OK;
}
