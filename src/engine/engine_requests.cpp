#include "engine/engine_requests.h"

#include "platform/kernel/event.h"

EngineRequest waitForRequest(platform::Event* const (&events)[ENGINE_REQUEST_COUNT]) {
    int first = platform::waitForAny(events, ENGINE_REQUEST_COUNT, platform::INFINITE);
    for (;;) {
        const int pending = platform::waitForAny(events, ENGINE_REQUEST_COUNT, 0);
        if (pending == platform::WAIT_TIMEOUT) break;
        if (pending == int(EngineRequest::quit)) first = pending;
    }
    return EngineRequest(first);
}
