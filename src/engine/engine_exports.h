#pragma once
// The fifteen exports of a loaded engine module, in the order they are resolved.
// Null until a module is loaded; a module missing any of them is not used at all.

#include "engine/engine_interface.h"

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
