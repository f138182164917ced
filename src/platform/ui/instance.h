#pragma once
// One running program per root: a second start brings the first one's window to
// the front instead of opening its own, and hands it the files it was given.

#include <string>
#include <vector>

namespace platform {

struct Window;

// True when this process is the only instance; false when another one runs, which
// has then been asked to come to the front and to open the files (absolute paths). A
// file that cannot be handed over is said in a message here. When no lock can be made
// the user is told so, and the answer is true: the program starts anyway.
bool claimSingleInstance(const std::vector<std::string>& files = {});
// From now on a second start brings this window to the front; the files it hands over
// reach the window as dropped files (WM_DROPFILES), one drop each.
void answerOtherInstances(Window* window);
// Removes the lock and the listening pipe: the last step of a run that claimed them.
void releaseSingleInstance();

} // namespace platform
