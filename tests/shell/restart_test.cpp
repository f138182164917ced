// The whole program across runs, each run a process of its own under the test's root:
// the game, the options and the levels come back after Exit and after the window's close
// button; the autosave ring holds twenty games; a second start leaves the first alone;
// the command line's book and game file; killing a writer never spoils what it wrote.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "child_process.h"
#include "database/database.h"
#include "pgn/pgn_reader.h"
#include "settings/autosave.h"
#include "temp_root.h"

#include "../support/file_text.h"

namespace {

const std::vector<std::string> THREE_MOVES = {"e2-e4:e7e5", "g1-f3:b8c6", "f1-c4:g8f6"};
const char THREE_MOVES_SAN[] = "e4 e5 Nf3 Nc6 Bc4 Nf6";

int countFromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

ChildRun driver(const TempRoot& root, const std::string& ending,
                const std::vector<std::string>& pairs = {}, const std::string& commandLine = "") {
    std::vector<std::string> arguments = {SCRIPTED_ENGINE_FOLDER, ending};
    arguments.insert(arguments.end(), pairs.begin(), pairs.end());
    std::vector<std::string> environment;
    if (!commandLine.empty()) environment.push_back("SHELL_COMMAND_LINE=" + commandLine);
    return runChild(SHELL_DRIVER, arguments, root.path, environment);
}

int ringGames() {
    CPgnReader reader;
    CDatabase database(reader);
    return database.open(autosaveFilePath().c_str()) ? int(database.index().size()) : 0;
}

// The settings file of the root: the one file under it that names the key.
std::string settingsHolding(const std::string& root, const std::string& key) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string text = fileText(entry.path().string());
        if (text.find(key) != std::string::npos) return text;
    }
    return std::string();
}

} // namespace

TEST(Restart, TheGameTheOptionsAndTheLevelsComeBack) {
    for (const char* ending : {"exit", "close"}) {
        TempRoot root;
        const ChildRun first = driver(root, ending, THREE_MOVES);
        EXPECT_EQ(first.exitCode, 0) << ending;
        EXPECT_EQ(first.value("shown"), "") << ending;
        EXPECT_EQ(first.value("played"), THREE_MOVES_SAN) << ending;
        EXPECT_EQ(first.value("failed"), "?") << ending;
        ASSERT_EQ(first.value("code"), "0") << ending;

        const ChildRun second = driver(root, "none");
        EXPECT_EQ(second.value("shown"), THREE_MOVES_SAN) << ending;
        EXPECT_EQ(second.value("flipped"), "1") << ending;
        EXPECT_EQ(second.value("flip button"), "1") << ending;
        EXPECT_EQ(second.value("level"), "Level Beginner") << ending;
    }
}

TEST(Restart, TheRingKeepsTwentyGames) {
    // 25 by hand (SHELL_RESTARTS=25); the suite runs as many as fill the ring and wrap it.
    const int runs = countFromEnvironment("SHELL_RESTARTS", 22);
    TempRoot root;
    ASSERT_EQ(driver(root, "exit", {THREE_MOVES[0]}).exitCode, 0);
    // Each run opens a game of its own: a start and exit without a change adds nothing.
    const std::string games = root.path + "next.pgn";
    for (int run = 1; run < runs; ++run) {
        std::ofstream(games) << "[Event \"run " << run << "\"]\n\n1. e4 e5 *\n";
        const ChildRun next = driver(root, "exit", {}, games);
        ASSERT_EQ(next.exitCode, 0) << "run " << run;
        ASSERT_EQ(next.value("shown"), "e4 e5") << "run " << run;
        EXPECT_EQ(ringGames(), std::min(run + 1, 20)) << "run " << run;
    }
    EXPECT_EQ(ringGames(), 20);
}

TEST(Restart, ASecondStartLeavesTheFirstAlone) {
    TempRoot root;
    ASSERT_EQ(driver(root, "exit", {THREE_MOVES[0]}).exitCode, 0);
    const std::string saved = fileText(autosaveFilePath());
    RunningChild first(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "stay"}, root.path);
    ASSERT_TRUE(first.waitForLine("played"));
    const ChildRun second = runChild(PROGRAM_BINARY, {}, root.path);
    EXPECT_EQ(second.exitCode, 255);
    const ChildRun third = driver(root, "exit", {THREE_MOVES[1]});
    EXPECT_EQ(third.exitCode, 255);
    EXPECT_TRUE(third.lines.empty() || third.value("shown") == "?") << "no window of its own";
    EXPECT_EQ(fileText(autosaveFilePath()), saved) << "nothing else happens";
}

TEST(Restart, TheCommandLinesBook) {
    struct Case {
        const char* what;
        std::string commandLine; // empty: the program's own arguments
        bool stored;
    };
    TempRoot root;
    const std::string book = root.path + "my books/main.gbk";
    const Case cases[] = {
        {"quoted", "\"" + book + "\"", true},
        {"bare, as a shell passes it", book, true},
        {"another ending", "\"" + root.path + "main.bin\"", false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(root.path);
        std::filesystem::create_directories(root.path);
        ASSERT_EQ(driver(root, "exit", {}, c.commandLine).exitCode, 0) << c.what;
        const bool stored =
            settingsHolding(root.path, "Bookfilename").find(book) != std::string::npos;
        EXPECT_EQ(stored, c.stored) << c.what;
    }
    // The program itself, given the path as its argument.
    std::filesystem::remove_all(root.path);
    std::filesystem::create_directories(root.path);
    ASSERT_EQ(
        runChild(PROGRAM_BINARY, {book}, root.path, {"TALLOWMERE_START_REPORT=quit"}).exitCode, 0);
    EXPECT_NE(settingsHolding(root.path, "Bookfilename").find(book), std::string::npos);
}

TEST(Restart, TheCommandLinesGameFileOpensAsLoadGameOpensIt) {
    TempRoot root;
    ASSERT_EQ(driver(root, "exit", {THREE_MOVES[0]}).exitCode, 0);
    const std::string games = root.path + "club games.pgn";
    std::ofstream(games) << "[White \"Ann\"]\n[Black \"Bob\"]\n[Result \"*\"]\n\n1. d4 d5 2. c4 *\n"
                         << "\n[White \"Cy\"]\n[Black \"Di\"]\n[Result \"*\"]\n\n1. c4 *\n";
    const ChildRun opened = driver(root, "exit", {}, games);
    EXPECT_EQ(opened.value("list"), "Games in club games.pgn") << "the list of the file's games";
    EXPECT_EQ(opened.value("shown"), "d4 d5 c4") << "and the first game selected there";
    EXPECT_EQ(opened.value("message"), "?");
    // The old game stays in the ring; the file's first game is the newest.
    EXPECT_EQ(ringGames(), 2);
    EXPECT_EQ(driver(root, "none").value("shown"), "d4 d5 c4");

    const ChildRun missing = driver(root, "none", {}, "\"" + root.path + "gone.pgn\"");
    EXPECT_EQ(missing.value("message"), "Could not open " + root.path + "gone.pgn");
    EXPECT_EQ(missing.value("shown"), "d4 d5 c4") << "the game stays";
}

TEST(Restart, ASecondStartHandsItsGameFileToTheFirst) {
    TempRoot root;
    ASSERT_EQ(driver(root, "exit", {THREE_MOVES[0]}).exitCode, 0);
    const std::string folder = root.path + "Partien f\xC3\xBCr \xC3\x85sa/";
    std::filesystem::create_directories(folder + "started here");
    std::ofstream(folder + "eine Partie.pgn") << "[White \"\xC3\x85sa\"]\n\n1. e4 c5 2. Nf3 *\n";
    std::ofstream(folder + "two.pgn")
        << "[White \"Ann\"]\n\n1. d4 *\n\n[White \"Bob\"]\n\n1. c4 *\n";
    RunningChild first(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "stay"}, root.path);
    ASSERT_TRUE(first.waitForLine("played"));
    const auto secondStart = [&root, &folder](const std::string& commandLine) {
        return runChild(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "exit"}, root.path,
                        {"SHELL_COMMAND_LINE=" + commandLine}, folder + "started here");
    };

    // Named from the second start's own folder, which the first does not share.
    const ChildRun handing = secondStart("\"../eine Partie.pgn\"");
    EXPECT_EQ(handing.exitCode, 255) << "the second start ends once it has handed the file over";
    EXPECT_EQ(handing.value("message"), "?");
    EXPECT_EQ(handing.value("shown"), "?") << "no window of its own";
    std::string line;
    ASSERT_TRUE(first.waitForLine("opened", &line));
    EXPECT_EQ(line, "opened e4 c5 Nf3");

    // Too long to hand over: said by the second start; the first opens nothing.
    const std::string tooLong = folder + std::string(5000, 'x') + ".pgn";
    const ChildRun refused = secondStart(tooLong);
    EXPECT_EQ(refused.exitCode, 255);
    EXPECT_EQ(refused.value("message").rfind("Could not open " + folder + "xxx", 0), 0u)
        << refused.value("message").substr(0, 80);
    EXPECT_NE(refused.value("message").find("longer than"), std::string::npos);

    // A file of several games shows the list in the first, whose Return opens game 1.
    EXPECT_EQ(secondStart(folder + "two.pgn").exitCode, 255);
    ASSERT_TRUE(first.waitForLine("list", &line));
    EXPECT_EQ(line, "list Games in two.pgn");
    ASSERT_TRUE(first.waitForLine("opened", &line));
    EXPECT_EQ(line, "opened d4") << "the next game opened is this one, not the refused file";
    EXPECT_EQ(first.kill(SIGTERM), 0);
}

TEST(CrashSafety, AKilledWriteNeverSpoilsTheRingOrTheOptions) {
    // 50 by hand (SHELL_KILLS=50).
    const int tries = countFromEnvironment("SHELL_KILLS", 8);
    TempRoot root;
    std::mt19937 random(12345);
    int games = 0;
    for (int attempt = 0; attempt < tries; ++attempt) {
        {
            RunningChild writer(STORE_WRITER, {"write"}, root.path);
            ASSERT_TRUE(writer.waitForLine("ready")) << "try " << attempt;
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
            writer.kill(SIGKILL);
        }
        const ChildRun check = runChild(STORE_WRITER, {"check"}, root.path);
        ASSERT_EQ(check.exitCode, 0);
        const int now = std::atoi(check.value("games").c_str());
        EXPECT_GE(now, std::min(games + 1, 20)) << "try " << attempt;
        EXPECT_LE(now, 20) << "try " << attempt;
        games = now;
        EXPECT_EQ(check.value("newest"), "40") << "try " << attempt;
        EXPECT_EQ(check.value("options"), "1 0 3") << "try " << attempt;
    }
}
