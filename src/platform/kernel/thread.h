#pragma once
// A joinable thread with the handheld's priorities (normal or idle).

#include <functional>
#include <memory>

namespace platform {

enum class ThreadPriority { normal, idle };

class Thread {
public:
    Thread();
    ~Thread(); // joins a thread that is still running
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // False when the thread could not be created (or one is already running).
    bool start(std::function<void()> body);
    bool isRunning() const;
    // Only ever called from another thread; waiting on oneself would never end.
    void join();
    // Applies to the calling thread; used by the thread's own body.
    static void setCurrentPriority(ThreadPriority priority);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace platform
