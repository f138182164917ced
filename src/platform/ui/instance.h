#pragma once
// One running program per root: a second start brings the first one's window to
// the front instead of opening its own.

namespace platform {

struct Window;

// True when this process is the only instance; false when another one runs, which
// has then been asked to come to the front. When no lock can be made the user is told
// so, and the answer is true: the program starts anyway.
bool claimSingleInstance();
// From now on a second start brings this window to the front.
void answerOtherInstances(Window* window);
// Removes the lock and the listening pipe: the last step of a run that claimed them.
void releaseSingleInstance();

} // namespace platform
