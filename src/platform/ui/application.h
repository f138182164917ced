#pragma once
// The interface thread's application: created once before any window, with the
// layer's own command-line options taken out.

#include <string>
#include <vector>

namespace platform {

struct Window;
struct Accelerators;

// Creates the application and applies "--scale N" and "--root DIR" (also written
// "--scale=N", "--root=DIR"), removing them from argv. False with *error set when
// they are malformed; the application exists either way.
bool initApplication(int& argc, char** argv, std::string* error);
// Closes every window and ends the application; the last call before leaving main.
void shutdownApplication();
// The remaining arguments, each enclosed in double quotes, separated by blanks:
// the handheld's command line.
std::string commandLine();
// Runs until postQuitMessage; keys of the table go to the window as WM_COMMAND.
int runMessageLoop(Window* window, Accelerators* accelerators);
// Lets queued messages, timers and paints run for about the given time (waits and tests).
void processMessages(int milliseconds);

} // namespace platform
