// Move generation speed: perft leaves per second, legality included (every leaf
// move is made and taken back once by the legality test).
#include <benchmark/benchmark.h>

#include "rules/perft.h"
#include "rules/position.h"

namespace {

void runPerft(benchmark::State& state, const char* fen, int depth) {
    CPosition position;
    position.setFen(fen);
    uint64_t leaves = 0;
    for (auto _ : state) {
        leaves = perft(position, depth);
        benchmark::DoNotOptimize(leaves);
    }
    state.counters["leaves"] = double(leaves);
    state.counters["leaves/s"] = benchmark::Counter(double(leaves) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void StartPositionDepth5(benchmark::State& state) {
    runPerft(state, START_FEN, 5);
}
void KiwipeteDepth4(benchmark::State& state) {
    runPerft(state, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 4);
}

BENCHMARK(StartPositionDepth5)->Unit(benchmark::kMillisecond);
BENCHMARK(KiwipeteDepth4)->Unit(benchmark::kMillisecond);

} // namespace
