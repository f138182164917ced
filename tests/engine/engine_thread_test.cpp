// The engine thread with the scripted engine: what the engine is told and in which order,
// how requests coalesce, how stop, quit and the wait for an animation behave, and what the
// callbacks leave in the report. No Qt here: searchEnded only queues the outcome.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine_module.h"
#include "engine/engine_report.h"
#include "engine/engine_thread.h"
#include "engine/level_settings.h"
#include "scripted_engine.h"

namespace {

using Calls = std::vector<std::string>;

// A deadline for a test that would otherwise hang, never a measure of speed.
constexpr auto HANG_LIMIT = std::chrono::seconds(20);

class EngineThreadTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scriptedEngine().isOpen());
        ASSERT_EQ(module.load(SCRIPTED_ENGINE_FOLDER).status, ModuleLoad::loaded);
        scriptedEngine().setScript("");
        scriptedEngine().setFaults(ScriptedEngine::none);
        scriptedEngine().clearCalls();
        callbacks = engineCallbacks();
        thread = std::make_unique<CEngineThread>(
            module.exports(), engineReport, [this] { return !animating.load(); },
            [this](const SearchOutcome& outcome) {
                std::lock_guard<std::mutex> guard(lock);
                outcomes.push_back(outcome.serial);
                changed.notify_all();
            });
    }
    void TearDown() override {
        // A test that left its thread inside a hang lets it out first.
        scriptedEngine().release();
        thread.reset();
        module.unload();
    }

    static SearchRequest request(uint32_t serial, const char* fen = START_FEN) {
        SearchRequest made;
        made.serial = serial;
        made.fen = fen;
        made.position.setFen(fen);
        made.book = "/books/test.gbk";
        made.level.movesToGo = 1;
        made.level.seconds = NO_TIME_LIMIT;
        made.level.maxPlies = 1;
        return made;
    }

    // Waits until count searches have ended; false when they never do.
    bool waitForOutcomes(size_t count) {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, HANG_LIMIT, [&] { return outcomes.size() >= count; });
    }
    std::vector<uint32_t> endedSearches() {
        std::lock_guard<std::mutex> guard(lock);
        return outcomes;
    }
    // Waits until the engine is inside StartAnalyse.
    bool waitUntilSearching() {
        const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
        while (scriptedEngine().count("StartAnalyse") == analysesBefore) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ++analysesBefore;
        return true;
    }
    // Ends a search from outside, the way the engine's own limit would.
    void endSearchUntil(size_t outcomeCount) {
        const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
        while (endedSearches().size() < outcomeCount &&
               std::chrono::steady_clock::now() < deadline) {
            module.exports().stopAnalyse();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // Waits until the thread has ended by itself; false when it never does.
    bool waitUntilEnded() {
        const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
        while (thread->isRunning()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    CEngineModule module;
    EngineCallbacks callbacks{};
    std::atomic<bool> animating{false};
    std::unique_ptr<CEngineThread> thread;
    std::mutex lock;
    std::condition_variable changed;
    std::vector<uint32_t> outcomes;
    int analysesBefore = 0;
};

} // namespace

TEST_F(EngineThreadTest, StartsTheEngineWithItsHashAndExitsItAtQuit) {
    ASSERT_EQ(thread->start(256, &callbacks), EngineStart::started);
    EXPECT_TRUE(thread->isRunning());
    EXPECT_EQ(thread->start(256, &callbacks), EngineStart::notCreated) << "one thread at a time";
    thread->quit();
    EXPECT_FALSE(thread->isRunning());
    EXPECT_EQ(scriptedEngine().calls(), (Calls{"StartEngine 256", "ExitEngine"}));
    ASSERT_EQ(thread->start(128, &callbacks), EngineStart::started)
        << "a thread that ended can start again";
    thread->quit();
    EXPECT_EQ(scriptedEngine().calls(),
              (Calls{"StartEngine 256", "ExitEngine", "StartEngine 128", "ExitEngine"}));
}

TEST_F(EngineThreadTest, ASearchSendsPositionMovesBookAndLevelInOrder) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    SearchRequest asked = request(7);
    asked.moves = {"e2e4", "e7e5"};
    asked.level.sendTimeControl = true;
    asked.level.movesPerPeriod = 1;
    asked.level.secondsPerPeriod = 30;
    asked.level.seconds = 30;
    asked.level.maxPlies = 99;
    thread->requestSearch(asked);
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_EQ(endedSearches(), (std::vector<uint32_t>{7}));
    EXPECT_EQ(scriptedEngine().calls(),
              (Calls{"StartEngine 512", "SetPosition " + std::string(START_FEN), "EnterMove e2e4",
                     "EnterMove e7e5", "SetBook /books/test.gbk 2", "SetTimeControl 1 30",
                     "SetLevel 1 30 0 99", "StartAnalyse 0", "AnalyseEnded"}));
    thread->stop(); // the thread tells of the end a moment before it is idle
    EXPECT_FALSE(thread->busy());
}

TEST_F(EngineThreadTest, TheCallbacksFillTheReportInSanFromThePositionSearched) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    scriptedEngine().setScript(
        "depth 3; nodes 1234; current g1f3 2 20; pv 35 g1f3 b8c6 f1b5; depth 4; current z9z9 3 20");
    SearchRequest asked = request(1);
    asked.moves = {"e2e4", "e7e5"};
    asked.position.makeCoordinateMove("e2e4");
    asked.position.makeCoordinateMove("e7e5");
    asked.plyNumber = 3;
    thread->requestSearch(asked);
    ASSERT_TRUE(waitForOutcomes(1));
    const EngineReport report = engineReport.snapshot();
    EXPECT_EQ(report.depth, 4);
    EXPECT_EQ(report.pvDepth, 3) << "the depth the line came at";
    EXPECT_EQ(report.nodesLow, 1234u);
    EXPECT_EQ(report.score, 35);
    EXPECT_STREQ(report.pvText, "g1f3 b8c6 f1b5");
    EXPECT_STREQ(report.pvSan, "2.Nf3 Nc6 3.Bb5");
    EXPECT_EQ(report.moveIndex, 3);
    EXPECT_EQ(report.moveCount, 20);
    EXPECT_STREQ(report.currentMoveText, "z9z9");
    EXPECT_STREQ(report.currentMoveSan, "z9z9") << "a text that is no move is shown as sent";
    EXPECT_FALSE(report.busy);
    EXPECT_NE(report.searchEndTick - report.searchStartTick, 0xFFFFFFFFu);
}

TEST_F(EngineThreadTest, EachSearchStartsWithoutTheLineOfTheOneBefore) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    scriptedEngine().setScript("pv 10 e2e4");
    thread->requestSearch(request(1));
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_STREQ(engineReport.snapshot().pvText, "e2e4");
    scriptedEngine().setScript("depth 1");
    thread->requestSearch(request(2));
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_STREQ(engineReport.snapshot().pvText, "") << "no line is known of the second search";
}

TEST_F(EngineThreadTest, RequestsMadeWhileTheEngineSearchesGiveOneMoreSearchOfTheLast) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    scriptedEngine().setScript("wait");
    thread->requestSearch(request(1));
    ASSERT_TRUE(waitUntilSearching());
    EXPECT_TRUE(thread->busy());
    scriptedEngine().setScript("");
    thread->requestSearch(request(2, "8/8/8/8/8/8/8/K6k w - - 0 1"));
    thread->requestSearch(request(3, "8/8/8/8/8/8/8/K5k1 w - - 0 1"));
    endSearchUntil(1);
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_EQ(endedSearches(), (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 2);
    EXPECT_EQ(scriptedEngine().callsFromLast("SetPosition").front(),
              "SetPosition 8/8/8/8/8/8/8/K5k1 w - - 0 1");
}

TEST_F(EngineThreadTest, StopReturnsOnceTheSearchHasEnded) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    scriptedEngine().setScript("pv 5 e2e4; wait; pv 9 d2d4");
    thread->requestSearch(request(4));
    ASSERT_TRUE(waitUntilSearching());
    EXPECT_EQ(thread->stop().withdrawn, 0u) << "nothing was waiting to start";
    EXPECT_FALSE(thread->busy());
    EXPECT_EQ(scriptedEngine().calls().back(), "AnalyseEnded");
    EXPECT_GE(scriptedEngine().count("StopAnalyse"), 1);
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_STREQ(engineReport.snapshot().pvText, "d2d4") << "the line the engine ended with";
    EXPECT_EQ(thread->stop().withdrawn, 0u) << "a stop without a search returns at once";
}

TEST_F(EngineThreadTest, NoSearchStartsWhileAMoveIsAnimatedAndStopWithdrawsIt) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    animating = true;
    thread->requestSearch(request(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(scriptedEngine().count("SetPosition"), 0) << "the thread waits for the animation";
    EXPECT_FALSE(thread->busy());
    EXPECT_EQ(thread->stop().withdrawn, 5u) << "the request is withdrawn";
    animating = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(scriptedEngine().count("SetPosition"), 0) << "a withdrawn request never runs";

    animating = true;
    thread->requestSearch(request(6));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    animating = false;
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_EQ(endedSearches(), (std::vector<uint32_t>{6}));
}

TEST_F(EngineThreadTest, QuitAmongPendingRequestsEndsTheThreadWithoutSearchingThem) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    scriptedEngine().setScript("wait");
    thread->requestSearch(request(1));
    ASSERT_TRUE(waitUntilSearching());
    thread->requestSearch(request(2));
    thread->quit();
    EXPECT_FALSE(thread->isRunning());
    EXPECT_EQ(endedSearches(), (std::vector<uint32_t>{1}));
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 1);
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
}

TEST_F(EngineThreadTest, QuitWhileAMoveIsAnimatedDoesNotWaitForTheAnimation) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    animating = true;
    thread->requestSearch(request(1));
    thread->quit();
    EXPECT_FALSE(thread->isRunning());
    EXPECT_EQ(scriptedEngine().count("StartAnalyse"), 0);
}

TEST_F(EngineThreadTest, HashTablesAreClearedAtOnceWhenIdleElseBeforeTheNextSearch) {
    thread->clearHashtables();
    EXPECT_EQ(scriptedEngine().count("ClearHashtables"), 0) << "no engine runs";
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    thread->clearHashtables();
    EXPECT_EQ(scriptedEngine().calls().back(), "ClearHashtables");

    scriptedEngine().setScript("wait");
    thread->requestSearch(request(1));
    ASSERT_TRUE(waitUntilSearching());
    thread->clearHashtables();
    EXPECT_EQ(scriptedEngine().count("ClearHashtables"), 1) << "not while the engine searches";
    scriptedEngine().setScript("");
    thread->stop();
    thread->requestSearch(request(2));
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_EQ(scriptedEngine().callsFromLast("ClearHashtables").at(1).rfind("SetPosition", 0), 0u)
        << "cleared right before the next search";
}

// The limits only have to pass; what is checked is what the thread does then.
constexpr uint32_t SHORT_LIMIT_MS = 200;

TEST_F(EngineThreadTest, AnEngineThatDoesNotStartIsAbandonedAndEndsWhenItReturns) {
    scriptedEngine().setFaults(ScriptedEngine::hangInStart);
    EXPECT_EQ(thread->start(512, &callbacks, SHORT_LIMIT_MS), EngineStart::noAnswer);
    EXPECT_TRUE(thread->isRunning()) << "left inside StartEngine";
    EXPECT_FALSE(thread->quit(SHORT_LIMIT_MS)) << "quit does not wait for it either";
    thread->requestSearch(request(1));
    thread->abandon();
    EXPECT_EQ(thread->start(512, &callbacks), EngineStart::notCreated) << "never again";
    scriptedEngine().release();
    ASSERT_TRUE(waitUntilEnded());
    EXPECT_EQ(scriptedEngine().calls(), (Calls{"StartEngine 512", "ExitEngine"}))
        << "the request withdrawn, the engine exited";
}

TEST_F(EngineThreadTest, ASearchThatDoesNotStopIsAbandonedAndReportsNothing) {
    ASSERT_EQ(thread->start(512, &callbacks), EngineStart::started);
    scriptedEngine().setFaults(ScriptedEngine::deafToStop);
    scriptedEngine().setScript("pv 5 e2e4; wait");
    thread->requestSearch(request(1));
    ASSERT_TRUE(waitUntilSearching());
    const StopResult stopped = thread->stop(SHORT_LIMIT_MS);
    EXPECT_FALSE(stopped.stopped);
    EXPECT_TRUE(thread->busy());
    EXPECT_GE(scriptedEngine().count("StopAnalyse"), 1);
    EXPECT_FALSE(thread->quit(SHORT_LIMIT_MS));
    thread->abandon();
    scriptedEngine().release();
    ASSERT_TRUE(waitUntilEnded());
    EXPECT_TRUE(endedSearches().empty()) << "the search's end is not told";
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
    EXPECT_FALSE(engineReport.snapshot().busy);
}

TEST_F(EngineThreadTest, WithinItsLimitAStopOrQuitIsAsWithout) {
    ASSERT_EQ(thread->start(512, &callbacks, SHORT_LIMIT_MS * 50), EngineStart::started);
    scriptedEngine().setScript("wait");
    thread->requestSearch(request(1));
    ASSERT_TRUE(waitUntilSearching());
    EXPECT_TRUE(thread->stop(SHORT_LIMIT_MS * 50).stopped);
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_TRUE(thread->quit(SHORT_LIMIT_MS * 50));
    EXPECT_FALSE(thread->isRunning());
    EXPECT_EQ(scriptedEngine().calls().back(), "ExitEngine");
}
