// tallowmere pgn: check, write out, index and filter the games of PGN files.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "database/database.h"
#include "database/file_system.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_reader.h"

// Hidden: writes a corpus of random games (pgn_generate.cpp).
int pgnGenerateCommand(int argc, char** argv);

namespace {

const char CHECK_USAGE[] = "tallowmere pgn check FILE...";
const char CAT_USAGE[] = "tallowmere pgn cat FILE [--game N] [--width W]";
const char INDEX_USAGE[] = "tallowmere pgn index FILE";
const char FILTER_USAGE[] = "tallowmere pgn filter FILE [--white P] [--black P] [--any-colour] "
                            "[--from D] [--to D] [--event P] [--eco P] [--result R]...";

// The width files are written with.
constexpr int FILE_LINE_WIDTH = 75;

bool parseNumber(const char* text, long minimum, long maximum, long& value) {
    if (!*text) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return *end == 0 && errno == 0 && value >= minimum && value <= maximum;
}

int cannotOpen(const char* path) {
    std::fprintf(stderr, "tallowmere pgn: cannot open %s\n", path);
    return EXIT_BAD_INPUT;
}

// A game that read in part or not at all.
struct CFaultyGame {
    int number; // counted from 1, as people count
    int64_t offset;
    bool inPart;
    std::string why;
};

// Reads every game of the file in one pass. The games are the ones the index
// of the database holds: a game that reads and is followed by the next game's
// "[" ends there, as its scan would; any other game is measured by a scan.
bool checkFile(const char* path, int& games, std::vector<CFaultyGame>& faulty) {
    std::unique_ptr<std::istream> stream = realFileSystem().openForReading(path);
    if (!stream) return false;
    CPgnReader reader;
    int64_t start = reader.firstGameOffset(*stream, 0);
    for (games = 0;; ++games) {
        int64_t next = 0;
        int64_t end = 0;
        std::unique_ptr<CGame> game;
        const bool read = reader.readGame(*stream, start, next, game);
        const CReadReport report = reader.report();
        bool measured = false;
        if (read) {
            stream->clear();
            stream->seekg(next);
            const int following = stream->rdbuf()->sgetc();
            measured = following == '[' || following == std::char_traits<char>::eof();
            end = next;
        }
        if (!measured && !reader.scanGame(*stream, start, end, game)) break;
        if (!read || report.outcome == CReadReport::Outcome::IN_PART)
            faulty.push_back(CFaultyGame{games + 1, start, read, report.message});
        if (end <= start) {
            ++games;
            break;
        }
        start = end;
    }
    return true;
}

int checkCommand(int argc, char** argv) {
    if (argc < 1) return usageError(CHECK_USAGE);
    int exitCode = EXIT_OK;
    for (int i = 0; i < argc; ++i) {
        int games = 0;
        std::vector<CFaultyGame> faulty;
        if (!checkFile(argv[i], games, faulty)) {
            exitCode = cannotOpen(argv[i]);
            continue;
        }
        const auto inPart = std::count_if(faulty.begin(), faulty.end(),
                                          [](const CFaultyGame& game) { return game.inPart; });
        const int failed = int(faulty.size()) - int(inPart);
        std::printf("%s: games %d, read %d, in part %d, failed %d\n", argv[i], games,
                    games - int(faulty.size()), int(inPart), failed);
        for (const CFaultyGame& game : faulty)
            std::printf("%s: game %d at offset %lld %s: %s\n", argv[i], game.number,
                        static_cast<long long>(game.offset),
                        game.inPart ? "reads in part" : "does not read", game.why.c_str());
        if (!faulty.empty()) exitCode = EXIT_BAD_INPUT;
    }
    return exitCode;
}

int catCommand(int argc, char** argv) {
    if (argc < 1) return usageError(CAT_USAGE);
    long only = -1;
    long width = FILE_LINE_WIDTH;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc &&
            parseNumber(argv[i + 1], 1, INT_MAX, only)) {
            --only; // given as people count, from 1
            ++i;
        } else if (std::strcmp(argv[i], "--width") == 0 && i + 1 < argc &&
                   parseNumber(argv[i + 1], 1, 100000, width)) {
            ++i;
        } else {
            return usageError(CAT_USAGE);
        }
    }
    CPgnReader reader;
    CDatabase database(reader);
    if (!database.open(argv[0])) return cannotOpen(argv[0]);
    const int count = int(database.index().size());
    if (only >= count) {
        std::fprintf(stderr, "tallowmere pgn: %s has %d games, no game %ld\n", argv[0], count,
                     only + 1);
        return EXIT_BAD_INPUT;
    }
    int exitCode = EXIT_OK;
    for (int n = only < 0 ? 0 : int(only); n < (only < 0 ? count : only + 1); ++n) {
        std::unique_ptr<CGame> game = database.gameAt(n);
        if (!game) {
            std::fprintf(stderr, "tallowmere pgn: game %d at offset %lld does not read\n", n + 1,
                         static_cast<long long>(database.index()[size_t(n)].start));
            exitCode = EXIT_BAD_INPUT;
            continue;
        }
        if (!game->leftOut.isEmpty()) {
            // Written all the same: the unread text is kept in a comment.
            std::fprintf(stderr, "tallowmere pgn: game %d at offset %lld reads in part: %s\n",
                         n + 1,
                         static_cast<long long>(database.index()[size_t(n)].start),
                         game->leftOut.c_str());
            exitCode = EXIT_BAD_INPUT;
        }
        game->setOptions(int32_t(width), true, true, true, true, false);
        game->writeTo(std::cout);
    }
    std::cout.flush();
    return exitCode;
}

// Tag values become one field: tabs and line breaks in them turn into blanks.
std::string field(const CText& value) {
    std::string text = value.c_str();
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

int indexCommand(int argc, char** argv) {
    if (argc != 1) return usageError(INDEX_USAGE);
    CPgnReader reader;
    CDatabase database(reader);
    if (!database.open(argv[0])) return cannotOpen(argv[0]);
    for (const GameIndexEntry& entry : database.index()) {
        std::printf("%d\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%lld\t%lld\n", entry.number + 1,
                    field(entry.white).c_str(), field(entry.black).c_str(),
                    field(entry.date).c_str(), field(entry.event).c_str(), field(entry.eco).c_str(),
                    field(entry.site).c_str(), field(entry.result).c_str(),
                    static_cast<long long>(entry.start), static_cast<long long>(entry.end));
    }
    return EXIT_OK;
}

int filterCommand(int argc, char** argv) {
    if (argc < 1) return usageError(FILTER_USAGE);
    GameFilter filter;
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--any-colour") == 0) {
            filter.anyColour = true;
            continue;
        }
        if (i + 1 >= argc) return usageError(FILTER_USAGE);
        const char* value = argv[++i];
        if (std::strcmp(option, "--white") == 0) {
            filter.playerA = value;
        } else if (std::strcmp(option, "--black") == 0) {
            filter.playerB = value;
        } else if (std::strcmp(option, "--from") == 0) {
            filter.dateFrom = value;
        } else if (std::strcmp(option, "--to") == 0) {
            filter.dateTo = value;
        } else if (std::strcmp(option, "--event") == 0) {
            filter.event = value;
        } else if (std::strcmp(option, "--eco") == 0) {
            filter.eco = value;
        } else if (std::strcmp(option, "--result") == 0) {
            if (std::strcmp(value, "1-0") == 0)
                filter.whiteWins = true;
            else if (std::strcmp(value, "0-1") == 0)
                filter.blackWins = true;
            else if (std::strcmp(value, "1/2") == 0 || std::strcmp(value, "1/2-1/2") == 0)
                filter.draw = true;
            else if (std::strcmp(value, "*") == 0)
                filter.unfinished = true;
            else
                return usageError(FILTER_USAGE);
        } else {
            return usageError(FILTER_USAGE);
        }
    }
    CPgnReader reader;
    CDatabase database(reader);
    if (!database.open(argv[0])) return cannotOpen(argv[0]);
    std::vector<int32_t> matches;
    database.filter(filter, matches);
    for (const int32_t n : matches)
        std::printf("%d\n", n + 1);
    return EXIT_OK;
}

} // namespace

int pgnCommand(int argc, char** argv) {
    if (argc >= 1) {
        const char* name = argv[0];
        if (std::strcmp(name, "check") == 0) return checkCommand(argc - 1, argv + 1);
        if (std::strcmp(name, "cat") == 0) return catCommand(argc - 1, argv + 1);
        if (std::strcmp(name, "index") == 0) return indexCommand(argc - 1, argv + 1);
        if (std::strcmp(name, "filter") == 0) return filterCommand(argc - 1, argv + 1);
        if (std::strcmp(name, "generate") == 0) return pgnGenerateCommand(argc - 1, argv + 1);
    }
    return usageError("tallowmere pgn check|cat|index|filter FILE ...");
}
