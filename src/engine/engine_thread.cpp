#include "engine/engine_thread.h"

#include <cassert>
#include <chrono>

#include "engine/engine_report.h"
#include "platform/kernel/clock.h"

namespace {

// How often the thread looks whether an animation has ended, and how often a stop
// repeats StopAnalyse: a stop sent just before StartAnalyse began would be forgotten.
constexpr uint32_t ANIMATION_POLL_MS = 30;
constexpr auto STOP_REPEAT = std::chrono::milliseconds(10);

} // namespace

CEngineThread::CEngineThread(const EngineExports& engine, CEngineReport& report, MayStart mayStart,
                             SearchEnded searchEnded)
    : m_engine(engine), m_report(report), m_mayStart(std::move(mayStart)),
      m_searchEnded(std::move(searchEnded)) {}

CEngineThread::~CEngineThread() {
    quit();
}

EngineStart CEngineThread::start(int32_t hashKB, EngineCallbacks* callbacks,
                                 uint32_t answerLimitMs) {
    assert(m_engine.startEngine && m_engine.startAnalyse && m_engine.exitEngine);
    if (m_thread.isRunning() || m_abandoned) return EngineStart::notCreated;
    m_thread.join(); // a thread that ended on its own leaves its handle to collect
    m_quitEvent.reset();
    m_readyEvent.reset();
    m_endedEvent.reset();
    if (!m_thread.start([this, hashKB, callbacks] { run(hashKB, callbacks); })) {
        return EngineStart::notCreated;
    }
    return m_readyEvent.wait(answerLimitMs) ? EngineStart::started : EngineStart::noAnswer;
}

bool CEngineThread::isRunning() const {
    return m_thread.isRunning();
}

bool CEngineThread::busy() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_busy;
}

void CEngineThread::requestSearch(SearchRequest request) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pending = std::make_unique<SearchRequest>(std::move(request));
    }
    m_searchEvent.set();
}

StopResult CEngineThread::stop(uint32_t answerLimitMs) {
    std::unique_lock<std::mutex> lock(m_lock);
    StopResult result;
    if (m_pending) {
        result.withdrawn = m_pending->serial;
        m_pending.reset();
    }
    const uint32_t firstStop = platform::tickCount();
    while (m_busy) {
        if (answerLimitMs != platform::INFINITE &&
            platform::tickCount() - firstStop >= answerLimitMs) {
            result.stopped = false;
            break;
        }
        lock.unlock();
        m_engine.stopAnalyse();
        lock.lock();
        m_idle.wait_for(lock, STOP_REPEAT, [this] { return !m_busy; });
    }
    return result;
}

bool CEngineThread::quit(uint32_t answerLimitMs) {
    if (!m_thread.isRunning()) {
        m_thread.join();
        return true;
    }
    if (!stop(answerLimitMs).stopped) return false;
    m_quitEvent.set();
    if (!m_endedEvent.wait(answerLimitMs)) return false;
    m_thread.join();
    return true;
}

void CEngineThread::abandon() {
    m_abandoned = true;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pending.reset();
    }
    m_quitEvent.set();
}

void CEngineThread::clearHashtables() {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_thread.isRunning()) return;
    if (m_busy) {
        m_clearHashPending = true;
        return;
    }
    // The thread needs this lock to start a search, so the engine is idle throughout.
    m_engine.clearHashtables();
}

bool CEngineThread::hasPendingRequest() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pending != nullptr;
}

void CEngineThread::run(int32_t hashKB, EngineCallbacks* callbacks) {
    platform::Thread::setCurrentPriority(platform::ThreadPriority::idle);
    m_engine.startEngine(hashKB, callbacks);
    m_readyEvent.set();
    platform::Event* const requests[ENGINE_REQUEST_COUNT] = {&m_quitEvent, &m_searchEvent,
                                                             &m_reservedEvent};
    for (;;) {
        if (waitForRequest(requests) == EngineRequest::quit) break;
        // A withdrawn request ends the wait: a stop must never wait for an animation.
        while (hasPendingRequest() && !m_mayStart())
            platform::sleepMs(ANIMATION_POLL_MS);
        std::unique_ptr<SearchRequest> request;
        bool clearHashFirst = false;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (!m_pending) continue;
            request = std::move(m_pending);
            clearHashFirst = m_clearHashPending;
            m_clearHashPending = false;
            m_busy = true;
        }
        search(*request, clearHashFirst);
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_busy = false;
        }
        m_idle.notify_all();
    }
    m_engine.exitEngine();
    m_endedEvent.set();
}

void CEngineThread::search(const SearchRequest& request, bool clearHashFirst) {
    if (clearHashFirst) m_engine.clearHashtables();
    m_engine.setPosition(request.fen.c_str());
    for (const CText& move : request.moves)
        m_engine.enterMove(move.c_str());
    m_engine.setBook(request.book.c_str(), request.bookUse);
    const LevelCalls& level = request.level;
    if (level.sendTimeControl)
        m_engine.setTimeControl(level.movesPerPeriod, level.secondsPerPeriod);
    m_engine.setLevel(level.movesToGo, level.seconds, level.incrementSeconds, level.maxPlies);

    SearchOutcome outcome;
    outcome.serial = request.serial;
    outcome.searchStartTick = platform::tickCount();
    m_report.beginSearch(request.position, request.plyNumber - 1, outcome.searchStartTick);
    m_engine.startAnalyse(0);
    outcome.searchEndTick = platform::tickCount();
    m_report.endSearch(outcome.searchEndTick);
    if (!m_abandoned) m_searchEnded(outcome);
}
