#include "app/background_index.h"

#include <chrono>
#include <istream>
#include <iterator>
#include <memory>

#include "database/database.h"
#include "database/file_system.h"
#include "pgn/pgn_reader.h"
#include "platform/ui/window.h"

namespace {

using Clock = std::chrono::steady_clock;

// The first rows show at once: the first batch goes after this many games or this
// long, whichever comes first; the next ones at the second interval, so that the
// interface thread spends its time on the user and not on messages.
constexpr size_t FIRST_BATCH = 256;
constexpr auto FIRST_WAIT = std::chrono::milliseconds(50);
constexpr auto NEXT_WAIT = std::chrono::milliseconds(100);
// The clock is read once per this many games.
constexpr size_t CLOCK_STEP = 16;

int64_t largeFile = 16 << 20;
IndexHold hold;

} // namespace

int64_t backgroundIndexSize() {
    return largeFile;
}

void setBackgroundIndexSize(int64_t bytes) {
    largeFile = bytes;
}

void setIndexHold(IndexHold newHold) {
    hold = std::move(newHold);
}

CBackgroundIndex::~CBackgroundIndex() {
    stop();
}

bool CBackgroundIndex::start(const std::string& path, platform::Window* window,
                             unsigned batchMessage, unsigned doneMessage) {
    m_path = path;
    std::unique_ptr<std::istream> probe = realFileSystem().openForReading(path.c_str());
    if (!probe || !probe->seekg(0, std::ios_base::end)) return false;
    m_size = int64_t(probe->tellg());
    return m_worker.start(
        [this, window, batchMessage, doneMessage] { scan(window, batchMessage, doneMessage); });
}

void CBackgroundIndex::scan(platform::Window* window, unsigned batchMessage, unsigned doneMessage) {
    CPgnReader reader;
    std::unique_ptr<std::istream> stream = realFileSystem().openForReading(m_path.c_str());
    bool completed = false;
    if (stream) {
        std::vector<GameIndexEntry> batch;
        bool first = true;
        Clock::time_point last = Clock::now();
        size_t indexed = 0;
        completed = indexGames(reader, *stream, batch, [&](int64_t position, size_t games) {
            m_position = position;
            indexed = games;
            if (games % CLOCK_STEP == 0 || (first && games == FIRST_BATCH)) {
                const auto waited = Clock::now() - last;
                if (first ? games >= FIRST_BATCH || waited >= FIRST_WAIT : waited >= NEXT_WAIT) {
                    handOver(batch, games, window, batchMessage);
                    first = false;
                    last = Clock::now();
                }
            }
            return !m_stopping.load();
        });
        handOver(batch, indexed, window, batchMessage);
    }
    platform::postMessage(window, doneMessage, completed ? 1 : 0, 0);
}

void CBackgroundIndex::handOver(std::vector<GameIndexEntry>& batch, size_t games,
                                platform::Window* window, unsigned batchMessage) {
    if (batch.empty()) return;
    {
        const std::lock_guard<std::mutex> locked(m_lock);
        m_handed.insert(m_handed.end(), batch.begin(), batch.end());
        m_handedGames = games;
        m_handedPosition = m_position;
    }
    batch.clear();
    if (!m_posted.exchange(true)) platform::postMessage(window, batchMessage, 0, 0);
    if (hold) hold(games, [this] { return m_stopping.load(); });
}

void CBackgroundIndex::take(std::vector<GameIndexEntry>& entries) {
    const std::lock_guard<std::mutex> locked(m_lock);
    m_posted = false;
    if (m_handed.empty()) return;
    // Room for the whole file at once, estimated from the part read: growing a vector of
    // a million entries step by step would hold the old and the new block at each step.
    // Room reserved and never used costs address space, not memory.
    if (entries.empty() && m_handedPosition > 0 && m_handedPosition < m_size) {
        const double estimate =
            double(m_handedGames) * double(m_size) / double(m_handedPosition) * 1.1 + 64;
        entries.reserve(size_t(estimate));
    }
    entries.insert(entries.end(), m_handed.begin(), m_handed.end());
    m_handed.clear();
}

int CBackgroundIndex::perMille() const {
    return m_size > 0 ? int(m_position.load() * 1000 / m_size) : 1000;
}

void CBackgroundIndex::stop() {
    m_stopping = true;
    if (m_worker.isRunning()) m_worker.join();
}
