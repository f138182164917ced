#pragma once
// One search as the engine thread is to run it: the position as a start FEN and the
// game's moves, the opening book, the level, and the position they lead to, in which
// the engine's lines are read.

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "engine/apply_level.h"
#include "rules/position.h"

class CGame;
class CMoveNode;
class CSettings;

// SetBook's second argument: the book is used.
constexpr int32_t BOOK_IN_USE = 2;

struct SearchRequest {
    uint32_t serial = 0;      // names the search in what the thread reports back
    CText fen;                // SetPosition
    std::vector<CText> moves; // EnterMove, one by one, in coordinate text
    CText book;               // SetBook, a path of this system
    int32_t bookUse = BOOK_IN_USE;
    LevelCalls level;      // SetTimeControl (when sent) and SetLevel
    CPosition position;    // after the moves
    int32_t plyNumber = 1; // the half-move the engine is to play, 1 at the start
};

// The game up to node (a node of game) as the engine is to see it: the "FEN" tag or
// the normal start, the moves from the root to node, and the book stored under
// "Bookfilename" (the default book when none is). The level is left to the caller.
SearchRequest gameSearchRequest(const CGame& game, const CMoveNode* node, CSettings& settings);
