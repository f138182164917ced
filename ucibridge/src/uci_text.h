// The UCI protocol's lines as this bridge reads and writes them: engine output taken apart
// into what the program's callbacks want, and the program's level turned into a go command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ucibridge {

// What one "info" line said; absent fields were not on the line.
struct InfoLine {
    std::optional<int> depth;
    std::optional<int> selectiveDepth;
    std::optional<uint64_t> nodes;
    std::optional<int> score; // in the program's convention, mate scores included
    std::optional<std::string> currentMove;
    int currentMoveNumber = 0;
    int multiPv = 1;
    std::vector<std::string> pv;
};

// Nothing when the line is not an info line.
std::optional<InfoLine> parseInfo(const std::string& line);

// "bestmove e2e4 ponder e7e5": the move and, when given, the expected answer. Nothing when
// the line is not a bestmove line; an empty move when the engine has none.
struct BestMove {
    std::string move;
    std::string ponder;
};
std::optional<BestMove> parseBestMove(const std::string& line);

// An option the engine announced between "uci" and "uciok".
struct EngineOption {
    std::string name;
    std::string type;
    std::optional<long> min;
    std::optional<long> max;
};
std::optional<EngineOption> parseOption(const std::string& line);

// The text after "id name", or nothing.
std::optional<std::string> parseIdName(const std::string& line);

// A UCI score turned into centipawns for the side to move, with mate in n moves as a mate
// in the plies that takes. Centipawns never reach into the range of mate scores.
int32_t centipawnScore(long centipawns);
int32_t mateScore(long moves);

// The program's level as SetLevel and SetTimeControl give it.
struct Level {
    int movesToGo = 1;
    int seconds = 5;
    int incrementSeconds = 0;
    int maxPlies = 99;
    int periodMoves = 0;
    int periodSeconds = 0;

    // Without a time limit maxPlies alone ends the search.
    bool hasTimeLimit() const;
    // How long the search may take by the clock, in milliseconds, when it has a limit.
    int64_t timeLimitMs() const;
};
std::string goCommand(const Level& level);

} // namespace ucibridge
