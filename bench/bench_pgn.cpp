// Reading (whole games, every move checked), indexing (tags only) and writing
// of a large PGN file. The file is $TALLOWMERE_PGN, or corpus/games.pgn
// (tools/make-corpus.sh), or else the test samples repeated.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "database/database.h"
#include "game/game.h"
#include "pgn/pgn_reader.h"

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string corpusPath() {
    if (const char* path = std::getenv("TALLOWMERE_PGN")) return path;
    return std::string(TEST_DATA_DIR) + "/../../corpus/games.pgn";
}

const std::string& corpus() {
    static const std::string text = [] {
        std::string file = slurp(corpusPath());
        if (!file.empty()) return file;
        std::string samples;
        for (const char* name : {"lichess.pgn", "database_export.pgn", "study.pgn"})
            samples += slurp(std::string(TEST_DATA_DIR) + "/" + name) + "\r\n";
        std::string repeated;
        for (int i = 0; i < 2000; ++i)
            repeated += samples;
        return repeated;
    }();
    return text;
}

// Game starts, found once by scanning.
const std::vector<int64_t>& gameStarts() {
    static const std::vector<int64_t> starts = [] {
        std::vector<int64_t> found;
        std::istringstream stream(corpus());
        CPgnReader reader;
        int64_t offset = 0;
        int64_t next = 0;
        std::unique_ptr<CGame> game;
        while (reader.scanGame(stream, offset, next, game) && next > offset) {
            found.push_back(offset);
            offset = next;
        }
        return found;
    }();
    return starts;
}

void readGames(benchmark::State& state) {
    std::istringstream stream(corpus());
    CPgnReader reader;
    int64_t games = 0;
    int64_t failed = 0;
    for (auto _ : state) {
        for (int64_t start : gameStarts()) {
            int64_t next = 0;
            std::unique_ptr<CGame> game;
            if (!reader.readGame(stream, start, next, game)) ++failed;
            ++games;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(corpus().size()));
    state.SetItemsProcessed(games);
    state.counters["failed"] = double(failed);
}

void scanGames(benchmark::State& state) {
    std::istringstream stream(corpus());
    CPgnReader reader;
    int64_t games = 0;
    for (auto _ : state) {
        int64_t offset = 0;
        int64_t next = 0;
        std::unique_ptr<CGame> game;
        while (reader.scanGame(stream, offset, next, game) && next > offset) {
            offset = next;
            ++games;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(corpus().size()));
    state.SetItemsProcessed(games);
}

// What opening a file for "Load game" costs: the index built from the file.
void indexFile(benchmark::State& state) {
    const std::string path = corpusPath();
    std::ifstream probe(path);
    if (!probe) {
        state.SkipWithError("no corpus file: run tools/make-corpus.sh");
        return;
    }
    CPgnReader reader;
    CDatabase database(reader);
    int64_t games = 0;
    for (auto _ : state) {
        database.open(path.c_str());
        games += int64_t(database.index().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(corpus().size()));
    state.SetItemsProcessed(games);
}

void writeGames(benchmark::State& state) {
    std::istringstream stream(corpus());
    CPgnReader reader;
    std::vector<std::unique_ptr<CGame>> games;
    for (int64_t start : gameStarts()) {
        if (games.size() >= 2000) break;
        int64_t next = 0;
        std::unique_ptr<CGame> game;
        if (reader.readGame(stream, start, next, game)) games.push_back(std::move(game));
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        for (auto& game : games) {
            game->setOptions(75, true, true, true, true, false);
            bytes += game->toString().length();
        }
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(games.size()));
}

} // namespace

BENCHMARK(readGames)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(scanGames)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(indexFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(writeGames)->Unit(benchmark::kMillisecond)->MinTime(2.0);
