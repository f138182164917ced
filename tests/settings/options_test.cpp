// The stored options: their defaults, the bitmaps their numbers choose, the order they are
// written in, and their way through the registry file to the next start.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "../engine/memory_settings.h"
#include "settings/bitmap_ids.h"
#include "settings/option_keys.h"
#include "settings/options.h"
#include "settings/registry_settings.h"
#include "settings_root.h"

namespace {

bool sameOptions(const StoredOptions& a, const StoredOptions& b) {
    return a.autoAnswer == b.autoAnswer && a.highlightLastMove == b.highlightLastMove &&
           a.animationSpeed == b.animationSpeed && a.showThinking == b.showThinking &&
           a.sound == b.sound && a.coach == b.coach && a.flipped == b.flipped &&
           a.boardBitmapId == b.boardBitmapId && a.pieceBitmapId24 == b.pieceBitmapId24 &&
           a.pieceBitmapId30 == b.pieceBitmapId30 && a.engineName == b.engineName;
}

const char* const DISPLAY_KEYS[] = {"IDC_CBGAMETAGS", "IDC_CBGAMECOMMENTS", "IDC_CBGAMEVARIATIONS",
                                    "IDC_CBTAGS",     "IDC_CBCOMMENTS",     "IDC_CBVARIATIONS"};

} // namespace

TEST(Options, AFirstRunHasTheDefaultsAndWritesTheDisplayFlags) {
    SettingsRoot root;
    CRegistrySettings settings(SETTINGS_KEY);
    const StoredOptions options = loadOptions(settings);
    EXPECT_TRUE(sameOptions(options, StoredOptions()));
    EXPECT_TRUE(options.autoAnswer && !options.highlightLastMove && options.showThinking &&
                options.sound && !options.coach && !options.flipped);
    EXPECT_EQ(options.animationSpeed, 2);
    EXPECT_EQ(options.boardBitmapId, 138);
    EXPECT_EQ(options.pieceBitmapId24, 135);
    EXPECT_EQ(options.pieceBitmapId30, 116);
    EXPECT_STREQ(options.engineName.c_str(), "");
    for (const char* key : DISPLAY_KEYS) {
        int32_t value = -1;
        EXPECT_TRUE(settings.getInt(key, &value)) << key;
        EXPECT_EQ(value, 1) << key;
    }
}

TEST(Options, DisplayFlagsAlreadyStoredAreLeftAlone) {
    MemorySettings settings;
    settings.ints["IDC_CBGAMETAGS"] = 0;
    settings.ints["IDC_CBVARIATIONS"] = 0;
    loadOptions(settings);
    EXPECT_EQ(settings.ints["IDC_CBGAMETAGS"], 0);
    EXPECT_EQ(settings.ints["IDC_CBVARIATIONS"], 0);
    EXPECT_EQ(settings.ints["IDC_CBGAMECOMMENTS"], 1);
    EXPECT_EQ(settings.written.size(), 4u) << "only the missing ones are written";
}

TEST(Options, OptionsWrittenAtExitAreReadAtTheNextStart) {
    SettingsRoot root;
    StoredOptions chosen;
    chosen.autoAnswer = false;
    chosen.highlightLastMove = true;
    chosen.animationSpeed = 3;
    chosen.showThinking = false;
    chosen.sound = false;
    chosen.coach = true;
    chosen.flipped = true;
    chosen.boardBitmapId = 149;
    chosen.pieceBitmapId24 = 145;
    chosen.pieceBitmapId30 = 146;
    chosen.engineName = "Tarnwick 1.0";
    {
        CRegistrySettings settings(SETTINGS_KEY);
        saveOptions(settings, chosen);
    }
    root.reopenFromCopy();
    CRegistrySettings settings(SETTINGS_KEY);
    EXPECT_TRUE(sameOptions(loadOptions(settings), chosen));
}

TEST(Options, SavingWritesTheNineNumbersInOrderThenTheEngineName) {
    MemorySettings settings;
    StoredOptions options;
    options.engineName = "Tarnwick 1.0";
    saveOptions(settings, options);
    EXPECT_EQ(
        settings.written,
        (std::vector<std::string>{"IDC_CBAUTOANSWER", "IDC_CBHIGHLIGHTLASTMOVE", "IDC_CBANIMATION",
                                  "IDC_CBMAINLINE", "IDC_CBSOUND", "IDC_CBCOACH", "IDM_FLIP_BOARD",
                                  "IDC_CBSQUARES", "IDC_CBPIECESETS", "IDC_CBENGINE"}));
    EXPECT_EQ(settings.blocks["IDC_CBENGINE"], "Tarnwick 1.0");
}

TEST(Options, StoredNumbersChooseTheBitmapsAndUnknownOnesTheFirst) {
    struct Case {
        int32_t squares;
        int32_t pieces;
        int32_t board;
        int32_t pieces24;
        int32_t pieces30;
        int32_t savedSquares;
        int32_t savedPieces;
    };
    const Case cases[] = {
        {0, 0, 138, 135, 116, 0, 0},  {1, 1, 151, 142, 144, 1, 1},   {2, 2, 152, 145, 146, 2, 2},
        {3, 0, 141, 135, 116, 3, 0},  {4, 0, 139, 135, 116, 4, 0},   {5, 0, 150, 135, 116, 5, 0},
        {6, 0, 140, 135, 116, 6, 0},  {7, 0, 148, 135, 116, 7, 0},   {8, 0, 149, 135, 116, 8, 0},
        {12, 3, 138, 135, 116, 0, 0}, {-1, -1, 138, 135, 116, 0, 0},
    };
    for (const Case& c : cases) {
        MemorySettings settings;
        settings.ints["IDC_CBSQUARES"] = c.squares;
        settings.ints["IDC_CBPIECESETS"] = c.pieces;
        const StoredOptions options = loadOptions(settings);
        EXPECT_EQ(options.boardBitmapId, c.board) << "squares " << c.squares;
        EXPECT_EQ(options.pieceBitmapId24, c.pieces24) << "pieces " << c.pieces;
        EXPECT_EQ(options.pieceBitmapId30, c.pieces30) << "pieces " << c.pieces;
        saveOptions(settings, options);
        EXPECT_EQ(settings.ints["IDC_CBSQUARES"], c.savedSquares) << "squares " << c.squares;
        EXPECT_EQ(settings.ints["IDC_CBPIECESETS"], c.savedPieces) << "pieces " << c.pieces;
    }
    EXPECT_STREQ(boardTextureFor(12).name, "Blue Marble");
    EXPECT_STREQ(boardTextureFor(5).name, "Ash");
    EXPECT_STREQ(pieceSetFor(1).name, "Classic");
    EXPECT_EQ(storedBoardTexture(999), 0) << "a bitmap in no table is saved as 0";
    EXPECT_EQ(storedPieceSet(135), 0) << "a set is known by its 30-pixel strip";
}

TEST(Options, StoredFlagsAreTrueWhenNotZero) {
    MemorySettings settings;
    settings.ints["IDC_CBCOACH"] = 7;
    settings.ints["IDC_CBAUTOANSWER"] = 0;
    settings.ints["IDC_CBANIMATION"] = 9;
    const StoredOptions options = loadOptions(settings);
    EXPECT_TRUE(options.coach);
    EXPECT_FALSE(options.autoAnswer);
    EXPECT_EQ(options.animationSpeed, 9) << "kept as stored; the animation knows what to do";
}

TEST(Options, ADamagedSettingsFileGivesTheDefaults) {
    SettingsRoot root;
    std::filesystem::create_directories(std::filesystem::path(root.filePath()).parent_path());
    {
        std::ofstream file(root.filePath(), std::ios::binary | std::ios::trunc);
        file << "[software\\Tallowmere\\\x01\xff\n=====\nIDC_CBAUTOANSWER=\x80\x81\n\0\0garbage";
    }
    platform::registryReopen();
    CRegistrySettings settings(SETTINGS_KEY);
    EXPECT_TRUE(sameOptions(loadOptions(settings), StoredOptions()));
}
