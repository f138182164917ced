#pragma once
// The hint, which shows the engine's move for the user without playing it, and the coach,
// which offers to take back a user's move after which the engine's score jumped.

namespace platform {
struct Window;
}

// The Hint command: the interface waits for a short search of the current position, then
// animates its move on the board; the game stays as it was.
void showHint(platform::Window* window);

// Engine's move found, not yet played: true when the user's move was taken back
// instead, after the coach asked.
bool coachCheck(platform::Window* window);
// Engine's move played: its search's score and node are what the next question compares with.
void coachRemember();
