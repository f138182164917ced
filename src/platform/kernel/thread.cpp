#include "platform/kernel/thread.h"

#include <atomic>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {

struct Thread::State {
    std::thread thread;
    std::atomic<bool> running{false};
};

Thread::Thread() : m_state(std::make_unique<State>()) {}

Thread::~Thread() {
    join();
}

bool Thread::start(std::function<void()> body) {
    if (m_state->thread.joinable()) {
        return false;
    }
    m_state->running = true;
    try {
        m_state->thread = std::thread([state = m_state.get(), body = std::move(body)] {
            body();
            state->running = false;
        });
    } catch (const std::system_error&) {
        m_state->running = false;
        return false;
    }
    return true;
}

bool Thread::isRunning() const {
    return m_state->running;
}

void Thread::join() {
    if (m_state->thread.joinable()) {
        m_state->thread.join();
    }
}

void Thread::setCurrentPriority(ThreadPriority priority) {
    // Linux threads carry their own nice value: the idle engine thread yields
    // the processor to the interface without any real-time privileges.
    const int niceValue = priority == ThreadPriority::idle ? 19 : 0;
    const auto threadId = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, threadId, niceValue);
}

} // namespace platform
