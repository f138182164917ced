// tarnwick-perft: counts the leaves of the engine's own move generator, for checking it
// against the known counts by hand (deep counts take minutes).
#include "movegen.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarnwick-perft DEPTH [FEN]\n");
        return 2;
    }
    int depth = std::atoi(argv[1]);
    tarnwick::Position pos;
    if (argc > 2 && !pos.setFen(argv[2])) {
        std::fprintf(stderr, "bad FEN: %s\n", argv[2]);
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    uint64_t nodes = depth > 0 ? tarnwick::perft(pos, depth) : 1;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("nodes %llu time %.2f s nps %.0f\n", (unsigned long long)nodes, seconds,
                seconds > 0 ? nodes / seconds : 0.0);
    return 0;
}
