// The kernel services: events, paths, root isolation, files, modules, the instance lock.
#include "platform/kernel/clock.h"
#include "platform/kernel/event.h"
#include "platform/kernel/files.h"
#include "platform/kernel/instance.h"
#include "platform/kernel/memory.h"
#include "platform/kernel/module.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/thread.h"
#include "temp_root.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>

using namespace platform;

TEST(Event, AutomaticResetReleasesOneWaitAndKeepsAnEarlySignal) {
    Event event;
    EXPECT_FALSE(event.wait(0));
    event.set(); // nobody waits yet: the signal is kept
    EXPECT_TRUE(event.wait(0));
    EXPECT_FALSE(event.wait(0)) << "the first wait reset it";
    event.set();
    event.reset();
    EXPECT_FALSE(event.wait(0));
}

TEST(Event, WaitForAnyAnswersTheFirstSignalledAndTimesOut) {
    Event stop, search, quit;
    Event* events[] = {&stop, &search, &quit};
    EXPECT_EQ(waitForAny(events, 3, 1), WAIT_TIMEOUT);
    quit.set();
    search.set();
    EXPECT_EQ(waitForAny(events, 3, 0), 1);
    EXPECT_EQ(waitForAny(events, 3, 0), 2);
    EXPECT_EQ(waitForAny(events, 3, 0), WAIT_TIMEOUT);
}

TEST(Event, ASignalFromAnotherThreadWakesAnEndlessWait) {
    Event ready, go;
    std::atomic<int> order{0};
    Thread worker;
    ASSERT_TRUE(worker.start([&] {
        Thread::setCurrentPriority(ThreadPriority::idle);
        ready.set();
        go.wait(INFINITE);
        order = 2;
    }));
    EXPECT_TRUE(ready.wait(INFINITE));
    order = 1;
    go.set();
    worker.join();
    EXPECT_EQ(order, 2);
    EXPECT_FALSE(worker.isRunning());
}

TEST(Clock, TicksAdvanceAndTheDateIsPlausible) {
    const uint32_t before = tickCount();
    sleepMs(5);
    EXPECT_GE(uint32_t(tickCount() - before), 5u);
    const DateTime now = localDateTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_GT(freePhysicalMemory(), 0u);
}

TEST(Paths, HandheldPathsMapToTheRootsDocuments) {
    TempRoot root;
    struct Case {
        const char* handheld;
        std::string expected;
    };
    const Case cases[] = {
        {"\\My Documents\\zorautosave.pgn", root.path + "Documents/zorautosave.pgn"},
        {"\\my documents\\zorbook.gbk", root.path + "Documents/zorbook.gbk"},
        {"\\My Documents\\games\\a.pgn", root.path + "Documents/games/a.pgn"},
        {"\\windows\\start menu\\", "/windows/start menu/"},
        {"relative\\file.pgn", "relative/file.pgn"},
        {"/already/unix.pgn", "/already/unix.pgn"},
        {"", ""},
        {"\\My Documents", "/My Documents"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mapHandheldPath(c.handheld), c.expected) << c.handheld;
    }
    EXPECT_TRUE(createFolders(root.path + "Documents")) << "created on first use";
}

TEST(Paths, TheRootHoldsConfigurationDocumentsAndLock) {
    TempRoot root;
    EXPECT_EQ(rootFolder(), root.path);
    EXPECT_EQ(documentsFolder(), root.path + "Documents/");
    EXPECT_EQ(configurationFolder(), root.path + "config/");
    EXPECT_EQ(runtimeFolder(), root.path);
    const std::string exe = executableFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.back(), '/');
    EXPECT_TRUE(fileExists(exe + "test_platform"));
}

TEST(Paths, TheProgramsFilesBesideTheExecutableOrInTheInstalledFolder) {
    struct Case {
        const char* what;
        bool moduleBeside;
        bool installedFolder;
        const char* expected; // below the test's folder
    };
    const Case cases[] = {
        {"the build folder", true, false, "bin/"},
        {"an install", false, true, "lib/tallowmere/"},
        {"files beside win over an install", true, true, "bin/"},
        {"neither: the executable's own folder", false, false, "bin/"},
    };
    for (const Case& c : cases) {
        TempFolder tree;
        ASSERT_TRUE(createFolders(tree.path() + "bin"));
        if (c.moduleBeside) tree.write("bin/Tarnwick.pge", "module");
        if (c.installedFolder) ASSERT_TRUE(createFolders(tree.path() + "lib/tallowmere"));
        EXPECT_EQ(programFilesFolder(tree.path() + "bin/"), tree.path() + c.expected) << c.what;
    }
    TempFolder tree;
    ASSERT_TRUE(createFolders(tree.path() + "bin") && createFolders(tree.path() + "lib"));
    tree.write("lib/tallowmere", "a file, not the folder");
    EXPECT_EQ(programFilesFolder(tree.path() + "bin/"), tree.path() + "bin/");
    EXPECT_EQ(programFilesFolder("/"), "/") << "no parent to look in";
}

TEST(Files, FindDeleteAndRenameWithoutReplacing) {
    TempRoot root;
    const std::string folder = root.path;
    std::ofstream(folder + "b.pgn") << "1";
    std::ofstream(folder + "a.pgn") << "2";
    std::ofstream(folder + "c.txt") << "3";
    EXPECT_EQ(findFiles(folder, "*.pgn"), (std::vector<std::string>{"a.pgn", "b.pgn"}));
    EXPECT_TRUE(findFiles(folder + "missing", "*").empty());
    EXPECT_FALSE(renameFile(folder + "a.pgn", folder + "b.pgn")) << "never replaces a file";
    EXPECT_TRUE(fileExists(folder + "a.pgn"));
    EXPECT_TRUE(renameFile(folder + "a.pgn", folder + "d.pgn"));
    EXPECT_FALSE(fileExists(folder + "a.pgn"));
    EXPECT_FALSE(renameFile(folder + "missing.pgn", folder + "e.pgn"));
    EXPECT_TRUE(deleteFile(folder + "d.pgn"));
    EXPECT_FALSE(deleteFile(folder + "d.pgn"));
    EXPECT_FALSE(fileExists(folder));
    EXPECT_FALSE(deleteFile(""));
}

TEST(Module, LoadsByRelativePathAndReportsReadableErrors) {
    TempRoot root;
    Module module;
    EXPECT_FALSE(module.load(root.path + "Tarnwick.pge"));
    EXPECT_NE(module.errorText().find("Tarnwick.pge"), std::string::npos);

    std::ofstream(root.path + "garbage.pge") << "not a module at all";
    EXPECT_FALSE(module.load(root.path + "garbage.pge"));
    EXPECT_FALSE(module.errorText().empty());
    EXPECT_FALSE(module.isLoaded());
    EXPECT_EQ(module.symbol("fixtureAnswer"), nullptr);

    ASSERT_TRUE(module.load(TEST_MODULE_PATH)) << module.errorText();
    auto answer = reinterpret_cast<int (*)()>(module.symbol("fixtureAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(module.symbol("StartAnalyse"), nullptr);
    EXPECT_NE(module.errorText().find("StartAnalyse"), std::string::npos);
}

TEST(InstanceLock, OneHolderPerRoot) {
    TempRoot root;
    InstanceLock first;
    ASSERT_TRUE(first.acquire());
    InstanceLock second;
    EXPECT_FALSE(second.acquire());
    {
        TempRoot other;
        InstanceLock elsewhere;
        EXPECT_TRUE(elsewhere.acquire()) << "another root is another instance";
    }
}
