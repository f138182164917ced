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
    // (which must outlive it), and returns once the engine is ready. False when the
    // thread could not be made or runs already.
    bool start(int32_t hashKB, EngineCallbacks* callbacks);
    bool isRunning() const;
    // True from the moment a search is handed to the engine until StartAnalyse returns.
    bool busy() const;

    // Replaces any request the thread has not taken yet: requests coalesce.
    void requestSearch(SearchRequest request);
    // Ends the running search and returns once StartAnalyse has returned. A request the
    // thread has not taken yet is withdrawn: its serial is returned (else 0).
    uint32_t stop();
    // Stops, asks the thread to end and waits for it; the engine has exited afterwards.
    void quit();
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
    platform::Thread m_thread;

    mutable std::mutex m_lock; // guards what follows
    std::condition_variable m_idle;
    std::unique_ptr<SearchRequest> m_pending;
    bool m_busy = false;
    bool m_clearHashPending = false;
};
