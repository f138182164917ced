#pragma once
// Indexing a large PGN file off the interface thread. The worker has its own reader
// and file and builds entries of its own; it hands them over in batches under a lock
// and tells a window by a posted message, so that the window shows the games indexed
// so far while the rest is read. The game database is never touched by the worker.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "database/game_index_entry.h"
#include "platform/kernel/thread.h"

namespace platform {
struct Window;
}

// Files of at least this many bytes are indexed in the background.
int64_t backgroundIndexSize();
// Tests index small files this way too.
void setBackgroundIndexSize(int64_t bytes);

// Tests hold the worker after a batch it has handed over: hold is called on the worker
// with the games handed over so far and returns when the worker may go on; stopping()
// turns true once the indexing is asked to stop. Null holds nothing.
using IndexHold = std::function<void(size_t games, const std::function<bool()>& stopping)>;
void setIndexHold(IndexHold hold);

class CBackgroundIndex {
public:
    CBackgroundIndex() = default;
    ~CBackgroundIndex(); // stops the worker and waits for it
    CBackgroundIndex(const CBackgroundIndex&) = delete;
    CBackgroundIndex& operator=(const CBackgroundIndex&) = delete;

    // Starts indexing path. The window is posted batchMessage when entries wait to be
    // taken (once until they are), and doneMessage at the end, wParam 1 when the
    // whole file was indexed. False when the file cannot be opened or no thread started.
    bool start(const std::string& path, platform::Window* window, unsigned batchMessage,
               unsigned doneMessage);
    // Moves the entries handed over since the last call to the end of entries.
    void take(std::vector<GameIndexEntry>& entries);
    // How far the worker has read, in thousandths of the file.
    int perMille() const;
    // Asks the worker to stop at its next game and waits for it.
    void stop();

private:
    void scan(platform::Window* window, unsigned batchMessage, unsigned doneMessage);
    void handOver(std::vector<GameIndexEntry>& batch, size_t games, platform::Window* window,
                  unsigned batchMessage);

    std::string m_path;
    int64_t m_size = 0;
    std::atomic<int64_t> m_position{0};
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_posted{false}; // a batch message is on its way
    std::mutex m_lock;                 // guards the three below
    std::vector<GameIndexEntry> m_handed;
    size_t m_handedGames = 0;
    int64_t m_handedPosition = 0;
    platform::Thread m_worker;
};
