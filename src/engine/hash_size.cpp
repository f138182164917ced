#include "engine/hash_size.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t HASH_SIZES_KB[] = {16384, 8192, 4096, 2048, 1024, 512, 256, 128};
constexpr int32_t SMALLEST_HASH_KB = 64;

} // namespace

int32_t availableKBFrom(uint64_t freePhysicalBytes) {
    const uint64_t kilobytes = freePhysicalBytes / 1024 * 7 / 10;
    return int32_t(std::min<uint64_t>(kilobytes, std::numeric_limits<int32_t>::max()));
}

int32_t fittedHashKB(int32_t configuredKB, int32_t availableKB) {
    if (configuredKB <= availableKB) return configuredKB;
    for (const int32_t size : HASH_SIZES_KB) {
        if (size < availableKB) return size;
    }
    return SMALLEST_HASH_KB;
}
