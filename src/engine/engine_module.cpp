#include "engine/engine_module.h"

#include <cerrno>
#include <type_traits>

#include "platform/kernel/files.h"

namespace {

const char STALE_MODULE_FILE_NAME[] = "Tarnwick.dll";
// The bridge's one parameter: the command line of the engine it runs.
const char ENGINE_COMMAND_PARAMETER[] = "EngineCommand";

} // namespace

ModuleLoadResult CEngineModule::load(const std::string& folder, const std::string& engineCommand) {
    unload();
    ModuleLoadResult result;
    result.path =
        folder + (engineCommand.empty() ? ENGINE_MODULE_FILE_NAME : UCI_BRIDGE_MODULE_FILE_NAME);
    if (!m_module.load(result.path)) {
        result.status = ModuleLoad::notLoadable;
        result.errorCode = platform::fileExists(result.path) ? ENOEXEC : ENOENT;
        result.reason = m_module.errorText();
        return result;
    }
    const char* missing = nullptr;
    const bool complete = forEachEngineExport(m_exports, [&](auto& slot, const char* name) {
        void* address = m_module.symbol(name);
        if (!address) {
            missing = name;
            return false;
        }
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
        return true;
    });
    if (!complete) {
        result.status = ModuleLoad::missingExport;
        result.missingExport = missing;
        result.reason = m_module.errorText();
        unload();
        return result;
    }
    if (!engineCommand.empty() &&
        m_exports.setParameter(ENGINE_COMMAND_PARAMETER, engineCommand.c_str()) != 1) {
        result.status = ModuleLoad::engineNotStarted;
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
