#include "platform/kernel/module.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace platform {

Module::~Module() {
    unload();
}

bool Module::load(const std::string& path) {
    unload();
    // A bare name would be searched like a system library; only a real path loads the file meant.
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) {
        m_error = "cannot find " + path;
        return false;
    }
    m_handle = dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = dlerror();
        m_error = reason ? reason : "cannot load " + path;
        return false;
    }
    m_error.clear();
    return true;
}

void Module::unload() {
    if (m_handle) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* Module::symbol(const char* name) {
    if (!m_handle) {
        m_error = "no module loaded";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(m_handle, name);
    if (!address) {
        const char* reason = dlerror();
        m_error = reason ? reason : std::string("no export ") + name;
    }
    return address;
}

} // namespace platform
