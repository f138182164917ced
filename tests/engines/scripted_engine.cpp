// A stand-in for the engine module that the tests load in place of Tarnwick. It plays no
// chess: each search runs a script of canned reports, and every call is recorded with its
// arguments for the test to read.
//
// A script is a list of steps separated by ";", run by every StartAnalyse:
//   depth D              onDepth(D, D)
//   nodes N              onNodes(N, 0)
//   current MOVE I C     onCurrentMove(MOVE, I, C)
//   pv SCORE MOVE...     onPrincipalVariation("MOVE ...", SCORE); no moves: an empty line
//   sleep MS             waits MS milliseconds, or until StopAnalyse
//   wait                 waits until StopAnalyse
// Two faults can be switched on: StartEngine hangs, or StopAnalyse is not heeded (sleep
// and wait then run their course, wait for good). Either hang lasts until the test
// releases it. A program in a process of its own gets them from the environment
// (SCRIPTED_ENGINE_FAULTS, read by StartEngine). A hang polls instead of waiting on a condition:
// the program may leave the thread inside it when it ends, and a condition still waited on cannot
// be destroyed. The test reaches the controls through the module's extra exports, below the
// fifteen.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine_interface.h"

#define SCRIPTED_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Never destroyed: a thread the program left inside a hang may still hold the lock when
// the process ends.
struct Shared {
    std::mutex lock;
    std::condition_variable stopped;
    std::string calls;
    std::string script;
};
Shared& shared = *new Shared;
std::mutex& lock = shared.lock;
std::condition_variable& stopped = shared.stopped;
std::string& calls = shared.calls;
std::string& script = shared.script;
EngineCallbacks* callbacks = nullptr;
bool stopRequested = false;
// The faults, and the release of every hang; atomics need no destruction at exit.
std::atomic<bool> hangInStart{false};
std::atomic<bool> deafToStop{false};
std::atomic<bool> released{false};

void record(const std::string& call) {
    std::lock_guard<std::mutex> guard(lock);
    calls += call;
    calls += '\n';
}

std::string text(const char* value) {
    return value ? value : "(null)";
}

std::vector<std::string> steps(const std::string& all) {
    std::vector<std::string> result;
    std::string step;
    std::istringstream in(all);
    while (std::getline(in, step, ';'))
        result.push_back(step);
    return result;
}

// Until the test releases the hang, or ms have passed (never when ms is negative).
void hang(int64_t ms) {
    const auto start = std::chrono::steady_clock::now();
    while (!released) {
        if (ms >= 0 && std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(ms))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Waits for up to ms (forever when ms is negative) or until StopAnalyse.
void waitForStop(int64_t ms) {
    if (deafToStop) {
        hang(ms);
        return;
    }
    std::unique_lock<std::mutex> guard(lock);
    if (ms < 0) {
        stopped.wait(guard, [] { return stopRequested; });
    } else {
        stopped.wait_for(guard, std::chrono::milliseconds(ms), [] { return stopRequested; });
    }
}

void runStep(const std::string& step) {
    std::istringstream in(step);
    std::string word;
    if (!(in >> word)) return;
    if (word == "depth") {
        int32_t depth = 0;
        in >> depth;
        if (callbacks && callbacks->onDepth) callbacks->onDepth(depth, depth);
    } else if (word == "nodes") {
        uint32_t nodes = 0;
        in >> nodes;
        if (callbacks && callbacks->onNodes) callbacks->onNodes(nodes, 0);
    } else if (word == "current") {
        std::string move;
        int32_t index = 0, count = 0;
        in >> move >> index >> count;
        if (callbacks && callbacks->onCurrentMove)
            callbacks->onCurrentMove(move.c_str(), index, count);
    } else if (word == "pv") {
        int32_t score = 0;
        in >> score;
        std::string line, move;
        while (in >> move)
            line += (line.empty() ? "" : " ") + move;
        if (callbacks && callbacks->onPrincipalVariation) {
            callbacks->onPrincipalVariation(line.c_str(), score);
        }
    } else if (word == "sleep") {
        int64_t ms = 0;
        in >> ms;
        waitForStop(ms < 0 ? 0 : ms);
    } else if (word == "wait") {
        waitForStop(-1);
    }
}

} // namespace

SCRIPTED_EXPORT void ScriptedEngineSetFaults(int32_t faults);

SCRIPTED_EXPORT void StartEngine(int32_t hashKB, EngineCallbacks* table) {
    if (const char* faults = std::getenv("SCRIPTED_ENGINE_FAULTS"))
        ScriptedEngineSetFaults(std::atoi(faults));
    record("StartEngine " + std::to_string(hashKB) + (table && table->reserved == 0 ? "" : " bad"));
    {
        std::lock_guard<std::mutex> guard(lock);
        callbacks = table;
    }
    if (hangInStart) hang(-1);
}

SCRIPTED_EXPORT void ExitEngine(void) {
    record("ExitEngine");
    std::lock_guard<std::mutex> guard(lock);
    callbacks = nullptr;
}

SCRIPTED_EXPORT void StartAnalyse(int32_t mode) {
    record("StartAnalyse " + std::to_string(mode));
    std::string current;
    {
        std::lock_guard<std::mutex> guard(lock);
        // As a real engine does: a stop sent before the search began is forgotten.
        stopRequested = false;
        current = script;
    }
    for (const std::string& step : steps(current))
        runStep(step);
    record("AnalyseEnded");
}

SCRIPTED_EXPORT void StopAnalyse(void) {
    record("StopAnalyse");
    {
        std::lock_guard<std::mutex> guard(lock);
        stopRequested = true;
    }
    stopped.notify_all();
}

SCRIPTED_EXPORT void SetPosition(const char* fen) {
    record("SetPosition " + text(fen));
}

SCRIPTED_EXPORT void EnterMove(const char* move) {
    record("EnterMove " + text(move));
}

SCRIPTED_EXPORT void SetBook(const char* path, int32_t use) {
    record("SetBook " + text(path) + " " + std::to_string(use));
}

SCRIPTED_EXPORT void SetLevel(int32_t movesToGo, int32_t seconds, int32_t increment,
                              int32_t maxPlies) {
    record("SetLevel " + std::to_string(movesToGo) + " " + std::to_string(seconds) + " " +
           std::to_string(increment) + " " + std::to_string(maxPlies));
}

#ifndef SCRIPTED_ENGINE_WITHOUT_SET_TIME_CONTROL
SCRIPTED_EXPORT void SetTimeControl(int32_t movesPerPeriod, int32_t secondsPerPeriod) {
    record("SetTimeControl " + std::to_string(movesPerPeriod) + " " +
           std::to_string(secondsPerPeriod));
}
#endif

SCRIPTED_EXPORT void ClearHashtables(void) {
    record("ClearHashtables");
}

SCRIPTED_EXPORT const char* GetEngineName(void) {
    return "Scripted 1.0";
}

SCRIPTED_EXPORT void SetPonderOff(void) {}

SCRIPTED_EXPORT const char* GetParameterList(void) {
    return "";
}

SCRIPTED_EXPORT int32_t SetParameter(const char*, const char*) {
    return 0;
}

SCRIPTED_EXPORT int32_t GetInterfaceVersion(void) {
    return ENGINE_INTERFACE_VERSION;
}

// The test's controls.

SCRIPTED_EXPORT void ScriptedEngineSetScript(const char* steps) {
    std::lock_guard<std::mutex> guard(lock);
    script = steps ? steps : "";
}

// Copies the calls so far, one per line, into buffer (cut to size); returns their length.
SCRIPTED_EXPORT int32_t ScriptedEngineCalls(char* buffer, int32_t size) {
    std::lock_guard<std::mutex> guard(lock);
    if (buffer && size > 0) {
        const size_t length = std::min(calls.size(), size_t(size - 1));
        std::memcpy(buffer, calls.data(), length);
        buffer[length] = 0;
    }
    return int32_t(calls.size());
}

SCRIPTED_EXPORT void ScriptedEngineClearCalls(void) {
    std::lock_guard<std::mutex> guard(lock);
    calls.clear();
}

// faults: 1 StartEngine hangs, 2 StopAnalyse is not heeded; 0 none. Hangs already under
// way go on until released.
SCRIPTED_EXPORT void ScriptedEngineSetFaults(int32_t faults) {
    released = false;
    hangInStart = (faults & 1) != 0;
    deafToStop = (faults & 2) != 0;
}

// Ends every hang, now and later, until the faults are set again.
SCRIPTED_EXPORT void ScriptedEngineRelease(void) {
    released = true;
}
