// The whole program over a damaged autosave ring, and over starts and exits without a
// move: the game of every Exit comes back at the next start whatever the ring file held
// before, and an idle start and exit leaves the ring as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "child_process.h"
#include "database/database.h"
#include "pgn/pgn_reader.h"
#include "settings/autosave.h"
#include "temp_root.h"

#include "../support/file_text.h"

TEST(DamagedRing, AGamePlayedOverARingOfOneQuoteComesBackAndIdleExitsAddNothing) {
    TempRoot root;
    const std::string ring = autosaveFilePath();
    std::filesystem::create_directories(std::filesystem::path(ring).parent_path());
    std::ofstream(ring, std::ios::binary) << '"';

    const ChildRun played =
        runChild(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "exit", "e2-e4:e7e5"}, root.path);
    ASSERT_EQ(played.exitCode, 0);
    EXPECT_EQ(played.value("shown"), "") << "nothing to restore in the damaged file";
    EXPECT_EQ(played.value("played"), "e4 e5");
    EXPECT_EQ(fileText(ring + ".damaged-1"), "\"") << "the damaged file is kept";
    const std::string saved = fileText(ring);

    for (int start = 0; start < 3; ++start) {
        const ChildRun idle = runChild(SHELL_DRIVER, {SCRIPTED_ENGINE_FOLDER, "exit"}, root.path);
        ASSERT_EQ(idle.exitCode, 0) << "start " << start;
        EXPECT_EQ(idle.value("shown"), "e4 e5") << "start " << start;
        EXPECT_EQ(fileText(ring), saved) << "start " << start << ": no copy of the same game";
    }
    CPgnReader reader;
    CDatabase database(reader);
    ASSERT_TRUE(database.open(ring.c_str()));
    EXPECT_EQ(database.index().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(ring + ".damaged-2"));
}
