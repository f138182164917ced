#pragma once
// The help viewer: the program's help file in a window of its own.

#include <functional>
#include <string>

namespace platform {

// request is "TallowmereChess.htm#Anchor"; the viewer opens scrolled to the anchor.
// False when the file is not among the program's resources, and when the file has no
// such anchor (the viewer then opens at the file's start).
bool showHelp(const char* request);
// The request the viewer shows now, or empty when it is closed.
std::string helpShown();

using HelpHook = std::function<void(const std::string& request)>;
// While set, requests go to the hook and no viewer opens.
void setHelpHook(HelpHook hook);

} // namespace platform
