/*
 * The engine module's exported interface, shared by the module and the program's loader.
 * Plain C so that either side may be built by any compiler; nothing else from the program
 * is included. Strings are 8-bit and NUL-terminated; integers are 32-bit signed.
 *
 * Move text: from-file, from-rank, to-file, to-rank, then a promotion letter if any
 * ("e2e4", "e7e8q"). Scores are centipawns for the side to move; a mate in p plies is
 * ENGINE_MATE_SCORE - p, being mated in p plies is -(ENGINE_MATE_SCORE - p).
 */
#ifndef TALLOWMERE_ENGINE_INTERFACE_H
#define TALLOWMERE_ENGINE_INTERFACE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ENGINE_MODULE_FILE_NAME "Tarnwick.pge"
/* The module beside it that plays through an external UCI engine. */
#define UCI_BRIDGE_MODULE_FILE_NAME "UciBridge.pge"
#define ENGINE_MATE_SCORE 30000
/* Scores beyond this are mate scores. */
#define ENGINE_MATE_THRESHOLD 28000
/* SetLevel's seconds meaning "no time limit": maxPlies alone ends the search. */
#define ENGINE_NO_TIME_LIMIT 999999
#define ENGINE_INTERFACE_VERSION 1

/* Called on the engine thread during StartAnalyse; they should only store what they get. */
typedef void (*EngineNodesCallback)(uint32_t nodesLow, uint32_t nodesHigh);
typedef void (*EngineDepthCallback)(int32_t depth, int32_t selectiveDepth);
typedef void (*EngineCurrentMoveCallback)(const char* move, int32_t index, int32_t count);
typedef void (*EnginePrincipalVariationCallback)(const char* pv, int32_t score);
typedef void (*EngineExtraCallback)(int32_t value);
/* onExtra's value when the module can no longer search (its engine died, hung or broke the
 * protocol); that search reported no move, and so will every later one. */
#define ENGINE_EXTRA_FAILED 1

typedef struct EngineCallbacks {
    int32_t reserved; /* always 0 */
    EngineNodesCallback onNodes;
    EngineDepthCallback onDepth;
    EngineCurrentMoveCallback onCurrentMove;
    EnginePrincipalVariationCallback onPrincipalVariation;
    EngineExtraCallback onExtra;
} EngineCallbacks;

/* The fifteen exports, resolved by these names. */
typedef void (*StartEngineFn)(int32_t hashKB, EngineCallbacks* callbacks);
typedef void (*ExitEngineFn)(void);
typedef void (*StartAnalyseFn)(int32_t mode);
typedef void (*StopAnalyseFn)(void);
typedef void (*SetPositionFn)(const char* fen);
typedef void (*EnterMoveFn)(const char* move);
typedef void (*SetBookFn)(const char* path, int32_t use);
typedef void (*SetLevelFn)(int32_t movesToGo, int32_t seconds, int32_t incrementSeconds,
                           int32_t maxPlies);
typedef void (*SetTimeControlFn)(int32_t movesPerPeriod, int32_t secondsPerPeriod);
typedef void (*ClearHashtablesFn)(void);
typedef const char* (*GetEngineNameFn)(void);
typedef void (*SetPonderOffFn)(void);
/* Names of the parameters SetParameter knows, separated by blanks. */
typedef const char* (*GetParameterListFn)(void);
/* Returns 1 when the parameter was known and its value accepted, else 0. */
typedef int32_t (*SetParameterFn)(const char* name, const char* value);
typedef int32_t (*GetInterfaceVersionFn)(void);

#ifdef __cplusplus
}

/* For callers in C++: the fifteen exports as one record, and a walk over its slots in the
 * order above with each export's name, so that every loader resolves them alike. */
struct EngineExports {
    StartEngineFn startEngine = nullptr;
    ExitEngineFn exitEngine = nullptr;
    StartAnalyseFn startAnalyse = nullptr;
    StopAnalyseFn stopAnalyse = nullptr;
    SetPositionFn setPosition = nullptr;
    EnterMoveFn enterMove = nullptr;
    SetBookFn setBook = nullptr;
    SetLevelFn setLevel = nullptr;
    SetTimeControlFn setTimeControl = nullptr;
    ClearHashtablesFn clearHashtables = nullptr;
    GetEngineNameFn getEngineName = nullptr;
    SetPonderOffFn setPonderOff = nullptr;
    GetParameterListFn getParameterList = nullptr;
    SetParameterFn setParameter = nullptr;
    GetInterfaceVersionFn getInterfaceVersion = nullptr;
};

/* Calls visit(slot, name) for each export in turn; stops at the first that returns false. */
template <typename Visit> bool forEachEngineExport(EngineExports& e, Visit&& visit) {
    return visit(e.startEngine, "StartEngine") && visit(e.exitEngine, "ExitEngine") &&
           visit(e.startAnalyse, "StartAnalyse") && visit(e.stopAnalyse, "StopAnalyse") &&
           visit(e.setPosition, "SetPosition") && visit(e.enterMove, "EnterMove") &&
           visit(e.setBook, "SetBook") && visit(e.setLevel, "SetLevel") &&
           visit(e.setTimeControl, "SetTimeControl") &&
           visit(e.clearHashtables, "ClearHashtables") && visit(e.getEngineName, "GetEngineName") &&
           visit(e.setPonderOff, "SetPonderOff") && visit(e.getParameterList, "GetParameterList") &&
           visit(e.setParameter, "SetParameter") &&
           visit(e.getInterfaceVersion, "GetInterfaceVersion");
}
#endif

#endif
