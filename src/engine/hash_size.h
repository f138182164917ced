#pragma once
// The engine's hash table is sized from the memory free when its thread starts: the
// size asked for is kept while it fits, and otherwise lowered for good.

#include <cstdint>

// What the engine may take of freePhysicalBytes: seven tenths, in kilobytes.
int32_t availableKBFrom(uint64_t freePhysicalBytes);
// configuredKB while it does not exceed availableKB; else the largest of 16384, 8192,
// ..., 128 strictly below availableKB, or 64 when availableKB is 128 or less.
int32_t fittedHashKB(int32_t configuredKB, int32_t availableKB);
