#include "engine/engine_module.h"

#include <cerrno>
#include <type_traits>

#include "platform/kernel/files.h"

const char* const ENGINE_EXPORT_NAMES[15] = {
    "StartEngine",   "ExitEngine",   "StartAnalyse",     "StopAnalyse",    "SetPosition",
    "EnterMove",     "SetBook",      "SetLevel",         "SetTimeControl", "ClearHashtables",
    "GetEngineName", "SetPonderOff", "GetParameterList", "SetParameter",   "GetInterfaceVersion",
};

namespace {

const char STALE_MODULE_FILE_NAME[] = "Tarnwick.dll";

// The exports' slots in the order of ENGINE_EXPORT_NAMES.
template <typename Visit> bool resolveAll(EngineExports& e, Visit&& visit) {
    return visit(e.startEngine) && visit(e.exitEngine) && visit(e.startAnalyse) &&
           visit(e.stopAnalyse) && visit(e.setPosition) && visit(e.enterMove) && visit(e.setBook) &&
           visit(e.setLevel) && visit(e.setTimeControl) && visit(e.clearHashtables) &&
           visit(e.getEngineName) && visit(e.setPonderOff) && visit(e.getParameterList) &&
           visit(e.setParameter) && visit(e.getInterfaceVersion);
}

} // namespace

ModuleLoadResult CEngineModule::load(const std::string& folder) {
    unload();
    ModuleLoadResult result;
    result.path = folder + ENGINE_MODULE_FILE_NAME;
    if (!m_module.load(result.path)) {
        result.status = ModuleLoad::notLoadable;
        result.errorCode = platform::fileExists(result.path) ? ENOEXEC : ENOENT;
        result.reason = m_module.errorText();
        return result;
    }
    int index = 0;
    const bool complete = resolveAll(m_exports, [&](auto& slot) {
        void* address = m_module.symbol(ENGINE_EXPORT_NAMES[index]);
        if (!address) return false;
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
        ++index;
        return true;
    });
    if (!complete) {
        result.status = ModuleLoad::missingExport;
        result.missingExport = ENGINE_EXPORT_NAMES[index];
        result.reason = m_module.errorText();
        unload();
        return result;
    }
    const char* name = m_exports.getEngineName();
    m_name = name ? name : "";
    result.status = ModuleLoad::loaded;
    return result;
}

void CEngineModule::unload() {
    m_exports = EngineExports();
    m_name = "";
    m_module.unload();
}

void deleteStaleModule(const std::string& folder) {
    const std::string stale = folder + STALE_MODULE_FILE_NAME;
    if (platform::fileExists(stale)) platform::deleteFile(stale);
}
