// The main of every suite that opens windows: Qt must know it runs off-screen before the
// application exists. A suite that defines MAIN_ENGINE_FOLDER has the program load the
// engine module from there instead of from beside the executable.
#include "platform/ui/application.h"

#ifdef MAIN_ENGINE_FOLDER
#include "app/engine_link.h"
#endif

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/tallowmere-test-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    std::string error;
    platform::initApplication(argc, argv, &error);
#ifdef MAIN_ENGINE_FOLDER
    setEngineFolder(MAIN_ENGINE_FOLDER);
#endif
    const int failed = RUN_ALL_TESTS();
    platform::shutdownApplication();
    return failed;
}
