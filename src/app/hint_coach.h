#pragma once
// The hint, which shows the engine's move for the user without playing it, and the coach,
// which offers to take back a user's move after which the engine's score jumped.

#include "rules/move.h"

namespace platform {
struct Window;
}

// The Hint command: a short search of the current position starts, and the window goes on
// while it runs; a second Hint ends it. Its move is animated on the board when the search
// ends (showHintMove); the game stays as it was.
void showHint(platform::Window* window);
void showHintMove(platform::Window* window, CMove hint);

// Engine's move found, not yet played: true when the user's move was taken back
// instead, after the coach asked.
bool coachCheck(platform::Window* window);
// Engine's move played: its search's score and node are what the next question compares with.
void coachRemember();
