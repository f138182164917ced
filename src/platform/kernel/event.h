#pragma once
// Automatic-reset events: a set event releases exactly one wait and then
// resets itself, so a signal sent while nobody waits is kept until somebody does.

#include <cstdint>

namespace platform {

constexpr uint32_t INFINITE = 0xFFFFFFFFu;
constexpr int WAIT_TIMEOUT = -1;

class Event {
public:
    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    // True when the event was signalled within timeoutMs (INFINITE waits for good).
    bool wait(uint32_t timeoutMs);

private:
    friend int waitForAny(Event* const* events, int count, uint32_t timeoutMs);
    bool m_signalled = false;
};

// The index of the first signalled event (which is reset), or WAIT_TIMEOUT.
int waitForAny(Event* const* events, int count, uint32_t timeoutMs);

} // namespace platform
