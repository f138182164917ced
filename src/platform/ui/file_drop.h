#pragma once
// Files dropped onto a window from the desktop. They reach the window procedure as
// WM_DROPFILES, whose wParam is the drop: the procedure asks it for the paths while it
// handles the message; the drop is freed once the procedure returns.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Window;
struct Drop;

// The number the desktop program of old gave the message.
constexpr unsigned WM_DROPFILES = 0x0233;

// From now on files dropped onto the window's client area are posted to it as
// WM_DROPFILES; other things dropped (text, web addresses) are not taken.
void dragAcceptFiles(Window* window);
// Posts WM_DROPFILES for these paths as a drop does, for files that come to the window
// another way (a second start hands its file over so).
void postDroppedFiles(Window* window, std::vector<std::string> paths);

inline Drop* dropOf(uintptr_t wParam) {
    return reinterpret_cast<Drop*>(wParam);
}
int dragQueryFileCount(const Drop* drop);
// The path of file index of the drop as the file system names it; empty past the last.
std::string dragQueryFile(const Drop* drop, int index);

} // namespace platform
