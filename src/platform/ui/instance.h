#pragma once
// One running program per root: a second start brings the first one's window to
// the front instead of opening its own.

namespace platform {

struct Window;

// True when this process is the only instance; false when another one runs, which
// has then been asked to come to the front.
bool claimSingleInstance();
// From now on a second start brings this window to the front.
void answerOtherInstances(Window* window);

} // namespace platform
