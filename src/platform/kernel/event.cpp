#include "platform/kernel/event.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {
namespace {

// One lock for all events: a wait on several events then needs no registration
// with each of them, and the program has only a handful of events.
std::mutex& eventLock() {
    static std::mutex lock;
    return lock;
}

std::condition_variable& eventChanged() {
    static std::condition_variable changed;
    return changed;
}

} // namespace

void Event::set() {
    {
        std::lock_guard<std::mutex> guard(eventLock());
        m_signalled = true;
    }
    eventChanged().notify_all();
}

void Event::reset() {
    std::lock_guard<std::mutex> guard(eventLock());
    m_signalled = false;
}

bool Event::wait(uint32_t timeoutMs) {
    Event* self = this;
    return waitForAny(&self, 1, timeoutMs) == 0;
}

int waitForAny(Event* const* events, int count, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> guard(eventLock());
    int found = WAIT_TIMEOUT;
    auto anySignalled = [&] {
        for (int i = 0; i < count; ++i) {
            if (events[i]->m_signalled) {
                found = i;
                return true;
            }
        }
        return false;
    };
    if (timeoutMs == INFINITE) {
        eventChanged().wait(guard, anySignalled);
    } else if (!eventChanged().wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                        anySignalled)) {
        return WAIT_TIMEOUT;
    }
    events[found]->m_signalled = false;
    return found;
}

} // namespace platform
