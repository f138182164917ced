// Moves as UCI writes them, played on Tarnwick's board: shared by the bridge's tests and
// the scripted engine they talk to.
#pragma once

#include "movegen.h"

#include <string>

// Plays text (lower case) if it is a legal move here; false otherwise.
inline bool playMoveText(tarnwick::Position& pos, const std::string& text) {
    tarnwick::MoveList legal;
    tarnwick::generateLegalMoves(pos, legal);
    for (tarnwick::Move m : legal) {
        if (tarnwick::moveToText(m) != text) continue;
        tarnwick::UndoInfo undo;
        pos.makeMove(m, undo);
        return true;
    }
    return false;
}
