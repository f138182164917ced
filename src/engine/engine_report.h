#pragma once
// EngineReport: what the engine says about its search (nodes, depth, current move, score,
// best line), filled by its callbacks on the engine thread and read by the interface
// thread for display, for the hint and for playing the engine's move.
//
// The record sits behind a small lock: a reader always gets a copy in which every text
// is whole and belongs with the numbers beside it.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "engine/engine_interface.h"
#include "rules/position.h"

// Texts hold at most this many characters before their terminator; a longer line is
// cut after its last whole move, a longer move text is cut.
constexpr uint32_t LINE_TEXT_SIZE = 480;
constexpr uint32_t MOVE_TEXT_SIZE = 16;

struct EngineReport {
    uint32_t nodesLow = 0;
    uint32_t nodesHigh = 0;
    int32_t score = 0; // centipawns for the side the engine searches for
    int32_t depth = 0;
    int32_t selectiveDepth = 0;
    int32_t pvDepth = 0; // the depth when the line came
    int32_t moveIndex = 0;
    int32_t moveCount = 0;
    bool busy = false;                         // the engine thread is inside StartAnalyse
    char pvText[LINE_TEXT_SIZE] = "";          // the last line as the engine sent it; empty: none
    char currentMoveText[MOVE_TEXT_SIZE] = ""; // the root move as sent
    char pvSan[LINE_TEXT_SIZE] = "";           // the line in SAN with move numbers
    char currentMoveSan[MOVE_TEXT_SIZE] = "";  // the root move in SAN
    uint32_t searchStartTick = 0;
    uint32_t searchEndTick = 0;
    uint32_t reportStartTick = 0;
    uint32_t lastReportTick = 0;
};

class CEngineReport {
public:
    CEngineReport() = default;
    CEngineReport(const CEngineReport&) = delete;
    CEngineReport& operator=(const CEngineReport&) = delete;

    // A consistent copy, from any thread.
    EngineReport snapshot() const;

    // Interface thread. A search is asked for: no line yet, and the clock of the report
    // starts; lastReportTick a little ahead, so that the panel waits for the first news.
    void searchRequested(uint32_t now);
    // The line, the depth and the score are forgotten.
    void clearLine();
    // Everything the search said is forgotten.
    void clear(uint32_t now);

    // Engine thread, around StartAnalyse. position is the position searched: lines are
    // read in it, firstPly being the ply of the move the engine is to find. The interface
    // thread ends a search it has given up on with endSearch too.
    void beginSearch(const CPosition& position, int32_t firstPly, uint32_t now);
    void endSearch(uint32_t now);

    // Engine thread, inside StartAnalyse: the five callbacks.
    void onNodes(uint32_t low, uint32_t high);
    void onDepth(int32_t depth, int32_t selectiveDepth);
    void onCurrentMove(const char* move, int32_t index, int32_t count);
    void onPrincipalVariation(const char* line, int32_t score);
    // The module said it can no longer search (onExtra's ENGINE_EXTRA_FAILED).
    void onEngineFailed() { m_engineFailed = true; }

    // Any thread: whether the module failed since the last call.
    bool takeEngineFailure() { return m_engineFailed.exchange(false); }

private:
    std::atomic<bool> m_engineFailed{false};
    mutable std::mutex m_lock;
    EngineReport m_report;
    // Only the engine thread touches these.
    CPosition m_position;
    int32_t m_firstPly = 0;
};

// The one report of the program.
extern CEngineReport engineReport;

// The table handed to StartEngine: a leading 0 and the five callbacks writing engineReport.
EngineCallbacks engineCallbacks();
