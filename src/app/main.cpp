// tallowmere-chess: the program's entry point.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/startup.h"
#include "platform/ui/application.h"

namespace {

const char USAGE[] =
    "Usage: tallowmere-chess [--scale N] [--root DIR]\n"
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
    "  --help      show this text\n";

bool wantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (wantsHelp(argc, argv)) {
        std::fputs(USAGE, stdout);
        return 0;
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
