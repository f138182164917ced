// Reading and writing move text over the moves of a whole game, as the PGN reader
// and the move list do: SAN as written, the looser forms, and coordinate text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "rules/notation.h"
#include "rules/position.h"

namespace {

// A complete game with castling on both sides, captures, checks, a promotion and
// disambiguated moves.
const char* const GAME[] = {
    "e4",   "e5",   "Nf3",   "Nc6",  "Bb5",  "a6",    "Ba4",  "Nf6",  "O-O",  "Be7",  "Re1",
    "b5",   "Bb3",  "d6",    "c3",   "O-O",  "h3",    "Nb8",  "d4",   "Nbd7", "c4",   "c6",
    "cxb5", "axb5", "Nc3",   "Bb7",  "Bg5",  "b4",    "Nb1",  "h6",   "Bh4",  "c5",   "dxe5",
    "Nxe4", "Bxe7", "Qxe7",  "exd6", "Qf6",  "Nbd2",  "Nxd6", "Nc4",  "Nxc4", "Bxc4", "Nb6",
    "Ne5",  "Rae8", "Bxf7+", "Rxf7", "Nxf7", "Rxe1+", "Qxe1", "Kxf7", "Qe3",  "Qg5",  "Qxg5",
    "hxg5", "b3",   "Ke6",   "a3",   "Kd6",  "axb4",  "cxb4", "Ra5",  "Nd5",  "f3",   "Bc8",
    "Kf2",  "Bf5",  "Ra7",   "g6",   "Ra6+", "Kc5",   "Ke1",  "Nf4",  "g3",   "Nxh3", "Kd2",
    "Kb5",  "Rd6",  "Kc5",   "Ra6",  "Nf2",  "g4",    "Bd3",  "Re6",
};

struct CSample {
    CPosition position;
    std::string san;
    std::string coordinates;
};

// Each move with the position before it, set from its FEN so that no history is carried.
std::vector<CSample>& samples() {
    static std::vector<CSample> all = [] {
        std::vector<CSample> built;
        CPosition game;
        for (const char* san : GAME) {
            const CMove move = parseSan(game, san);
            if (move == NO_MOVE) {
                std::fprintf(stderr, "bench_san: the sample game does not read at %s\n", san);
                std::exit(1);
            }
            char fen[FEN_BUFFER_SIZE];
            game.getFen(fen);
            char coordinates[6];
            coordinateText(move, coordinates);
            built.push_back(CSample{CPosition(), san, coordinates});
            built.back().position.setFen(fen);
            game.makeMove(move);
        }
        return built;
    }();
    return all;
}

void ParseSan(benchmark::State& state) {
    std::vector<CSample>& moves = samples();
    for (auto _ : state)
        for (CSample& sample : moves)
            benchmark::DoNotOptimize(parseSan(sample.position, sample.san.c_str()));
    state.counters["moves/s"] =
        benchmark::Counter(double(moves.size() * state.iterations()), benchmark::Counter::kIsRate);
}

void ParseCoordinates(benchmark::State& state) {
    std::vector<CSample>& moves = samples();
    for (auto _ : state)
        for (CSample& sample : moves)
            benchmark::DoNotOptimize(parseSan(sample.position, sample.coordinates.c_str()));
    state.counters["moves/s"] =
        benchmark::Counter(double(moves.size() * state.iterations()), benchmark::Counter::kIsRate);
}

void WriteSan(benchmark::State& state) {
    std::vector<CSample>& moves = samples();
    std::vector<CMove> parsed;
    for (CSample& sample : moves)
        parsed.push_back(parseSan(sample.position, sample.san.c_str()));
    for (auto _ : state)
        for (size_t i = 0; i < moves.size(); ++i)
            benchmark::DoNotOptimize(sanText(moves[i].position, parsed[i], true));
    state.counters["moves/s"] =
        benchmark::Counter(double(moves.size() * state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(ParseSan);
BENCHMARK(ParseCoordinates);
BENCHMARK(WriteSan);

} // namespace
