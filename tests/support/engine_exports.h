#pragma once
// Looks every export of a loaded engine module up by name, so that a test names all the
// missing ones at once rather than stopping at the first.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <type_traits>

#include "engine_interface.h"

inline void resolveEngineExports(void* handle, EngineExports& exports) {
    forEachEngineExport(exports, [handle](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
        EXPECT_NE(function, nullptr) << name;
        return true;
    });
}
