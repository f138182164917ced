#pragma once
// A dynamically loaded module (the engine) and the lookup of its exports by name.

#include <string>

namespace platform {

class Module {
public:
    Module() = default;
    ~Module(); // unloads; every thread running the module's code must have ended
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // False with errorText() set when the file is missing or is no loadable module.
    bool load(const std::string& path);
    void unload();
    bool isLoaded() const { return m_handle != nullptr; }
    // Null (with errorText() set) when the module has no export of that name.
    void* symbol(const char* name);
    const std::string& errorText() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace platform
