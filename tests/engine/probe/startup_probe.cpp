// The program's start-up with the engine module looked for in the folder given, in a
// process of its own: every message box is printed instead of shown (one line each), and
// the process ends with winMain's exit code. The window opens off-screen. Give it a root
// folder of its own (TALLOWMERE_ROOT).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine_link.h"
#include "app/startup.h"
#include "platform/ui/application.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/window.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string error;
    platform::initApplication(argc, argv, &error);
    if (argc < 2) {
        std::fputs("usage: engine_startup_probe ENGINE_FOLDER/\n", stderr);
        platform::shutdownApplication();
        return 2;
    }
    platform::setMessageBoxHook([](const std::string& text, const std::string& caption, unsigned) {
        std::printf("[%s] %s\n", caption.c_str(), text.c_str());
        return platform::IDOK;
    });
    setEngineFolder(argv[1]);
    // Should it start after all, it ends as soon as its message loop runs.
    platform::postQuitMessage(0);
    const int code = winMain("");
    std::fflush(stdout);
    platform::shutdownApplication();
    return code;
}
