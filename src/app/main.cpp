// tallowmere-chess: the program's entry point.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/engine_choice.h"
#include "app/startup.h"
#include "platform/ui/application.h"

namespace {

const char USAGE[] =
    "Usage: tallowmere-chess [--scale N] [--root DIR] [--engine COMMAND] [FILE]\n"
    "\n"
    "Tallowmere Chess: play chess on the board with the mouse, by dragging a piece\n"
    "or by clicking it and then its destination.\n"
    "\n"
    "Options:\n"
    "  --scale N   show every board pixel as N x N screen pixels (1 to 8); without it\n"
    "              the largest factor that fits the screen is chosen\n"
    "  --root DIR  keep the settings, the documents folder and the single-instance\n"
    "              lock under DIR instead of the user's own folders (also given by\n"
    "              the environment variable TALLOWMERE_ROOT)\n"
    "  --engine COMMAND\n"
    "              play against this UCI engine for this run (a path and its\n"
    "              arguments); the engine chosen in Options is kept\n"
    "  --help      show this text\n"
    "\n"
    "FILE, with or without quotes: an opening book ending in .gbk becomes the book\n"
    "the engine plays from; a game file ending in .pgn opens as Load game opens it\n"
    "(a file of several games shows the list of its games). When the program runs\n"
    "already, its window comes to the front and opens the game file there.\n";

// Qt aborts with a long text when it finds no display; this says it in one line.
bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

bool wantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    }
    return false;
}

// Takes "--engine COMMAND" or "--engine=COMMAND" out of argv; false when its value is
// missing.
bool takeEngineOption(int& argc, char** argv) {
    int kept = 1;
    bool complete = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--engine") {
            if (i + 1 < argc && argv[i + 1][0] != 0) {
                setEngineCommandForRun(argv[++i]);
            } else {
                complete = false;
            }
        } else if (argument.rfind("--engine=", 0) == 0 && argument.size() > 9) {
            setEngineCommandForRun(argument.substr(9));
        } else if (argument == "--engine=") {
            complete = false;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return complete;
}

} // namespace

int main(int argc, char** argv) {
    if (wantsHelp(argc, argv)) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (!hasDisplay()) {
        std::fputs("tallowmere-chess: no display to open the window on "
                   "(neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
                   stderr);
        return 1;
    }
    if (!takeEngineOption(argc, argv)) {
        std::fputs("tallowmere-chess: --engine needs the engine's command\n"
                   "Try 'tallowmere-chess --help'.\n",
                   stderr);
        return 2;
    }
    std::string error;
    if (!platform::initApplication(argc, argv, &error)) {
        std::fprintf(stderr, "tallowmere-chess: %s\nTry 'tallowmere-chess --help'.\n",
                     error.c_str());
        platform::shutdownApplication();
        return 2;
    }
    const int code = winMain(platform::commandLine());
    platform::shutdownApplication();
    return code;
}
