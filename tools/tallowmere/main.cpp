// tallowmere: positions and PGN files from the command line, over the same core
// library as the program.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct CSubcommand {
    const char* name;
    int (*run)(int argc, char** argv);
};

constexpr CSubcommand SUBCOMMANDS[] = {
    {"fen", fenCommand},       {"moves", movesCommand}, {"perft", perftCommand},
    {"divide", divideCommand}, {"play", playCommand},   {"status", statusCommand},
    {"pgn", pgnCommand},
};

const char HELP[] =
    "usage: tallowmere COMMAND ARGUMENTS\n"
    "\n"
    "A FEN is one argument: quote it. Moves are read as in PGN files (SAN, or\n"
    "coordinates such as e2e4).\n"
    "\n"
    "  fen FEN                    the FEN as read and written back\n"
    "  moves FEN                  the legal moves: coordinate text and SAN\n"
    "  perft DEPTH [FEN]          the number of leaves DEPTH plies down\n"
    "  divide DEPTH [FEN]         the leaves below each legal move, then the total\n"
    "  play FEN MOVE...           the FEN after the moves\n"
    "  status FEN [MOVE...]       'over REASON' or 'on 0' after the moves; reasons:\n"
    "                             1 mate, 2 stalemate, 3 repetition, 4 fifty moves,\n"
    "                             5 insufficient material\n"
    "  pgn check FILE...          read every game; report the games that fail\n"
    "  pgn cat FILE [--game N] [--width W]\n"
    "                             write the games out again\n"
    "  pgn index FILE             one tab-separated line per game\n"
    "  pgn filter FILE [--white P] [--black P] [--any-colour] [--from D] [--to D]\n"
    "             [--event P] [--eco P] [--result R]...\n"
    "                             the numbers of the matching games\n"
    "\n"
    "Exit status: 0 success, 1 bad input (a message on stderr), 2 bad usage.\n";

} // namespace

int usageError(const char* usage) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return EXIT_BAD_USAGE;
}

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
                      std::strcmp(argv[1], "help") == 0)) {
        std::fputs(HELP, stdout);
        return EXIT_OK;
    }
    if (argc < 2) return usageError("tallowmere COMMAND ARGUMENTS (tallowmere --help lists them)");
    for (const CSubcommand& subcommand : SUBCOMMANDS)
        if (std::strcmp(argv[1], subcommand.name) == 0) return subcommand.run(argc - 2, argv + 2);
    std::fprintf(stderr, "tallowmere: unknown command '%s' (tallowmere --help lists them)\n",
                 argv[1]);
    return EXIT_BAD_USAGE;
}
