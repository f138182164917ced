#pragma once
// CEngineThread: the one thread that runs the engine's searches.
//
// It sleeps on its request events; asked to search, it waits until the board animates
// no move, hands the engine the position, book and level of the latest request, and
// blocks inside StartAnalyse while the callbacks fill the report. When the search ends it
// tells the interface thread through searchEnded (which must only post) and sleeps
// again. It never waits for the interface thread, so no wait there can deadlock on it.
//
// Only this thread calls into the engine while it runs, except StopAnalyse, which the
// interface thread calls to end a search, and ClearHashtables, called while no search
// runs and the thread is kept from starting one.
//
// An engine that does not answer (StartEngine never returns, a search goes on after
// StopAnalyse) must not hold the interface: start, stop and quit take a limit, and a
// thread that did not answer within it is abandoned. It then ends by itself whenever the
// engine returns, and reports nothing more. Its owner keeps it (and the module under
// it) for as long as it runs: destroying a running thread waits for it.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "engine/engine_interface.h"
#include "engine/engine_requests.h"
#include "engine/search_request.h"
#include "platform/kernel/event.h"
#include "platform/kernel/thread.h"

class CEngineReport;

enum class EngineStart {
    started,
    notCreated, // no thread could be made, or one runs already
    noAnswer,   // the thread runs, but StartEngine did not return within the limit
};

struct StopResult {
    bool stopped = true;    // false: the search still ran when the limit was reached
    uint32_t withdrawn = 0; // the serial of a request not yet taken, else 0
};

// How a search ended, as searchEnded hears it.
struct SearchOutcome {
    uint32_t serial = 0;
    uint32_t searchStartTick = 0;
    uint32_t searchEndTick = 0;
};

class CEngineThread {
public:
    // False while a move is being animated: no search starts then.
    using MayStart = std::function<bool()>;
    // Runs on the engine thread right after a search; it must not wait for anything.
    using SearchEnded = std::function<void(const SearchOutcome&)>;

    // engine's exports must stay resolved while the thread runs.
    CEngineThread(const EngineExports& engine, CEngineReport& report, MayStart mayStart,
                  SearchEnded searchEnded);
    ~CEngineThread(); // quits a running thread
    CEngineThread(const CEngineThread&) = delete;
    CEngineThread& operator=(const CEngineThread&) = delete;

    // Starts the thread, which starts the engine with a hash of hashKB and the callbacks
    // (which must outlive it), and returns once the engine is ready or answerLimitMs
    // have passed.
    EngineStart start(int32_t hashKB, EngineCallbacks* callbacks,
                      uint32_t answerLimitMs = platform::INFINITE);
    bool isRunning() const;
    // True from the moment a search is handed to the engine until StartAnalyse returns.
    bool busy() const;

    // Replaces any request the thread has not taken yet: requests coalesce.
    void requestSearch(SearchRequest request);
    // Ends the running search and returns once StartAnalyse has returned, or when it has
    // not within answerLimitMs of the first StopAnalyse. A request the thread has not
    // taken yet is withdrawn.
    StopResult stop(uint32_t answerLimitMs = platform::INFINITE);
    // Stops, asks the thread to end and waits for it; the engine has exited afterwards.
    // False when the search did not stop or the thread did not end within answerLimitMs
    // (each): the thread still runs then.
    bool quit(uint32_t answerLimitMs = platform::INFINITE);
    // Gives up on a thread that did not answer: its pending request is withdrawn, it is
    // asked to end, and whatever its engine still finishes is not reported. Returns at once.
    void abandon();
    // Lets the engine forget earlier searches: at once when no search runs, else before
    // the next one. Nothing when the thread does not run (its engine has exited).
    void clearHashtables();

private:
    void run(int32_t hashKB, EngineCallbacks* callbacks);
    bool hasPendingRequest();
    void search(const SearchRequest& request, bool clearHashFirst);

    const EngineExports& m_engine;
    CEngineReport& m_report;
    MayStart m_mayStart;
    SearchEnded m_searchEnded;

    platform::Event m_quitEvent;
    platform::Event m_searchEvent;
    platform::Event m_reservedEvent;
    platform::Event m_readyEvent;
    platform::Event m_endedEvent;
    platform::Thread m_thread;
    std::atomic<bool> m_abandoned{false};

    mutable std::mutex m_lock; // guards what follows
    std::condition_variable m_idle;
    std::unique_ptr<SearchRequest> m_pending;
    bool m_busy = false;
    bool m_clearHashPending = false;
};
