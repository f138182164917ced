#include <cstdio>

#include "commands.h"

int pgnCommand(int, char**) {
    std::fprintf(stderr, "tallowmere pgn: not available yet\n");
    return EXIT_BAD_USAGE;
}
