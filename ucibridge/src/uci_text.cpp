#include "uci_text.h"

#include "engine_interface.h"

#include <algorithm>
#include <sstream>

namespace ucibridge {

namespace {

// Depths from this on are the program's "no depth limit".
constexpr int UNLIMITED_PLIES = 60;
constexpr int DEEPEST_SEARCH = 99;

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

template <typename Number> std::optional<Number> number(const std::string& text) {
    std::istringstream in(text);
    Number value;
    if (!(in >> value) || !in.eof()) return std::nullopt;
    return value;
}

// The words of line after key up to the first of the stop words, joined by blanks.
std::string phrase(const std::vector<std::string>& all, size_t from,
                   std::initializer_list<const char*> stopWords) {
    std::string text;
    for (size_t i = from; i < all.size(); ++i) {
        if (std::find(stopWords.begin(), stopWords.end(), all[i]) != stopWords.end()) break;
        if (!text.empty()) text += ' ';
        text += all[i];
    }
    return text;
}

} // namespace

int32_t centipawnScore(long centipawns) {
    const long limit = ENGINE_MATE_THRESHOLD - 1;
    return int32_t(std::clamp(centipawns, -limit, limit));
}

int32_t mateScore(long moves) {
    // Mating in n moves takes 2n - 1 plies, being mated in n moves 2n. Beyond what the
    // score can hold the mate is merely far away.
    const long longest = (ENGINE_MATE_SCORE - ENGINE_MATE_THRESHOLD) / 2 - 1;
    if (moves > 0) return ENGINE_MATE_SCORE - int32_t(2 * std::min(moves, longest) - 1);
    return -(ENGINE_MATE_SCORE - int32_t(2 * std::min(-moves, longest)));
}

std::optional<InfoLine> parseInfo(const std::string& line) {
    const std::vector<std::string> all = words(line);
    if (all.empty() || all[0] != "info") return std::nullopt;
    InfoLine info;
    // Fields whose value is missing or not a number are left out, as if not sent.
    for (size_t i = 1; i < all.size(); ++i) {
        const std::string& key = all[i];
        const bool hasValue = i + 1 < all.size();
        if (key == "string") break; // free text to the end of the line
        if (!hasValue) break;
        const std::string& value = all[i + 1];
        if (key == "depth") {
            info.depth = number<int>(value);
            ++i;
        } else if (key == "seldepth") {
            info.selectiveDepth = number<int>(value);
            ++i;
        } else if (key == "nodes") {
            info.nodes = number<uint64_t>(value);
            ++i;
        } else if (key == "multipv") {
            info.multiPv = number<int>(value).value_or(1);
            ++i;
        } else if (key == "currmove") {
            info.currentMove = value;
            ++i;
        } else if (key == "currmovenumber") {
            info.currentMoveNumber = number<int>(value).value_or(0);
            ++i;
        } else if (key == "score" && i + 2 < all.size()) {
            if (all[i + 1] == "cp") {
                if (auto cp = number<long>(all[i + 2])) info.score = centipawnScore(*cp);
            } else if (all[i + 1] == "mate") {
                if (auto moves = number<long>(all[i + 2])) info.score = mateScore(*moves);
            }
            i += 2;
        } else if (key == "pv") {
            info.pv = words(
                phrase(all, i + 1,
                       {"depth", "seldepth", "nodes", "score", "nps", "time", "multipv", "currmove",
                        "hashfull", "tbhits", "string", "refutation", "currline"}));
            i += info.pv.size();
        }
    }
    return info;
}

std::optional<BestMove> parseBestMove(const std::string& line) {
    const std::vector<std::string> all = words(line);
    if (all.empty() || all[0] != "bestmove") return std::nullopt;
    BestMove best;
    if (all.size() > 1 && all[1] != "(none)" && all[1] != "0000") best.move = all[1];
    if (all.size() > 3 && all[2] == "ponder") best.ponder = all[3];
    return best;
}

std::optional<EngineOption> parseOption(const std::string& line) {
    const std::vector<std::string> all = words(line);
    if (all.size() < 3 || all[0] != "option" || all[1] != "name") return std::nullopt;
    EngineOption option;
    // Names may hold blanks: they run up to "type".
    option.name = phrase(all, 2, {"type"});
    for (size_t i = 2; i + 1 < all.size(); ++i) {
        if (all[i] == "type") option.type = all[i + 1];
        if (all[i] == "min") option.min = number<long>(all[i + 1]);
        if (all[i] == "max") option.max = number<long>(all[i + 1]);
    }
    if (option.name.empty()) return std::nullopt;
    return option;
}

std::optional<std::string> parseIdName(const std::string& line) {
    const std::vector<std::string> all = words(line);
    if (all.size() < 3 || all[0] != "id" || all[1] != "name") return std::nullopt;
    return phrase(all, 2, {});
}

bool Level::hasTimeLimit() const {
    return seconds < ENGINE_NO_TIME_LIMIT;
}

int64_t Level::timeLimitMs() const {
    return std::max<int64_t>(seconds, 0) * 1000;
}

std::string goCommand(const Level& level) {
    const int plies = std::clamp(level.maxPlies, 1, DEEPEST_SEARCH);
    std::ostringstream go;
    go << "go";
    if (!level.hasTimeLimit()) {
        go << " depth " << plies;
        return go.str();
    }
    const int64_t ms = level.timeLimitMs();
    if (level.movesToGo == 1 && level.periodMoves <= 1) {
        // A fixed time for this move.
        go << " movetime " << std::max<int64_t>(ms, 1);
    } else {
        // The program keeps only the clock of the side to move; the engine's own is what
        // it plans with, so both are given that reading.
        go << " wtime " << ms << " btime " << ms;
        if (level.incrementSeconds > 0) {
            const int64_t increment = int64_t(level.incrementSeconds) * 1000;
            go << " winc " << increment << " binc " << increment;
        }
        if (level.movesToGo > 0) go << " movestogo " << level.movesToGo;
    }
    if (plies < UNLIMITED_PLIES) go << " depth " << plies;
    return go.str();
}

} // namespace ucibridge
