// Ends from outside the window: each signal and the desktop session's end keep the game
// in the ring and write the options and the levels, as Exit does, also with a dialog open.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_root.h"

namespace {

const std::vector<std::string> TWO_MOVES = {"e2-e4:e7e5", "g1-f3:b8c6"};
const char TWO_MOVES_SAN[] = "e4 e5 Nf3 Nc6";

std::vector<std::string> driverArguments(const std::string& ending) {
    std::vector<std::string> arguments = {SCRIPTED_ENGINE_FOLDER, ending};
    arguments.insert(arguments.end(), TWO_MOVES.begin(), TWO_MOVES.end());
    return arguments;
}

// What the next start shows: the ring's game, the flip option, the level.
void expectKept(const TempRoot& root, const std::string& what) {
    const ChildRun next = runChild(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "none"}, root.path);
    EXPECT_EQ(next.value("shown"), TWO_MOVES_SAN) << what;
    EXPECT_EQ(next.value("flipped"), "1") << what;
    EXPECT_EQ(next.value("level"), "Level Beginner") << what;
}

} // namespace

TEST(Termination, EachSignalKeepsTheGameAndTheSettings) {
    struct Case {
        const char* what;
        const char* ending;
        int signal;
    };
    const Case cases[] = {
        {"SIGTERM", "stay", SIGTERM},
        {"SIGHUP", "stay", SIGHUP},
        {"SIGINT", "stay", SIGINT},
        {"SIGTERM over the About box", "dialog", SIGTERM},
    };
    for (const Case& c : cases) {
        TempRoot root;
        RunningChild child(SHELL_DRIVER, driverArguments(c.ending), root.path);
        ASSERT_TRUE(child.waitForLine(c.ending == std::string("dialog") ? "dialog open" : "played"))
            << c.what;
        EXPECT_EQ(child.kill(c.signal), 0) << c.what << ": ends as Exit does";
        expectKept(root, c.what);
    }
}

TEST(Termination, TheSessionsEndKeepsTheGameAndTheSettings) {
    TempRoot root;
    const ChildRun run = runChild(SHELL_DRIVER, driverArguments("session"), root.path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.value("played"), TWO_MOVES_SAN);
    expectKept(root, "session end");
}
