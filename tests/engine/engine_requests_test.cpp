// The engine thread's request rule: requests coalesce, and quit wins.
#include <gtest/gtest.h>

#include "engine/engine_requests.h"
#include "platform/kernel/event.h"

namespace {

struct Requests {
    platform::Event quit, search, reserved;
    platform::Event* const all[ENGINE_REQUEST_COUNT] = {&quit, &search, &reserved};
    bool anyLeft() { return platform::waitForAny(all, ENGINE_REQUEST_COUNT, 0) >= 0; }
};

} // namespace

TEST(EngineRequests, PendingRequestsGiveOneAnswerAndAreAllConsumed) {
    struct Case {
        const char* what;
        bool quit, search, reserved;
        EngineRequest answer;
    };
    const Case cases[] = {
        {"one search", false, true, false, EngineRequest::search},
        {"quit alone", true, false, false, EngineRequest::quit},
        {"quit among searches", true, true, false, EngineRequest::quit},
        {"quit and the reserved event", true, false, true, EngineRequest::quit},
        {"all three", true, true, true, EngineRequest::quit},
        {"search and the reserved event", false, true, true, EngineRequest::search},
    };
    for (const Case& c : cases) {
        Requests requests;
        if (c.search) requests.search.set();
        if (c.reserved) requests.reserved.set();
        if (c.quit) requests.quit.set();
        EXPECT_EQ(waitForRequest(requests.all), c.answer) << c.what;
        EXPECT_FALSE(requests.anyLeft()) << c.what;
    }
}

TEST(EngineRequests, TwoSearchRequestsBeforeTheWaitAreOne) {
    Requests requests;
    requests.search.set();
    requests.search.set();
    EXPECT_EQ(waitForRequest(requests.all), EngineRequest::search);
    EXPECT_FALSE(requests.anyLeft()) << "the second request is the first";
}
