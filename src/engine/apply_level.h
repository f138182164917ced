#pragma once
// Before every search of the engine's own move, the level and the clocks become the
// arguments of SetTimeControl and SetLevel.

#include <cstdint>

struct EngineExports;
struct LevelSettings;

// What one search is told. SetTimeControl is sent first, and only when sendTimeControl.
struct LevelCalls {
    bool sendTimeControl = false;
    int32_t movesPerPeriod = 0;
    int32_t secondsPerPeriod = 0;
    int32_t movesToGo = 0;
    int32_t seconds = 0; // negative once the side's time is used up
    int32_t incrementSeconds = 0;
    int32_t maxPlies = 0;
};

// plyNumber: the half-move to be played, 1 at the start (the application state's
// plyNumber). sideToMoveUsedMs: the thinking time the side to move has used in the
// game (its whiteUsedMs or blackUsedMs).
LevelCalls levelCalls(const LevelSettings& level, int32_t plyNumber, uint64_t sideToMoveUsedMs);

// Sends levelCalls to the loaded engine, whose SetLevel and SetTimeControl must be resolved.
void applyLevel(const LevelSettings& level, int32_t plyNumber, uint64_t sideToMoveUsedMs,
                const EngineExports& engine);
