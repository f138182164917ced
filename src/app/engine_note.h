#pragma once
// What the status panel says about the engine in place of its first line, when there is
// something the user must know: a hint being searched, an engine that does not answer,
// a search that gave no move.

enum class EngineNote {
    none,
    searchingForHint,
    noAnswer, // the program carries on without its engine
    noMove,   // the engine's line was empty or its first move not legal
};
