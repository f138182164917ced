#pragma once
// Moves as people write them: standard algebraic notation out, SAN and the
// looser forms other programs write back in.

#include <cstdint>

#include "base/text.h"
#include "rules/move.h"

class CPosition;

// Size of the buffer normalizeMoveText writes: a key of at most 19 characters.
constexpr int MOVE_KEY_SIZE = 20;

// SAN of a legal move of the side to move (not NULL_MOVE). `list` (may be null)
// holds the candidates for disambiguation; forceRank/forceFile, when either is
// set, decide exactly which origin parts are written.
CText sanText(CPosition& position, CMove move, bool withSuffix, const CMove* list = nullptr,
              int listCount = 0, bool forceRank = false, bool forceFile = false);

// The legal move the text means for the side to move, or NO_MOVE.
CMove parseSan(CPosition& position, const char* text);

// The canonical key used to compare move texts; buffer of MOVE_KEY_SIZE bytes.
void normalizeMoveText(const char* text, char* buffer);
