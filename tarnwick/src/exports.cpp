// The fifteen exports. Each one is a thin shell over the engine: no exception may cross
// into the program, so each catches everything and fails quietly.
#include "engine.h"

#include <memory>

#define TARNWICK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

tarnwick::Engine& engine() {
    static tarnwick::Engine instance;
    return instance;
}

template <typename F> void guarded(F&& f) {
    try {
        f();
    } catch (...) {}
}

} // namespace

TARNWICK_EXPORT void StartEngine(int32_t hashKB, EngineCallbacks* callbacks) {
    guarded([&] { engine().start(hashKB, callbacks); });
}

TARNWICK_EXPORT void ExitEngine(void) {
    guarded([] { engine().exit(); });
}

TARNWICK_EXPORT void StartAnalyse(int32_t) {
    guarded([] { engine().analyse(); });
}

TARNWICK_EXPORT void StopAnalyse(void) {
    engine().stop();
}

TARNWICK_EXPORT void SetPosition(const char* fen) {
    guarded([&] { engine().setPosition(fen); });
}

TARNWICK_EXPORT void EnterMove(const char* move) {
    guarded([&] { engine().enterMove(move); });
}

TARNWICK_EXPORT void SetBook(const char* path, int32_t use) {
    guarded([&] { engine().setBook(path, use); });
}

TARNWICK_EXPORT void SetLevel(int32_t movesToGo, int32_t seconds, int32_t incrementSeconds,
                              int32_t maxPlies) {
    engine().setLevel(movesToGo, seconds, incrementSeconds, maxPlies);
}

TARNWICK_EXPORT void SetTimeControl(int32_t movesPerPeriod, int32_t secondsPerPeriod) {
    engine().setTimeControl(movesPerPeriod, secondsPerPeriod);
}

TARNWICK_EXPORT void ClearHashtables(void) {
    guarded([] { engine().clearHashtables(); });
}

TARNWICK_EXPORT const char* GetEngineName(void) {
    return "Tarnwick 1.0";
}

TARNWICK_EXPORT void SetPonderOff(void) {}

TARNWICK_EXPORT const char* GetParameterList(void) {
    return "RemainingMs IncrementMs NodeLimit MoveOverheadMs UseNNUE EvalFile";
}

TARNWICK_EXPORT int32_t SetParameter(const char* name, const char* value) {
    bool accepted = false;
    guarded([&] { accepted = engine().setParameter(name, value); });
    return accepted ? 1 : 0;
}

TARNWICK_EXPORT int32_t GetInterfaceVersion(void) {
    return ENGINE_INTERFACE_VERSION;
}

// The exports must keep the shapes the program's loader casts them to.
static_assert(std::is_same_v<decltype(&StartEngine), StartEngineFn>);
static_assert(std::is_same_v<decltype(&ExitEngine), ExitEngineFn>);
static_assert(std::is_same_v<decltype(&StartAnalyse), StartAnalyseFn>);
static_assert(std::is_same_v<decltype(&StopAnalyse), StopAnalyseFn>);
static_assert(std::is_same_v<decltype(&SetPosition), SetPositionFn>);
static_assert(std::is_same_v<decltype(&EnterMove), EnterMoveFn>);
static_assert(std::is_same_v<decltype(&SetBook), SetBookFn>);
static_assert(std::is_same_v<decltype(&SetLevel), SetLevelFn>);
static_assert(std::is_same_v<decltype(&SetTimeControl), SetTimeControlFn>);
static_assert(std::is_same_v<decltype(&ClearHashtables), ClearHashtablesFn>);
static_assert(std::is_same_v<decltype(&GetEngineName), GetEngineNameFn>);
static_assert(std::is_same_v<decltype(&SetPonderOff), SetPonderOffFn>);
static_assert(std::is_same_v<decltype(&GetParameterList), GetParameterListFn>);
static_assert(std::is_same_v<decltype(&SetParameter), SetParameterFn>);
static_assert(std::is_same_v<decltype(&GetInterfaceVersion), GetInterfaceVersionFn>);
