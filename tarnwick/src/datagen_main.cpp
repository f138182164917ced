// tarnwick-datagen: plays the engine against itself at a fixed node count per move and appends
// the quiet positions of each game, with the search's score and the game's result, to a file: the
// material the evaluation is fitted to. The file is flushed after every game, so an interrupted run
// leaves a usable file and loses at most the game in progress.
#include "datagen.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    uint64_t games = 1000;
    uint64_t nodes = 6000;
    uint64_t seed = 1;
    int randomPlies = 8;
    std::string out;
    std::string evalFile;
};

bool parseNumber(const char* text, uint64_t& value) {
    if (!text || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long number = std::strtoull(text, &end, 10);
    if (*end != '\0' || errno == ERANGE) return false;
    value = number;
    return true;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        uint64_t number = 0;
        if (name == "--out" && value && *value) {
            options.out = value;
        } else if (name == "--eval-file" && value && *value) {
            options.evalFile = value;
        } else if (!parseNumber(value, number)) {
            return false;
        } else if (name == "--games") {
            options.games = number;
        } else if (name == "--nodes" && number > 0) {
            options.nodes = number;
        } else if (name == "--seed") {
            options.seed = number;
        } else if (name == "--random-plies" && number <= 40) {
            options.randomPlies = int(number);
        } else {
            return false;
        }
    }
    return !options.out.empty();
}

} // namespace

int main(int argc, char** argv) {
    using namespace tarnwick;
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: tarnwick-datagen --out FILE [--games N] [--nodes N] "
                             "[--seed S] [--random-plies N (0-40)] [--eval-file NETWORK]\n");
        return 2;
    }
    // Games meant to be played with a network must not quietly fall back to the hand-made
    // evaluation: the data would not be what was asked for.
    nnue::Network network;
    if (!options.evalFile.empty()) {
        const nnue::LoadResult loaded = nnue::load(options.evalFile, network);
        if (loaded != nnue::LoadResult::OK) {
            std::fprintf(stderr, "cannot use %s: %s\n", options.evalFile.c_str(),
                         nnue::describe(loaded));
            return 1;
        }
    }
    std::FILE* out = std::fopen(options.out.c_str(), "a");
    if (!out) {
        std::fprintf(stderr, "cannot open %s: %s\n", options.out.c_str(), std::strerror(errno));
        return 1;
    }

    SelfPlay selfPlay(options.nodes, options.randomPlies, options.seed);
    if (!options.evalFile.empty()) selfPlay.setNetwork(&network);
    Position start;
    start.setStart();
    const auto startTime = std::chrono::steady_clock::now();
    unsigned long long games = 0, discarded = 0, positions = 0, tally[3] = {0, 0, 0};
    while (games < options.games) {
        SelfPlayGame game = selfPlay.play(start);
        if (game.result == GameResult::DISCARDED) {
            ++discarded;
            continue;
        }
        std::string lines;
        for (const RecordedPosition& position : game.positions)
            lines += trainingLine(position, game.result) + '\n';
        if (std::fputs(lines.c_str(), out) < 0 || std::fflush(out) != 0) {
            std::fprintf(stderr, "cannot write %s: %s\n", options.out.c_str(),
                         std::strerror(errno));
            std::fclose(out);
            return 1;
        }
        ++games;
        ++tally[int(game.result)];
        positions += game.positions.size();
        if (games % 100 == 0 || games == options.games) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime).count();
            std::fprintf(stderr,
                         "games %llu positions %llu white %llu draw %llu black %llu "
                         "discarded %llu games/s %.2f\n",
                         games, positions, tally[int(GameResult::WHITE_WINS)],
                         tally[int(GameResult::DRAW)], tally[int(GameResult::BLACK_WINS)],
                         discarded, seconds > 0 ? games / seconds : 0.0);
        }
    }
    std::fclose(out);
    return 0;
}
