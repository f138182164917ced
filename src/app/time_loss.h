#pragma once
// The end of a game on the clock, looked for on the status panel's timer.

namespace platform {
struct Window;
}

// In the blitz and tournament levels: when the running clock of the side to move has
// passed zero, the engine stops (its move, if any, is not played), the clock stands at
// what it had run, and the game ends as adjudication records it. Nothing happens while
// a dialog is open (its time is nobody's), and a game already over on the board (a mate,
// a draw) only has its clock stopped.
void checkTimeLoss(platform::Window* window);
