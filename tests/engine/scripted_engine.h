#pragma once
// The test's handle on the scripted engine module (tests/engines): its script and the
// calls it recorded. The module is opened once more here and never closed, so that its
// record survives the program's loading and unloading of it.

#include <dlfcn.h>
#include <sstream>
#include <string>
#include <vector>

class ScriptedEngine {
public:
    explicit ScriptedEngine(const std::string& folder) {
        m_handle = dlopen((folder + "Tarnwick.pge").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) return;
        m_setScript =
            reinterpret_cast<void (*)(const char*)>(dlsym(m_handle, "ScriptedEngineSetScript"));
        m_calls = reinterpret_cast<int (*)(char*, int)>(dlsym(m_handle, "ScriptedEngineCalls"));
        m_clearCalls = reinterpret_cast<void (*)()>(dlsym(m_handle, "ScriptedEngineClearCalls"));
        m_setFaults = reinterpret_cast<void (*)(int)>(dlsym(m_handle, "ScriptedEngineSetFaults"));
        m_release = reinterpret_cast<void (*)()>(dlsym(m_handle, "ScriptedEngineRelease"));
    }
    ScriptedEngine(const ScriptedEngine&) = delete;
    ScriptedEngine& operator=(const ScriptedEngine&) = delete;

    bool isOpen() const {
        return m_setScript && m_calls && m_clearCalls && m_setFaults && m_release;
    }

    // Steps separated by ";", run by every search (see the module's source).
    void setScript(const std::string& steps) { m_setScript(steps.c_str()); }
    void clearCalls() { m_clearCalls(); }
    // The engine that does not answer: StartEngine hangs, or StopAnalyse is not heeded,
    // until release(). none switches both off.
    enum Fault { none = 0, hangInStart = 1, deafToStop = 2 };
    void setFaults(int faults) { m_setFaults(faults); }
    void release() { m_release(); }

    // The calls so far, one line each; StopAnalyse only when asked for, since a stop
    // repeats it until the search has ended.
    std::vector<std::string> calls(bool withStops = false) const {
        std::string all(size_t(m_calls(nullptr, 0)) + 1, '\0');
        m_calls(&all[0], int(all.size()));
        std::vector<std::string> lines;
        std::istringstream in(all.c_str());
        std::string line;
        while (std::getline(in, line)) {
            if (withStops || line != "StopAnalyse") lines.push_back(line);
        }
        return lines;
    }
    // How many calls begin with prefix.
    int count(const std::string& prefix) const {
        int found = 0;
        for (const std::string& line : calls(true))
            found += line.rfind(prefix, 0) == 0;
        return found;
    }
    // The calls from the last one that begins with prefix on.
    std::vector<std::string> callsFromLast(const std::string& prefix) const {
        const std::vector<std::string> all = calls();
        for (size_t i = all.size(); i-- > 0;) {
            if (all[i].rfind(prefix, 0) == 0) return {all.begin() + long(i), all.end()};
        }
        return {};
    }

private:
    void* m_handle = nullptr;
    void (*m_setScript)(const char*) = nullptr;
    int (*m_calls)(char*, int) = nullptr;
    void (*m_clearCalls)() = nullptr;
    void (*m_setFaults)(int) = nullptr;
    void (*m_release)() = nullptr;
};

// One for the whole test program.
inline ScriptedEngine& scriptedEngine() {
    static ScriptedEngine engine(SCRIPTED_ENGINE_FOLDER);
    return engine;
}
