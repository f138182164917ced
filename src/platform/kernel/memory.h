#pragma once

#include <cstdint>

namespace platform {

// Physical memory the system could hand out now, in bytes (0 when unknown).
uint64_t freePhysicalMemory();

} // namespace platform
