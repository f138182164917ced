// The autosave ring: twenty games, then the oldest slot replaced; the thinking times
// carried through the file in the comments; the slot restored at start-up; and files that
// are missing, empty, cut short or damaged never cost more than the game that was lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
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
#include "settings_root.h"

#include "../support/file_text.h"
#include "../support/read_pgn.h"

namespace {

// A game with comments, a variation and a thinking time on every node; "Event" names it.
std::unique_ptr<CGame> gameNamed(const std::string& event) {
    std::unique_ptr<CGame> game =
        readPgn("[Event \"" + event +
                "\"]\n\n{opening remark} 1. e4 {good move} e5 (1... c5 {sharp}) 2. Nf3 *\n")
            .game;
    struct SetTimes : CNodeVisitor {
        int64_t time = 1500;
        void visit(CMoveNode& node) override {
            if (!node.parent) return;
            node.thinkTime = time;
            time += 250;
        }
    } setTimes;
    game->forEachNode(setTimes);
    return game;
}

struct NodeRecord {
    std::string comment;
    int64_t time;
    bool operator==(const NodeRecord& other) const {
        return comment == other.comment && time == other.time;
    }
};

std::vector<NodeRecord> nodesOf(CGame& game) {
    struct Collect : CNodeVisitor {
        std::vector<NodeRecord> nodes;
        void visit(CMoveNode& node) override {
            nodes.push_back({node.comment.c_str(), node.thinkTime});
        }
    } collect;
    game.forEachNode(collect);
    return collect.nodes;
}

class AutosaveTest : public testing::Test {
protected:
    std::vector<std::string> eventsInFile() { return ::eventsInFile(path); }
    int32_t slot() {
        int32_t value = -99;
        settings.getInt(AUTOSAVE_SLOT_KEY, &value);
        return value;
    }
    std::string restoredEvent() {
        const std::unique_ptr<CGame> game = readFromAutosaveRing(settings, path);
        return game ? game->event().c_str() : "(none)";
    }

    SettingsRoot root;
    CRegistrySettings settings{SETTINGS_KEY};
    std::string path = platform::documentsFolder() + "ring.pgn";
};

} // namespace

TEST_F(AutosaveTest, TheRingFileLivesInTheDocumentsFolder) {
    EXPECT_EQ(autosaveFilePath(), platform::documentsFolder() + "zorautosave.pgn");
}

TEST_F(AutosaveTest, TwentyGamesThenTheOldestSlotsAreReplacedInTurn) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(writeToAutosaveRing(*gameNamed("g" + std::to_string(i)), settings, path));
        EXPECT_EQ(slot(), i);
    }
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i)
        expected.push_back("g" + std::to_string(i));
    EXPECT_EQ(eventsInFile(), expected);

    ASSERT_TRUE(writeToAutosaveRing(*gameNamed("g20"), settings, path));
    EXPECT_EQ(slot(), 0);
    expected[0] = "g20";
    EXPECT_EQ(eventsInFile(), expected);
    EXPECT_EQ(restoredEvent(), "g20");

    ASSERT_TRUE(writeToAutosaveRing(*gameNamed("g21"), settings, path));
    EXPECT_EQ(slot(), 1);
    expected[1] = "g21";
    EXPECT_EQ(eventsInFile(), expected);
    EXPECT_EQ(restoredEvent(), "g21");
}

TEST_F(AutosaveTest, ThinkingTimesAndCommentsSurviveTheFile) {
    std::unique_ptr<CGame> game = gameNamed("timed");
    const std::vector<NodeRecord> before = nodesOf(*game);
    ASSERT_EQ(before.size(), 5u);
    EXPECT_EQ(before[1], (NodeRecord{"good move", 1500}));
    ASSERT_TRUE(writeToAutosaveRing(*game, settings, path));
    EXPECT_EQ(nodesOf(*game), before) << "the game in memory is as it was";
    EXPECT_NE(fileText(path).find("{1500,good move}"), std::string::npos);
    EXPECT_NE(fileText(path).find("{0,opening remark}"), std::string::npos);

    root.reopenFromCopy();
    CRegistrySettings nextStart(SETTINGS_KEY);
    const std::unique_ptr<CGame> restored = readFromAutosaveRing(nextStart, path);
    ASSERT_TRUE(restored);
    EXPECT_EQ(nodesOf(*restored), before);
}

TEST_F(AutosaveTest, ANewGameKeepsItsRootUnmarkedInTheFile) {
    std::unique_ptr<CGame> game = readPgn("1. d4 *\n").game;
    ASSERT_TRUE(game);
    game->root()->comment = NEW_GAME_ROOT_COMMENT;
    ASSERT_TRUE(writeToAutosaveRing(*game, settings, path));
    EXPECT_STREQ(game->root()->comment.c_str(), NEW_GAME_ROOT_COMMENT);
    EXPECT_EQ(fileText(path).find("rootnode"), std::string::npos);
    const std::unique_ptr<CGame> restored = readFromAutosaveRing(settings, path);
    ASSERT_TRUE(restored);
    EXPECT_STREQ(restored->root()->comment.c_str(), "");
}

TEST_F(AutosaveTest, CommentsThatLookLikeTimesAreKeptWhole) {
    std::unique_ptr<CGame> game = readPgn("1. e4 {12,34 seen before} *\n").game;
    ASSERT_TRUE(game);
    game->root()->child(0)->thinkTime = 700;
    ASSERT_TRUE(writeToAutosaveRing(*game, settings, path));
    EXPECT_STREQ(game->root()->child(0)->comment.c_str(), "12,34 seen before");
    const std::unique_ptr<CGame> restored = readFromAutosaveRing(settings, path);
    ASSERT_TRUE(restored);
    EXPECT_STREQ(restored->root()->child(0)->comment.c_str(), "12,34 seen before");
    EXPECT_EQ(restored->root()->child(0)->thinkTime, 700);
}

TEST_F(AutosaveTest, TimesAreTakenOnlyFromDigitsFollowedByAComma) {
    struct Case {
        const char* comment;
        const char* left;
        int64_t time;
    };
    const Case cases[] = {
        {"1500,good move", "good move", 1500},
        {"good move", "good move", -1},
        {"0,", "", 0},
        {"007,x", "x", 7},
        {",x", ",x", -1},
        {"12", "12", -1},
        {"12 ,x", "12 ,x", -1},
        {"-5,x", "-5,x", -1},
        {"4294967295,max", "max", 4294967295},
        {"", "", -1},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CGame> game = readPgn("1. e4 *\n").game;
        ASSERT_TRUE(game);
        CMoveNode* node = game->root()->child(0);
        node->comment = c.comment;
        node->thinkTime = -1;
        takeTimesFromComments(*game);
        EXPECT_STREQ(node->comment.c_str(), c.left) << c.comment;
        EXPECT_EQ(node->thinkTime, c.time) << c.comment;
    }
}

TEST_F(AutosaveTest, TheSlotRestoredIsTheOneWrittenLastOrTheLastGame) {
    for (int i = 0; i < 3; ++i)
        writeToAutosaveRing(*gameNamed("g" + std::to_string(i)), settings, path);
    struct Case {
        int32_t stored; // -99: none
        const char* restored;
    };
    const Case cases[] = {{5, "g2"}, {1, "g1"}, {0, "g0"}, {-99, "g2"}, {-4, "g2"}};
    for (const Case& c : cases) {
        if (c.stored == -99) {
            platform::registryDeleteValue(SETTINGS_KEY, AUTOSAVE_SLOT_KEY);
        } else {
            settings.setInt(AUTOSAVE_SLOT_KEY, c.stored);
        }
        EXPECT_EQ(restoredEvent(), c.restored) << "stored " << c.stored;
    }
}

TEST_F(AutosaveTest, ADamagedSlotNumberNeverLetsTheRingGrow) {
    for (int i = 0; i < 20; ++i)
        writeToAutosaveRing(*gameNamed("g" + std::to_string(i)), settings, path);
    for (int32_t damaged : {-5, 25, 2147483647}) {
        settings.setInt(AUTOSAVE_SLOT_KEY, damaged);
        ASSERT_TRUE(
            writeToAutosaveRing(*gameNamed("after " + std::to_string(damaged)), settings, path));
        EXPECT_EQ(eventsInFile().size(), 20u) << damaged;
        EXPECT_EQ(slot(), 0) << damaged;
    }
}

TEST_F(AutosaveTest, BadFilesRestoreWhatReadsAndAreNotChangedByIt) {
    struct Case {
        const char* what;
        bool exists;
        std::string bytes;
        // Main-line moves of the game restored; -1 when none is. A file cut or
        // broken inside the moves restores the moves before the break.
        int moves;
    };
    const Case cases[] = {
        {"missing", false, "", -1},
        {"empty", true, "", -1},
        {"binary", true, std::string("\x00\x01\x02\xff\xfe PK\x03\x04", 10), -1},
        {"a tag cut short", true, "[Event \"ke", 0},
        {"cut inside the moves", true, "[Event \"half\"]\n\n1. e4 e5 2. Nf", 2},
        {"a broken move", true, "[Event \"bad\"]\n\n1. e4 e5 2. Qxh9 *\n", 2},
        {"no move reads", true, "[Event \"bad\"]\n\n1. Qxh9 *\n", -1},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        if (c.exists) writeBytes(path, c.bytes);
        const std::unique_ptr<CGame> restored = readFromAutosaveRing(settings, path);
        if (c.moves >= 0) {
            ASSERT_TRUE(restored) << c.what;
            int moves = 0;
            for (const CMoveNode* node = restored->root(); node->hasChildren();
                 node = node->child(0))
                ++moves;
            EXPECT_EQ(moves, c.moves) << c.what;
        } else {
            EXPECT_EQ(restored, nullptr) << c.what;
        }
        EXPECT_EQ(std::filesystem::exists(path), c.exists) << c.what;
        if (c.exists) {
            EXPECT_EQ(fileText(path), c.bytes) << c.what;
        }
    }
}
