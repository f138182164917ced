// The fifteen exports over the bridge. No exception may cross into the program, so each
// catches everything and fails quietly.
#include "uci_bridge.h"

#include <type_traits>

#define UCI_BRIDGE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Destroyed when the module is unloaded or the program ends, which kills any engine still
// running.
ucibridge::UciBridge& bridge() {
    static ucibridge::UciBridge instance;
    return instance;
}

template <typename F> void guarded(F&& f) {
    try {
        f();
    } catch (...) {}
}

} // namespace

UCI_BRIDGE_EXPORT void StartEngine(int32_t hashKB, EngineCallbacks* callbacks) {
    guarded([&] { bridge().start(hashKB, callbacks); });
}

UCI_BRIDGE_EXPORT void ExitEngine(void) {
    guarded([] { bridge().exit(); });
}

UCI_BRIDGE_EXPORT void StartAnalyse(int32_t) {
    guarded([] { bridge().analyse(); });
}

UCI_BRIDGE_EXPORT void StopAnalyse(void) {
    guarded([] { bridge().stop(); });
}

UCI_BRIDGE_EXPORT void SetPosition(const char* fen) {
    guarded([&] { bridge().setPosition(fen); });
}

UCI_BRIDGE_EXPORT void EnterMove(const char* move) {
    guarded([&] { bridge().enterMove(move); });
}

UCI_BRIDGE_EXPORT void SetBook(const char* path, int32_t use) {
    guarded([&] { bridge().setBook(path, use); });
}

UCI_BRIDGE_EXPORT void SetLevel(int32_t movesToGo, int32_t seconds, int32_t incrementSeconds,
                                int32_t maxPlies) {
    bridge().setLevel(movesToGo, seconds, incrementSeconds, maxPlies);
}

UCI_BRIDGE_EXPORT void SetTimeControl(int32_t movesPerPeriod, int32_t secondsPerPeriod) {
    bridge().setTimeControl(movesPerPeriod, secondsPerPeriod);
}

UCI_BRIDGE_EXPORT void ClearHashtables(void) {
    guarded([] { bridge().clearHashtables(); });
}

UCI_BRIDGE_EXPORT const char* GetEngineName(void) {
    return bridge().name();
}

UCI_BRIDGE_EXPORT void SetPonderOff(void) {}

UCI_BRIDGE_EXPORT const char* GetParameterList(void) {
    return "EngineCommand";
}

UCI_BRIDGE_EXPORT int32_t SetParameter(const char* name, const char* value) {
    bool accepted = false;
    guarded([&] { accepted = bridge().setParameter(name, value); });
    return accepted ? 1 : 0;
}

UCI_BRIDGE_EXPORT int32_t GetInterfaceVersion(void) {
    return ENGINE_INTERFACE_VERSION;
}

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
