#include "uci_bridge.h"

#include "movegen.h"

#include <algorithm>
#include <cstdio>

namespace ucibridge {

namespace {

constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// What the protocol's start-up and "isready" may take before the engine counts as not
// speaking UCI.
constexpr auto ANSWER_WAIT = std::chrono::seconds(10);
// How long after "stop" the engine may take to give its move before it counts as hung.
constexpr auto STOP_WAIT = std::chrono::seconds(5);
// How long "quit" may take before the engine is killed.
constexpr auto QUIT_WAIT = std::chrono::seconds(1);
// Reading wakes this often so that a "stop" from the other thread shortens the wait.
constexpr auto READ_SLICE = std::chrono::milliseconds(100);

// Text the program passes on must not end the command line it goes into.
bool isOneLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

std::string programName(const std::vector<std::string>& words) {
    if (words.empty()) return "UCI engine";
    const std::string& path = words[0];
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool UciBridge::setCommand(const std::string& command) {
    m_command = command;
    m_words = isOneLine(command) ? commandWords(command) : std::vector<std::string>();
    m_failed = !connect();
    return !m_failed;
}

bool UciBridge::connect() {
    m_process.kill();
    m_options.clear();
    m_engineHasBook = false;
    m_bookSent.clear();
    std::string reason;
    if (!m_process.start(m_words, reason)) {
        std::fprintf(stderr, "UciBridge: cannot run '%s': %s\n", m_command.c_str(), reason.c_str());
        return false;
    }
    std::optional<std::string> idName;
    const auto deadline = Clock::now() + ANSWER_WAIT;
    bool answered = m_process.send("uci");
    std::string line;
    while (answered) {
        const ReadResult read = m_process.readLine(deadline, line);
        if (read != ReadResult::line) {
            answered = false;
            break;
        }
        if (line == "uciok") break;
        if (auto name = parseIdName(line)) idName = name;
        if (auto option = parseOption(line)) m_options[option->name] = *option;
    }
    if (!answered) {
        std::fprintf(stderr, "UciBridge: '%s' gave no uciok\n", m_command.c_str());
        m_process.kill();
        return false;
    }
    m_name = idName && !idName->empty() ? *idName : programName(m_words);
    m_engineHasBook = hasOption("OwnBook", "check") && hasOption("BookFile", "string");
    m_readyPending = true;
    return true;
}

bool UciBridge::synchronise() {
    if (!m_process.send("isready")) return false;
    const auto deadline = Clock::now() + ANSWER_WAIT;
    std::string line;
    while (m_process.readLine(deadline, line) == ReadResult::line) {
        if (line == "readyok") {
            m_readyPending = false;
            return true;
        }
    }
    return false;
}

void UciBridge::fail(const char* why) {
    std::fprintf(stderr, "UciBridge: '%s' %s\n", m_command.c_str(), why);
    m_process.kill();
    m_failed = true;
}

bool UciBridge::hasOption(const char* name, const char* type) const {
    const auto found = m_options.find(name);
    return found != m_options.end() && found->second.type == type;
}

void UciBridge::start(int hashKB, const EngineCallbacks* callbacks) {
    m_callbacks = callbacks ? *callbacks : EngineCallbacks{};
    if (!m_process.isRunning()) m_failed = !connect();
    if (m_failed) return;
    const auto hash = m_options.find("Hash");
    if (hash != m_options.end() && hash->second.type == "spin") {
        long megabytes = std::max(hashKB / 1024, 1);
        megabytes = std::max(megabytes, hash->second.min.value_or(1));
        if (hash->second.max) megabytes = std::min(megabytes, *hash->second.max);
        m_process.send("setoption name Hash value " + std::to_string(megabytes));
    }
    if (!synchronise()) fail("did not answer isready");
}

void UciBridge::exit() {
    if (m_process.isRunning()) {
        m_process.send("quit");
        m_process.finish(Clock::now() + QUIT_WAIT);
    }
    m_callbacks = EngineCallbacks{};
    m_book.close();
}

void UciBridge::setPosition(const char* fen) {
    m_moves.clear();
    m_positionValid = fen && isOneLine(fen) && m_position.setFen(fen);
    // The engine gets the position as we read it, whatever blanks the program's text had.
    m_fen = m_positionValid ? m_position.fen() : "";
}

tarnwick::Move UciBridge::legalMove(const std::string& text) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    tarnwick::MoveList legal;
    tarnwick::generateLegalMoves(m_position, legal);
    for (tarnwick::Move m : legal)
        if (tarnwick::moveToText(m) == lower) return m;
    return tarnwick::NO_MOVE;
}

void UciBridge::enterMove(const char* text) {
    if (!m_positionValid) return;
    const std::string move = text ? text : "";
    tarnwick::UndoInfo undo;
    if ((move == "null" || move == "0000" || move == "--") && !m_position.inCheck()) {
        // A passed turn, as game records may hold. UCI has no common word for it, so the
        // engine gets the position after it.
        m_position.makeNullMove(undo);
        m_fen = m_position.fen();
        m_moves.clear();
        return;
    }
    const tarnwick::Move m = legalMove(move);
    if (m == tarnwick::NO_MOVE) {
        // From here on the engine's game would differ from the program's: search nothing.
        m_positionValid = false;
        return;
    }
    m_position.makeMove(m, undo);
    m_moves.push_back(tarnwick::moveToText(m));
}

std::string UciBridge::positionCommand() const {
    std::string command = m_fen == START_FEN ? "position startpos" : "position fen " + m_fen;
    if (!m_moves.empty()) command += " moves";
    for (const std::string& move : m_moves)
        command += " " + move;
    return command;
}

void UciBridge::setBook(const char* path, int use) {
    m_bookPath = path && isOneLine(path) ? path : "";
    m_useBook = use != 0 && !m_bookPath.empty();
    if (!m_useBook) {
        m_book.close();
        return;
    }
    if (!m_engineHasBook && (!m_book.isOpen() || m_book.path() != m_bookPath)) {
        if (!m_book.open(m_bookPath)) m_useBook = false;
    }
}

void UciBridge::sendBookToEngine() {
    if (!m_engineHasBook) return;
    const std::string wanted = m_useBook ? m_bookPath : "";
    if (wanted == m_bookSent) return;
    if (!wanted.empty()) m_process.send("setoption name BookFile value " + wanted);
    m_process.send(std::string("setoption name OwnBook value ") +
                   (wanted.empty() ? "false" : "true"));
    m_bookSent = wanted;
    m_readyPending = true;
}

void UciBridge::setLevel(int movesToGo, int seconds, int incrementSeconds, int maxPlies) {
    m_level.movesToGo = std::max(movesToGo, 0);
    m_level.seconds = seconds;
    m_level.incrementSeconds = std::max(incrementSeconds, 0);
    m_level.maxPlies = maxPlies;
}

void UciBridge::setTimeControl(int movesPerPeriod, int secondsPerPeriod) {
    m_level.periodMoves = std::max(movesPerPeriod, 0);
    m_level.periodSeconds = std::max(secondsPerPeriod, 0);
}

void UciBridge::clearHashtables() {
    if (!m_process.isRunning()) return;
    m_process.send("ucinewgame");
    m_readyPending = true;
}

bool UciBridge::setParameter(const char* name, const char* value) {
    if (!name || !value) return false;
    const std::string key = name;
    if (key == "EngineCommand") return setCommand(value);
    // Any option the engine announced is passed on as it is.
    if (m_options.count(key) == 0 || !isOneLine(value) || !m_process.isRunning()) return false;
    m_readyPending = true;
    const std::string text = value;
    return m_process.send("setoption name " + key + (text.empty() ? "" : " value " + text));
}

void UciBridge::stop() {
    std::lock_guard<std::mutex> guard(m_searchLock);
    if (!m_searching || m_stopSent) return;
    m_process.send("stop");
    m_stopSent = true;
    m_stopTime = Clock::now();
}

void UciBridge::reportNoMove() {
    m_lastLineMove.clear();
    if (m_callbacks.onPrincipalVariation) m_callbacks.onPrincipalVariation("", 0);
}

void UciBridge::report(const InfoLine& info) {
    if (info.depth && m_callbacks.onDepth)
        m_callbacks.onDepth(*info.depth, info.selectiveDepth.value_or(*info.depth));
    if (info.nodes && m_callbacks.onNodes)
        m_callbacks.onNodes(uint32_t(*info.nodes), uint32_t(*info.nodes >> 32));
    if (info.currentMove && m_callbacks.onCurrentMove) {
        tarnwick::MoveList legal;
        tarnwick::generateLegalMoves(m_position, legal);
        m_callbacks.onCurrentMove(info.currentMove->c_str(), info.currentMoveNumber, legal.size);
    }
    // Only the best line counts; the others of a multi-line search are left out.
    if (info.multiPv != 1) return;
    if (info.score) m_lastScore = *info.score;
    if (info.pv.empty()) return;
    std::string text;
    for (const std::string& move : info.pv)
        text += (text.empty() ? "" : " ") + move;
    m_lastLineMove = info.pv.front();
    if (m_callbacks.onPrincipalVariation)
        m_callbacks.onPrincipalVariation(text.c_str(), m_lastScore);
}

void UciBridge::reportBestMove(const BestMove& best) {
    if (best.move.empty()) {
        reportNoMove();
        return;
    }
    if (best.move == m_lastLineMove) return;
    std::string text = best.move;
    if (!best.ponder.empty()) text += " " + best.ponder;
    m_lastLineMove = best.move;
    if (m_callbacks.onPrincipalVariation)
        m_callbacks.onPrincipalVariation(text.c_str(), m_lastScore);
}

void UciBridge::analyse() {
    {
        std::lock_guard<std::mutex> guard(m_searchLock);
        m_searching = false;
        m_stopSent = false;
    }
    m_lastLineMove.clear();
    m_lastScore = 0;
    auto failed = [this] {
        reportNoMove();
        if (m_callbacks.onExtra) m_callbacks.onExtra(ENGINE_EXTRA_FAILED);
    };
    if (m_failed || !m_process.isRunning()) {
        failed();
        return;
    }
    if (!m_positionValid) {
        // A position we could not follow has no moves we could vouch for.
        reportNoMove();
        return;
    }
    if (!m_engineHasBook && m_useBook && m_book.isOpen()) {
        const tarnwick::Move bookMove = m_book.probe(m_position);
        if (bookMove != tarnwick::NO_MOVE) {
            if (m_callbacks.onDepth) m_callbacks.onDepth(1, 1);
            const std::string text = tarnwick::moveToText(bookMove);
            if (m_callbacks.onPrincipalVariation) m_callbacks.onPrincipalVariation(text.c_str(), 0);
            return;
        }
    }
    sendBookToEngine();
    if (m_readyPending && !synchronise()) {
        fail("did not answer isready");
        failed();
        return;
    }
    const Level level = m_level;
    m_process.send(positionCommand());
    const auto started = Clock::now();
    {
        // Under the lock, so that a stop from the other thread comes after the go.
        std::lock_guard<std::mutex> guard(m_searchLock);
        m_process.send(goCommand(level));
        m_searching = true;
    }
    std::optional<BestMove> best;
    const char* fault = nullptr;
    std::string line;
    while (!best && !fault) {
        Clock::time_point limit = Clock::time_point::max();
        bool stopSent;
        {
            std::lock_guard<std::mutex> guard(m_searchLock);
            stopSent = m_stopSent;
            if (stopSent)
                limit = m_stopTime + STOP_WAIT;
            else if (level.hasTimeLimit())
                limit = started + std::chrono::milliseconds(level.timeLimitMs());
        }
        if (Clock::now() >= limit) {
            if (stopSent) {
                fault = "gave no move after stop";
                break;
            }
            // The level's time is used up: the engine must answer now.
            std::lock_guard<std::mutex> guard(m_searchLock);
            m_process.send("stop");
            m_stopSent = true;
            m_stopTime = Clock::now();
            continue;
        }
        const ReadResult read =
            m_process.readLine(std::min(limit, Clock::now() + READ_SLICE), line);
        if (read == ReadResult::timeout) continue;
        if (read == ReadResult::closed) {
            fault = "ended during a search";
            break;
        }
        if (auto info = parseInfo(line))
            report(*info);
        else
            best = parseBestMove(line);
    }
    {
        std::lock_guard<std::mutex> guard(m_searchLock);
        m_searching = false;
    }
    if (fault) {
        fail(fault);
        failed();
        return;
    }
    if (!best->move.empty() && legalMove(best->move) == tarnwick::NO_MOVE) {
        // The engine's game and ours differ, or it does not know the rules: its word is no
        // good for this game any more.
        fail("answered with a move that is not legal");
        failed();
        return;
    }
    reportBestMove(*best);
}

} // namespace ucibridge
