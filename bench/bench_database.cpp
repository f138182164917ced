// The game list's costs on a large file: indexing (games and bytes per second, and how
// soon the first batch of rows is there), and the search and the sort of 1,000,000
// entries in the slices the list runs them in (the longest slice is what the user
// could feel). The file is $TALLOWMERE_INDEX_PGN, or else one the tool generates once
// into the temporary folder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"
#include "database/file_system.h"
#include "database/game_rows.h"
#include "pgn/pgn_reader.h"

#ifndef TALLOWMERE_TOOL
#define TALLOWMERE_TOOL "tallowmere"
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr int GENERATED_GAMES = 20000;
constexpr size_t LIST_ENTRIES = 1000000;
// The step the game list takes, many of which make one slice of its time.
constexpr size_t LIST_STEP = 4096;
// The games after which the first rows are handed to the list.
constexpr size_t FIRST_BATCH = 256;

std::string gameFile() {
    if (const char* path = std::getenv("TALLOWMERE_INDEX_PGN")) return path;
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("tallowmere-bench-" + std::to_string(GENERATED_GAMES) + ".pgn");
    if (!std::filesystem::exists(path)) {
        const std::string partial = path.string() + ".part";
        const std::string command = std::string(TALLOWMERE_TOOL) + " pgn generate " +
                                    std::to_string(GENERATED_GAMES) + " 7 > " + partial;
        if (std::system(command.c_str()) != 0) return {};
        std::filesystem::rename(partial, path);
    }
    return path.string();
}

std::vector<GameIndexEntry> indexOf(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    CPgnReader reader;
    std::vector<GameIndexEntry> entries;
    indexGames(reader, stream, entries, nullptr);
    return entries;
}

// A million entries: the file's, over again, numbered on.
const std::vector<GameIndexEntry>& millionEntries() {
    static const std::vector<GameIndexEntry> entries = [] {
        const std::vector<GameIndexEntry> file = indexOf(gameFile());
        std::vector<GameIndexEntry> many;
        if (file.empty()) return many;
        many.reserve(LIST_ENTRIES);
        while (many.size() < LIST_ENTRIES) {
            many.push_back(file[many.size() % file.size()]);
            many.back().number = int32_t(many.size() - 1);
        }
        return many;
    }();
    return entries;
}

void indexing(benchmark::State& state) {
    const std::string path = gameFile();
    const auto bytes = int64_t(std::filesystem::file_size(path));
    int64_t games = 0;
    double firstBatch = 0;
    for (auto _ : state) {
        // The file as the worker of the game list reads it.
        std::unique_ptr<std::istream> stream = realFileSystem().openForReading(path.c_str());
        CPgnReader reader;
        std::vector<GameIndexEntry> entries;
        const Clock::time_point start = Clock::now();
        indexGames(reader, *stream, entries, [&](int64_t, size_t indexed) {
            if (indexed == FIRST_BATCH)
                firstBatch =
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            return true;
        });
        games += int64_t(entries.size());
        benchmark::DoNotOptimize(entries.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.SetItemsProcessed(games);
    state.counters["first_rows_ms"] = firstBatch;
}

// Runs the rows to the end in the list's steps; the longest step in microseconds.
double runRows(CGameRows& rows) {
    double longest = 0;
    for (bool done = false; !done;) {
        const Clock::time_point start = Clock::now();
        done = rows.step(LIST_STEP);
        longest = std::max(longest,
                           std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return longest;
}

void filterMillion(benchmark::State& state) {
    const std::vector<GameIndexEntry>& entries = millionEntries();
    GameFilter filter;
    filter.playerA = "petrov";
    filter.anyColour = true;
    filter.dateFrom = "2010";
    double longest = 0;
    size_t found = 0;
    for (auto _ : state) {
        CGameRows rows(entries);
        rows.setFilter(filter);
        longest = std::max(longest, runRows(rows));
        found = rows.rows().size();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(entries.size()));
    state.counters["longest_step_us"] = longest;
    state.counters["matches"] = double(found);
}

void sortMillion(benchmark::State& state) {
    const std::vector<GameIndexEntry>& entries = millionEntries();
    const auto order = GameOrder(state.range(0));
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CGameRows rows(entries);
        runRows(rows);
        state.ResumeTiming();
        rows.setOrder(order, true);
        longest = std::max(longest, runRows(rows));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(entries.size()));
    state.counters["longest_step_us"] = longest;
}

} // namespace

BENCHMARK(indexing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(filterMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(sortMillion)
    ->Arg(int(GameOrder::WHITE))
    ->Arg(int(GameOrder::DATE))
    ->Arg(int(GameOrder::MOVES))
    ->Unit(benchmark::kMillisecond);
