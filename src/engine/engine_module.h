#pragma once
// The engine module beside the executable: loaded once at start-up, its fifteen exports
// resolved by name, its name kept. It stays loaded until the program ends; every thread
// running its code must have ended before it is unloaded.

#include <cstdint>
#include <string>

#include "base/text.h"
#include "engine/engine_interface.h"
#include "platform/kernel/module.h"

enum class ModuleLoad {
    loaded,
    notLoadable,      // missing, unreadable or no module at all
    missingExport,    // loaded, but one of the fifteen exports is not there
    engineNotStarted, // the UCI bridge loaded, but the engine it was to run did not start
};

struct ModuleLoadResult {
    ModuleLoad status = ModuleLoad::notLoadable;
    std::string path;
    // notLoadable: the system's error number (ENOENT when there is no file, ENOEXEC
    // when the file is there but does not load).
    int32_t errorCode = 0;
    // missingExport: the first export not found.
    const char* missingExport = nullptr;
    // The system's own words, for a reader who wants to know more.
    std::string reason;
};

class CEngineModule {
public:
    CEngineModule() = default;
    CEngineModule(const CEngineModule&) = delete;
    CEngineModule& operator=(const CEngineModule&) = delete;

    // folder ends with "/". With no engineCommand this is Tarnwick; otherwise the UCI
    // bridge, told to run engineCommand, which must answer as a UCI engine. A module
    // missing an export, or a bridge whose engine did not start, is unloaded again and
    // leaves every export null.
    ModuleLoadResult load(const std::string& folder, const std::string& engineCommand = "");
    void unload();
    bool isLoaded() const { return m_module.isLoaded(); }
    const EngineExports& exports() const { return m_exports; }
    // What GetEngineName answered at loading.
    const CText& name() const { return m_name; }

private:
    platform::Module m_module;
    EngineExports m_exports;
    CText m_name;
};

// A "Tarnwick.dll" left in folder by an older installation is deleted.
void deleteStaleModule(const std::string& folder);
