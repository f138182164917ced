#include <cstdio>

#include "commands.h"
#include "pgn/move_word.h"
#include "rules/notation.h"
#include "rules/position.h"

namespace {

void printFen(const CPosition& position) {
    char fen[FEN_BUFFER_SIZE];
    position.getFen(fen);
    std::printf("%s\n", fen);
}

// Reads each move as the PGN reader does and makes it; false after reporting the
// first one that does not read.
bool playMoves(CPosition& position, int count, char** moves) {
    for (int i = 0; i < count; ++i) {
        CMoveWord read;
        if (!readMoveWord(position, moves[i], read) || !position.makeMove(read.move)) {
            std::fprintf(stderr, "illegal move: %s\n", moves[i]);
            return false;
        }
    }
    return true;
}

} // namespace

int fenCommand(int argc, char** argv) {
    if (argc != 1) return usageError("tallowmere fen FEN");
    CPosition position;
    if (!readFenArgument(argv[0], position)) return EXIT_BAD_INPUT;
    printFen(position);
    return EXIT_OK;
}

int movesCommand(int argc, char** argv) {
    if (argc != 1) return usageError("tallowmere moves FEN");
    CPosition position;
    if (!readFenArgument(argv[0], position)) return EXIT_BAD_INPUT;
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    for (uint16_t i = 0; i < count; ++i) {
        char coordinates[6];
        coordinateText(moves[i], coordinates);
        std::printf("%s %s\n", coordinates, sanText(position, moves[i], true).c_str());
    }
    return EXIT_OK;
}

int playCommand(int argc, char** argv) {
    if (argc < 1) return usageError("tallowmere play FEN MOVE...");
    CPosition position;
    if (!readFenArgument(argv[0], position)) return EXIT_BAD_INPUT;
    if (!playMoves(position, argc - 1, argv + 1)) return EXIT_BAD_INPUT;
    printFen(position);
    return EXIT_OK;
}

int statusCommand(int argc, char** argv) {
    if (argc < 1) return usageError("tallowmere status FEN [MOVE...]");
    CPosition position;
    if (!readFenArgument(argv[0], position)) return EXIT_BAD_INPUT;
    if (!playMoves(position, argc - 1, argv + 1)) return EXIT_BAD_INPUT;
    int reason = STATUS_ON;
    const bool over = position.gameStatus(reason);
    std::printf("%s %d\n", over ? "over" : "on", reason);
    return EXIT_OK;
}
