// The bridge behind the fifteen exports: one external UCI engine, the game as the program
// sent it, the level and the book, and the search that runs on the caller's thread until
// the engine answers "bestmove".
//
// Which engine to run is the one thing the exports do not carry: the program names it with
// SetParameter("EngineCommand", command line) before StartEngine. That call starts the
// engine and waits for its "uciok", so that the program knows at once whether the engine
// works and GetEngineName has the engine's own name to give.
//
// An engine that cannot be trusted any more (it died, hung, or stopped speaking UCI) is
// killed; every later search returns at once without a move, and each reports the fault
// through onExtra(ENGINE_EXTRA_FAILED) so that the program can turn to another engine.
#pragma once

#include "book.h"
#include "engine_interface.h"
#include "engine_process.h"
#include "position.h"
#include "uci_text.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace ucibridge {

class UciBridge {
public:
    bool setCommand(const std::string& command);
    void start(int hashKB, const EngineCallbacks* callbacks);
    void exit();
    void analyse();
    void stop();
    void setPosition(const char* fen);
    void enterMove(const char* move);
    void setBook(const char* path, int use);
    void setLevel(int movesToGo, int seconds, int incrementSeconds, int maxPlies);
    void setTimeControl(int movesPerPeriod, int secondsPerPeriod);
    void clearHashtables();
    bool setParameter(const char* name, const char* value);
    const char* name() const { return m_name.c_str(); }

private:
    // Starts the engine and reads its names and options; false (and no engine) on failure.
    bool connect();
    // Sends isready and waits for readyok.
    bool synchronise();
    void fail(const char* why);
    bool hasOption(const char* name, const char* type) const;
    void sendBookToEngine();
    // The line the program is to play: the engine's last line when it begins with the
    // engine's move, else the move alone.
    void reportBestMove(const BestMove& best);
    void report(const InfoLine& info);
    void reportNoMove();
    tarnwick::Move legalMove(const std::string& text);
    // "position ..." for what SetPosition and EnterMove gave.
    std::string positionCommand() const;

    std::string m_command;
    std::vector<std::string> m_words;
    EngineProcess m_process;
    bool m_failed = false;
    std::string m_name = "UCI engine";
    std::map<std::string, EngineOption> m_options;
    bool m_readyPending = false;

    EngineCallbacks m_callbacks{};
    std::string m_fen;
    std::vector<std::string> m_moves;
    tarnwick::Position m_position;
    bool m_positionValid = false;
    Level m_level;

    // The engine's own book when it has one, else ours.
    bool m_engineHasBook = false;
    std::string m_bookSent; // what the engine was last told; "" = off
    std::string m_bookPath;
    bool m_useBook = false;
    tarnwick::OpeningBook m_book;

    std::string m_lastLineMove; // first move of the last line reported
    int32_t m_lastScore = 0;

    // Shared with StopAnalyse on another thread.
    std::mutex m_searchLock;
    bool m_searching = false;
    bool m_stopSent = false;
    Clock::time_point m_stopTime;
};

} // namespace ucibridge
