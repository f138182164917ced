// The engine's hash is sized from the memory free when its thread starts.
#include <gtest/gtest.h>

#include "engine/hash_size.h"

TEST(HashSize, KeptWhileItFitsElseTheLargestSizeBelowWhatIsFree) {
    struct Case {
        uint64_t freeBytes;
        int32_t availableKB;
        int32_t configuredKB;
        int32_t hashKB;
    };
    const Case cases[] = {
        {1024 * 1024, 716, 512, 512}, // 1 MB free
        {600 * 1024, 420, 512, 256},
        {180 * 1024, 126, 512, 64},
        {185 * 1024, 129, 512, 128},
        {183 * 1024, 128, 512, 64}, // 128 exactly: no size strictly below it but 64
        {uint64_t(24) << 30, 17616076, 512, 512},
        {uint64_t(64) << 30, 46976204, 65536, 65536},
        {40 * 1024 * 1024, 28672, 65536, 16384},
        {0, 0, 512, 64},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(availableKBFrom(c.freeBytes), c.availableKB) << c.freeBytes << " bytes";
        EXPECT_EQ(fittedHashKB(c.configuredKB, c.availableKB), c.hashKB) << c.freeBytes << " bytes";
    }
}

TEST(HashSize, FreeMemoryBeyondInt32KilobytesIsCappedNotWrapped) {
    EXPECT_EQ(availableKBFrom(~uint64_t(0)), INT32_MAX);
}
