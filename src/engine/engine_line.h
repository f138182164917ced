#pragma once
// The engine's move texts ("e2e4", "e7e8q") read as moves, and its lines written as the
// status panel shows them: "12.Nf3 Nf6 13.e4", or "12..Nf6 13.e4" from a black move.

#include <cstdint>

#include "base/text.h"
#include "rules/move.h"

class CPosition;

// The legal move of the side to move that text names: leading blanks are skipped, then
// from-square, to-square and a promotion letter of either case (a target on rank 1 makes
// it the black piece). NO_MOVE for text shorter than four characters or no such move.
CMove engineMove(CPosition& position, const char* text);

// The engine's line cut after its last whole move that ends within maxLength characters.
CText boundedLine(const char* line, uint32_t maxLength);

// The moves of line that convert, one after the other from position, in SAN with their
// move numbers; firstPly is the ply of the line's first move (0 for White's first move
// of the game). A "!" or "?" ending the engine's text ends the result too. At most
// maxLength characters: a move that would not fit ends the text. position is as it was
// afterwards.
CText numberedSanLine(CPosition& position, int32_t firstPly, const char* line, uint32_t maxLength);
