// The kernel services: events, paths, root isolation, files, modules, the instance lock.
#include "platform/kernel/clock.h"
#include "platform/kernel/event.h"
#include "platform/kernel/files.h"
#include "platform/kernel/instance.h"
#include "platform/kernel/instance_requests.h"
#include "platform/kernel/memory.h"
#include "platform/kernel/module.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/thread.h"
#include "temp_root.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
    ASSERT_EQ(first.acquire(), LockResult::Acquired);
    InstanceLock second;
    EXPECT_EQ(second.acquire(), LockResult::HeldElsewhere);
    {
        TempRoot other;
        InstanceLock elsewhere;
        EXPECT_EQ(elsewhere.acquire(), LockResult::Acquired) << "another root is another instance";
    }
}

namespace {

// No root and no XDG_RUNTIME_DIR, with TMPDIR in a folder of the test's own: the lock goes
// where a desktop without a runtime folder puts it.
struct NoRuntimeFolder {
    TempFolder temporary;
    std::string previousRoot = rootFolder();
    std::string previousRuntime =
        std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    std::string previousTemporary = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    NoRuntimeFolder() {
        setRootFolder("");
        unsetenv("XDG_RUNTIME_DIR");
        setenv("TMPDIR", temporary.path().c_str(), 1);
    }
    ~NoRuntimeFolder() {
        setRootFolder(previousRoot);
        setenv("XDG_RUNTIME_DIR", previousRuntime.c_str(), 1);
        setenv("TMPDIR", previousTemporary.c_str(), 1);
    }
    std::string folder() const {
        return temporary.path() + "TallowmereChess-" + std::to_string(geteuid());
    }
};

} // namespace

TEST(InstanceLock, WithoutARuntimeFolderTheLockLivesInAFolderOfTheUsersOwn) {
    NoRuntimeFolder place;
    EXPECT_EQ(runtimeFolder(), place.folder() + "/");
    {
        InstanceLock first;
        ASSERT_EQ(first.acquire(), LockResult::Acquired) << first.failure();
        struct stat status {};
        ASSERT_EQ(stat(place.folder().c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u);
        EXPECT_EQ(status.st_uid, geteuid());
        InstanceLock second;
        EXPECT_EQ(second.acquire(), LockResult::HeldElsewhere);
        EXPECT_TRUE(fileExists(first.lockPath()));
    }
    EXPECT_FALSE(fileExists(place.folder() + "/TallowmereChess.lock")) << "removed at exit";
    InstanceLock again;
    EXPECT_EQ(again.acquire(), LockResult::Acquired) << again.failure();
}

TEST(InstanceLock, AFolderThatIsNotTheUsersAloneIsRefusedWithItsReason) {
    struct Case {
        const char* what;
        void (*prepare)(const std::string& folder);
        const char* reason;
    };
    const Case cases[] = {
        {"a file in its place", [](const std::string& f) { std::ofstream(f) << "x"; },
         "is not a folder"},
        {"open to others",
         [](const std::string& f) { mkdir(f.c_str(), 0777), chmod(f.c_str(), 0777); },
         "is open to other users"},
        {"a link to a folder",
         [](const std::string& f) {
             mkdir((f + "-real").c_str(), 0700);
             [[maybe_unused]] const int linked = symlink((f + "-real").c_str(), f.c_str());
         },
         "is not a folder"},
        // Only the superuser can give a folder away; others skip this row.
        {"another user's",
         [](const std::string& f) {
             mkdir(f.c_str(), 0700);
             [[maybe_unused]] const int given = chown(f.c_str(), 65534, 65534);
         },
         "belongs to another user"},
    };
    for (const Case& c : cases) {
        if (std::string(c.reason) == "belongs to another user" && geteuid() != 0) continue;
        NoRuntimeFolder place;
        c.prepare(place.folder());
        InstanceLock lock;
        EXPECT_EQ(lock.acquire(), LockResult::Failed) << c.what;
        EXPECT_NE(lock.failure().find(place.folder() + " " + c.reason), std::string::npos)
            << c.what << ": " << lock.failure();
        EXPECT_FALSE(lock.isHeld()) << c.what;
    }
}

TEST(InstanceRequests, APathGoesAsOneLineThatFitsOneAtomicWrite) {
    const std::string longest = "/" + std::string(longestRequestPath() - 1, 'a');
    struct Case {
        std::string path;
        const char* refusal; // in the reason; null: sent
    } cases[] = {
        {"/home/ann/My Games/Partien für Åsa.pgn", nullptr},
        {longest, nullptr},
        {longest + "a", "longer than"},
        {"games/club.pgn", "not absolute"},
        {"", "not absolute"},
        {"/home/ann/two\nlines.pgn", "line end"},
        {"/home/ann/two\rlines.pgn", "line end"},
    };
    for (const Case& c : cases) {
        std::string request, why;
        const bool sent = openRequest(c.path, &request, &why);
        EXPECT_EQ(sent, c.refusal == nullptr) << c.path;
        if (!sent) {
            EXPECT_NE(why.find(c.refusal), std::string::npos) << why;
            continue;
        }
        EXPECT_LE(request.size(), size_t(PIPE_BUF));
        InstanceRequests reader;
        reader.feed(request.data(), request.size());
        EXPECT_EQ(reader.takePaths(), std::vector<std::string>{c.path});
        EXPECT_TRUE(reader.takePaths().empty()) << "each path is given once";
    }
}

TEST(InstanceRequests, PiecesAreJoinedAndWhatIsNoRequestIsPassedOver) {
    std::string first, second;
    std::string why;
    ASSERT_TRUE(openRequest("/a/first game.pgn", &first, &why));
    ASSERT_TRUE(openRequest("/b/ümlaut.pgn", &second, &why));
    const std::string overlong = "open /" + std::string(2 * PIPE_BUF, 'x') + "\n";
    // What several writers may leave in the pipe, with the old lone 'R' in front.
    const std::string stream = "R" + first + "garbage\nopen relative.pgn\nopen \nopen /\n" +
                               overlong + "open /c/d.pgn\r\n" + second + "open /unended";
    for (const size_t piece : {size_t(1), size_t(7), size_t(64), stream.size()}) {
        InstanceRequests reader;
        for (size_t at = 0; at < stream.size(); at += piece)
            reader.feed(stream.data() + at, std::min(piece, stream.size() - at));
        EXPECT_EQ(reader.takePaths(),
                  (std::vector<std::string>{"/a/first game.pgn", "/b/ümlaut.pgn"}))
            << "in pieces of " << piece;
        reader.feed("\n", 1);
        EXPECT_EQ(reader.takePaths(), std::vector<std::string>{"/unended"})
            << "a line is complete at its end";
    }
}
