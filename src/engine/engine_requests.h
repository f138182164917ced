#pragma once
// What the engine thread is asked to do. Requests are automatic-reset events: asking
// twice before the thread wakes is asking once, and a quit among the requests found
// pending wins over every other.

namespace platform {
class Event;
}

enum class EngineRequest {
    quit = 0,
    search = 1,
    reserved = 2, // never asked for
};
constexpr int ENGINE_REQUEST_COUNT = 3;

// Waits without limit for events[0..2] (quit, search, reserved); the lowest signalled
// one wins. Every request still signalled afterwards is consumed: a quit among them
// makes the answer quit, the others are dropped.
EngineRequest waitForRequest(platform::Event* const (&events)[ENGINE_REQUEST_COUNT]);
