#pragma once
// The ends that come from outside the window: SIGTERM, SIGHUP and SIGINT, and the end
// of the desktop session. Each reaches the program as a command, so that it keeps the
// game and the settings as its own Exit does.

namespace platform {

struct Window;

// From now on the first such end sends window WM_COMMAND with commandId, after any
// modal dialog has been cancelled; a second signal ends the process at once.
void deliverTerminationAs(Window* window, int commandId);
// What the session manager's request to save runs: the command, sent before the
// request returns. Tests call it as the session manager would.
void sessionEnds();

} // namespace platform
