// One running program per user: without a runtime folder each user's lock lies in a folder
// of their own, so another user starts while the first runs; a lock that cannot be made is
// said in a message, and the program starts anyway.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "child_process.h"

#include "../support/temp_folder.h"

namespace {

constexpr unsigned OTHER_USER = 65534;
const char SETPRIV[] = "/usr/bin/setpriv";

// A desktop without XDG_RUNTIME_DIR and without a root: the user's own folders.
std::vector<std::string> userEnvironment(const std::string& home, const std::string& temporary) {
    return {"TALLOWMERE_ROOT=", "XDG_RUNTIME_DIR=", "XDG_CONFIG_HOME=", "HOME=" + home,
            "TMPDIR=" + temporary};
}

ChildRun runAsOtherUser(const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment) {
    const std::string user = std::to_string(OTHER_USER);
    std::vector<std::string> all = {"--reuid=" + user, "--regid=" + user, "--clear-groups",
                                    SHELL_DRIVER};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runChild(SETPRIV, all, "", environment);
}

} // namespace

TEST(SingleInstance, EachUserHasALockOfTheirOwn) {
    if (geteuid() != 0 || access(SETPRIV, X_OK) != 0) {
        GTEST_SKIP() << "a second user needs the superuser and setpriv";
    }
    TempFolder shared, home, otherHome;
    chmod(shared.path().c_str(), 01777);
    ASSERT_EQ(chown(otherHome.path().c_str(), OTHER_USER, OTHER_USER), 0);
    const auto mine = userEnvironment(home.path(), shared.path());
    const std::string lockFolder = shared.path() + "TallowmereChess-" + std::to_string(geteuid());

    {
        RunningChild first(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "stay"}, "", mine);
        ASSERT_TRUE(first.waitForLine("played"));
        const ChildRun other = runAsOtherUser({SCRIPTED_ENGINE_FOLDER, "exit"},
                                              userEnvironment(otherHome.path(), shared.path()));
        EXPECT_EQ(other.exitCode, 0) << "another user's program runs beside the first";
        EXPECT_EQ(other.value("shown"), "") << "with a window of its own";
        EXPECT_EQ(other.value("message"), "?");

        const ChildRun again = runChild(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "exit"}, "", mine);
        EXPECT_EQ(again.exitCode, 255) << "the same user's second start gives way";
        EXPECT_EQ(first.kill(SIGTERM), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(lockFolder + "/TallowmereChess.lock"))
        << "released at exit";

    // Someone else made the folder of this user's name: no lock, but the program starts.
    std::filesystem::remove_all(lockFolder);
    ASSERT_EQ(mkdir(lockFolder.c_str(), 0700), 0);
    ASSERT_EQ(chown(lockFolder.c_str(), OTHER_USER, OTHER_USER), 0);
    const ChildRun refused = runChild(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "exit"}, "", mine);
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.value("shown"), "");
    EXPECT_NE(refused.value("message").find(lockFolder + " belongs to another user"),
              std::string::npos)
        << refused.value("message");
}
