#pragma once
// The user's clock on the application state (its states: engine/think_time.h), with the
// tick count of now.

// The user may move from now: a new game, a game taken over, a navigation step, the end
// of the engine's move.
void startUsersClock();
// Around a dialog or a message box: its time is nobody's.
void pauseUsersClock();
void resumeUsersClock();
