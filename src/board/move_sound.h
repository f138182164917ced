#pragma once
// The move sounds: "move1.wav" to "move4.wav" beside the executable.

#include "rules/move.h"

// 1 for a quiet pawn, knight or bishop move; 2 for any other move without capture;
// 3 for the capture of a pawn, knight or bishop, and a rook taking a rook; 4 for
// every other capture.
int moveSoundNumber(CMove move);
// Plays the move's sound when the sound option is on; an off-board move (NO_MOVE)
// sounds the desktop's default sound.
void playMoveSound(CMove move);
