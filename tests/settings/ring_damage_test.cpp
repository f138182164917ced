// The autosave ring under damage: a file that does not read whole is kept aside and a
// new ring begins with what still reads, so that no later game is ever lost inside it;
// the slot number follows only a game that is in the file; restoring skips slots that do
// not read; and an idle start and exit adds no copy of the newest game.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "database/database.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/paths.h"
#include "ring_text.h"
#include "settings/autosave.h"
#include "settings/option_keys.h"
#include "settings/registry_settings.h"
#include "settings/ring_file.h"
#include "settings_root.h"

#include "../support/file_text.h"
#include "../support/read_pgn.h"

namespace {

std::unique_ptr<CGame> gameNamed(const std::string& event, const std::string& moves = "1. e4 e5") {
    std::unique_ptr<CGame> game =
        readPgn("[Event \"" + event + "\"]\n\n{remark} " + moves + " {fine} *\n").game;
    game->root()->child(0)->thinkTime = 1500;
    return game;
}

std::string randomBytes(size_t count) {
    std::mt19937 random(20240519);
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += char(random() & 0xFF);
    return bytes;
}

class RingDamageTest : public testing::Test {
protected:
    std::vector<std::string> eventsInFile() { return ::eventsInFile(path); }
    // Saves at exit and restores at the next start, each start reading the settings anew.
    std::string saveAndRestore(const std::string& event) {
        if (!writeToAutosaveRing(*gameNamed(event), settings, path)) return "(not written)";
        CRegistrySettings nextStart(SETTINGS_KEY);
        const std::unique_ptr<CGame> game = readFromAutosaveRing(nextStart, path);
        return game ? game->event().c_str() : "(none)";
    }
    int32_t slot() {
        int32_t value = -99;
        settings.getInt(AUTOSAVE_SLOT_KEY, &value);
        return value;
    }
    std::string damaged(int n) const { return path + ".damaged-" + std::to_string(n); }

    SettingsRoot root;
    CRegistrySettings settings{SETTINGS_KEY};
    std::string path = platform::documentsFolder() + "zorautosave.pgn";
};

} // namespace

TEST_F(RingDamageTest, ADamagedFileIsKeptAsideAndLaterGamesAllReadBack) {
    // Two games the ring wrote itself, then a third cut short at a chosen place.
    std::string good;
    {
        writeToAutosaveRing(*gameNamed("kept 0"), settings, path);
        writeToAutosaveRing(*gameNamed("kept 1", "1. d4 d5 2. c4"), settings, path);
        good = fileText(path);
        std::filesystem::remove(path);
    }
    const std::string third =
        "[Event \"third\"]\r\n[Site \"?\"]\r\n\r\n{0,} 1. e4 {1500,fine} e5 2. Nf3 *\r\n";
    const auto cut = [&](const char* before) {
        const size_t end = third.find(before);
        EXPECT_NE(end, std::string::npos) << before;
        return good + third.substr(0, end);
    };
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> keptGames;
    };
    const Case cases[] = {
        {"an open string", "\"", {}},
        {"an open comment", "{", {}},
        {"random bytes", randomBytes(3000), {}},
        {"binary with zero bytes", std::string("\x00\x01\x02\xff\xfe PK\x03\x04", 10), {}},
        {"cut in a tag", cut("rd\"]\r\n[Site"), {"kept 0", "kept 1"}},
        {"cut in a comment", cut("ne} e5"), {"kept 0", "kept 1"}},
        {"cut in a move", cut("f3 *"), {"kept 0", "kept 1"}},
        {"an open string after the games", good + "\"", {"kept 0", "kept 1"}},
        {"a broken move between games",
         "[Event \"bad\"]\n\n1. e4 e5 2. Qxh9 *\n\n" + good,
         {"kept 0", "kept 1"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(platform::documentsFolder());
        std::filesystem::create_directories(platform::documentsFolder());
        writeBytes(path, c.bytes);
        platform::registryDeleteValue(SETTINGS_KEY, AUTOSAVE_SLOT_KEY);

        for (int exitNumber = 0; exitNumber < 3; ++exitNumber) {
            const std::string event = "after " + std::to_string(exitNumber);
            EXPECT_EQ(saveAndRestore(event), event) << c.what;
        }
        // What the reader makes of the damaged part itself, if anything, is kept too.
        std::vector<std::string> events = eventsInFile();
        EXPECT_EQ(std::count(events.begin(), events.end(), "(unread)"), 0) << c.what;
        // The games of the damaged part that the reader made something of may stand
        // anywhere among the kept ones; the rest keep their order.
        std::vector<std::string> expected = c.keptGames;
        for (const char* event : {"after 0", "after 1", "after 2"})
            expected.push_back(event);
        std::vector<std::string> known;
        for (const std::string& event : events) {
            if (std::find(expected.begin(), expected.end(), event) != expected.end())
                known.push_back(event);
        }
        EXPECT_EQ(known, expected) << c.what;
        EXPECT_EQ(slot(), int32_t(events.size()) - 1) << c.what;
        EXPECT_EQ(fileText(damaged(1)), c.bytes) << c.what << ": the damaged file kept whole";
        EXPECT_FALSE(std::filesystem::exists(damaged(2))) << c.what << ": set aside once";
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(platform::documentsFolder()))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"zorautosave.pgn", "zorautosave.pgn.damaged-1"}))
            << c.what << ": nothing else is left behind";
    }
}

TEST_F(RingDamageTest, EarlierCopiesOfDamagedFilesAreNeverOverwritten) {
    writeBytes(damaged(1), "first");
    writeBytes(damaged(3), "third");
    writeBytes(path, "{");
    EXPECT_EQ(saveAndRestore("one"), "one");
    EXPECT_EQ(fileText(damaged(1)), "first");
    EXPECT_EQ(fileText(damaged(2)), "{");
    EXPECT_EQ(fileText(damaged(3)), "third");
}

TEST_F(RingDamageTest, AGameTheReaderCannotTakeBackNeverMakesASoundRingLookDamaged) {
    writeToAutosaveRing(*gameNamed("sound"), settings, path);
    std::unique_ptr<CGame> odd = gameNamed("odd");
    odd->root()->child(0)->moveText = "Zz9";
    EXPECT_TRUE(writeToAutosaveRing(*odd, settings, path));
    EXPECT_FALSE(std::filesystem::exists(damaged(1)));
    EXPECT_EQ(eventsInFile(), (std::vector<std::string>{"sound", "(unread)"}));
    // The next save finds the game that does not read, and keeps the file aside.
    EXPECT_EQ(saveAndRestore("next"), "next");
    EXPECT_EQ(eventsInFile(), (std::vector<std::string>{"sound", "next"}));
    EXPECT_TRUE(std::filesystem::exists(damaged(1)));
}

TEST_F(RingDamageTest, AWriteProtectedDamagedRingIsLeftAsItIs) {
    writeBytes(path, "{");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    settings.setInt(AUTOSAVE_SLOT_KEY, 3);
    EXPECT_FALSE(writeToAutosaveRing(*gameNamed("refused"), settings, path));
    EXPECT_FALSE(writeToAutosaveRing(*gameNamed("refused again"), settings, path));
    EXPECT_EQ(fileText(path), "{");
    EXPECT_FALSE(std::filesystem::exists(damaged(1))) << "no copy for a file that stays";
    EXPECT_EQ(slot(), 3);
}

TEST_F(RingDamageTest, AFileEndingWithoutALineEndIsAppendedOnAFreshLine) {
    writeBytes(path, "[Event \"old\"]\n\n1. e4 *");
    EXPECT_EQ(saveAndRestore("new"), "new");
    EXPECT_EQ(eventsInFile(), (std::vector<std::string>{"old", "new"}));
    const std::string start = "[Event \"old\"]\n\n1. e4 *\r\n[Event \"new\"]";
    EXPECT_EQ(fileText(path).substr(0, start.size()), start);
    EXPECT_FALSE(std::filesystem::exists(damaged(1))) << "the file read whole";
}

TEST_F(RingDamageTest, ARingAlreadyFullKeepsItsNewestGamesWhenDamaged) {
    for (int i = 0; i < 25; ++i)
        writeToAutosaveRing(*gameNamed("g" + std::to_string(i)), settings, path);
    ASSERT_EQ(slot(), 4);
    writeBytes(path, fileText(path) + "{");
    EXPECT_EQ(saveAndRestore("last"), "last");
    std::vector<std::string> expected;
    for (int i = 6; i < 25; ++i)
        expected.push_back("g" + std::to_string(i));
    expected.push_back("last");
    EXPECT_EQ(eventsInFile(), expected) << "the oldest game makes room, in the ring's order";
    EXPECT_EQ(slot(), 19);
    EXPECT_EQ(saveAndRestore("wrapped"), "wrapped");
    EXPECT_EQ(eventsInFile()[0], "wrapped");
}

TEST_F(RingDamageTest, TheSlotNumberFollowsOnlyAGameThatIsInTheFile) {
    writeToAutosaveRing(*gameNamed("g0"), settings, path);
    settings.setInt(AUTOSAVE_SLOT_KEY, 7);
    // A folder where the file should be: nothing can be read or written there.
    std::filesystem::remove(path);
    std::filesystem::create_directories(path);
    EXPECT_FALSE(writeToAutosaveRing(*gameNamed("lost"), settings, path));
    EXPECT_EQ(slot(), 7);
}

TEST_F(RingDamageTest, RestoringFallsBackToTheNewestSlotThatReads) {
    // A game of which nothing reads, and one that reads up to a bad move: the user's
    // moves before the damage are worth more than an older game.
    const std::string broken = "[Event \"bad\"]\n[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n\n*\n\n";
    const std::string cut = "[Event \"cut\"]\n\n1. e4 e5 2. Qxh9 *\n\n";
    const std::string game0 = "[Event \"g0\"]\n\n1. e4 *\n\n";
    const std::string game2 = "[Event \"g2\"]\n\n1. c4 *\n\n";
    struct Case {
        std::string file;
        int32_t stored; // -1: none
        const char* restored;
    };
    const Case cases[] = {
        {game0 + broken + game2, 1, "g0"},  {game0 + broken + game2, 2, "g2"},
        {broken + game0 + game2, 0, "g2"}, // back past the first slot to the last
        {game0 + game2 + broken, -1, "g2"}, {broken + broken, 1, "(none)"},
        {game0 + cut, 1, "cut"},
    };
    for (const Case& c : cases) {
        writeBytes(path, c.file);
        if (c.stored < 0)
            platform::registryDeleteValue(SETTINGS_KEY, AUTOSAVE_SLOT_KEY);
        else
            settings.setInt(AUTOSAVE_SLOT_KEY, c.stored);
        const std::unique_ptr<CGame> game = readFromAutosaveRing(settings, path);
        EXPECT_EQ(game ? game->event().c_str() : "(none)", std::string(c.restored))
            << c.file << " slot " << c.stored;
        EXPECT_EQ(fileText(path), c.file) << "restoring changes nothing";
    }
}

TEST_F(RingDamageTest, TheNewestGameSavedAgainIsNotAddedTwice) {
    std::unique_ptr<CGame> game = gameNamed("same");
    game->setTag("Time", "10:00:00");
    ASSERT_TRUE(writeToAutosaveRing(*game, settings, path));
    const std::string once = fileText(path);
    // Started and left again later: only the time of saving differs.
    game->setTag("Time", "11:30:00");
    ASSERT_TRUE(writeToAutosaveRing(*game, settings, path));
    EXPECT_EQ(fileText(path), once);
    EXPECT_EQ(slot(), 0);

    struct Step {
        const char* what;
        std::unique_ptr<CGame> game;
        size_t games;
    };
    std::unique_ptr<CGame> commented = gameNamed("same");
    commented->root()->child(0)->comment = "a new thought";
    std::unique_ptr<CGame> slower = gameNamed("same");
    slower->root()->child(0)->thinkTime = 1600;
    Step steps[] = {
        {"another move", gameNamed("same", "1. e4 c5"), 2},
        {"the game before it, no longer the newest", gameNamed("same"), 3},
        {"the same again", gameNamed("same"), 3},
        {"another comment", std::move(commented), 4},
        {"another thinking time", std::move(slower), 5},
        {"another tag", gameNamed("other"), 6},
    };
    for (Step& step : steps) {
        ASSERT_TRUE(writeToAutosaveRing(*step.game, settings, path)) << step.what;
        EXPECT_EQ(eventsInFile().size(), step.games) << step.what;
        EXPECT_EQ(slot(), int32_t(step.games) - 1) << step.what;
    }

    // A new game's root is written without a comment, the same root restored as "{0,}".
    std::unique_ptr<CGame> fresh = gameNamed("fresh");
    fresh->root()->comment = NEW_GAME_ROOT_COMMENT;
    ASSERT_TRUE(writeToAutosaveRing(*fresh, settings, path));
    const std::unique_ptr<CGame> restored = readFromAutosaveRing(settings, path);
    ASSERT_TRUE(restored);
    ASSERT_TRUE(writeToAutosaveRing(*restored, settings, path));
    EXPECT_EQ(eventsInFile().size(), 7u);
    EXPECT_EQ(slot(), 6);

    // In a full ring the newest is the slot written last, not the file's last game.
    for (int i = 7; i < 23; ++i)
        writeToAutosaveRing(*gameNamed("g" + std::to_string(i)), settings, path);
    ASSERT_EQ(slot(), 2);
    const std::string full = fileText(path);
    ASSERT_TRUE(writeToAutosaveRing(*gameNamed("g22"), settings, path));
    EXPECT_EQ(fileText(path), full);
    EXPECT_EQ(slot(), 2);
}

TEST(RingFile, AFileReadsWholeOnlyWhenAGameAppendedStandsApart) {
    SettingsRoot root;
    const std::string path = platform::documentsFolder() + "look.pgn";
    std::filesystem::create_directories(platform::documentsFolder());
    struct Case {
        const char* what;
        std::string bytes;
        bool whole;
        size_t games;
        const char* separator;
    };
    const Case cases[] = {
        {"empty", "", true, 0, ""},
        {"blank lines", "\r\n\r\n", true, 0, ""},
        {"one game", "[Event \"a\"]\n\n1. e4 *\n", true, 1, ""},
        {"one game without a line end", "[Event \"a\"]\n\n1. e4 *", true, 1, "\r\n"},
        {"a game without a result", "[Event \"a\"]\n\n1. e4 e5\n", true, 1, ""},
        {"an open comment at the end", "[Event \"a\"]\n\n1. e4 {e5\n", false, 1, ""},
        {"an open string", "\"", false, 0, "\r\n"},
        {"an open tag", "[Event \"a\"]\n[Site", false, 1, "\r\n"},
    };
    for (const Case& c : cases) {
        writeBytes(path, c.bytes);
        const RingFile ring = inspectRingFile(path);
        EXPECT_TRUE(ring.exists) << c.what;
        EXPECT_EQ(ring.whole, c.whole) << c.what;
        EXPECT_EQ(ring.games.size(), c.games) << c.what;
        EXPECT_EQ(ring.separator, c.separator) << c.what;
    }
    std::filesystem::remove(path);
    const RingFile missing = inspectRingFile(path);
    EXPECT_FALSE(missing.exists);
    EXPECT_TRUE(missing.whole);
}
