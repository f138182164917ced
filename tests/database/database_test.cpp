#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "database/database.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_reader.h"

#include "../support/file_text.h"

namespace fs = std::filesystem;

namespace {

const std::string GAME_A = "[Event \"A\"]\r\n[White \"Anna\"]\r\n[Black \"Bert\"]\r\n"
                           "[Date \"2004.03.15\"]\r\n[Result \"1-0\"]\r\n[ECO \"C20\"]\r\n\r\n"
                           "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\r\n\r\n";
const std::string GAME_B = "[Event \"B\"]\r\n[White \"Bert\"]\r\n[Black \"Anna\"]\r\n"
                           "[Date \"2005.01.01\"]\r\n[Result \"0-1\"]\r\n[ECO \"A00\"]\r\n\r\n"
                           "1. f3 e5 2. g4 Qh4# 0-1\r\n\r\n";
const std::string GAME_C = "[Event \"C\"]\r\n[White \"Carl\"]\r\n[Black \"Dora\"]\r\n"
                           "[Date \"2004.12.31\"]\r\n[Result \"1/2-1/2\"]\r\n\r\n"
                           "1. d4 d5 1/2-1/2\r\n";
const std::string THREE_GAMES = GAME_A + GAME_B + GAME_C;

void spit(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string event(const std::unique_ptr<CGame>& game) {
    return game ? game->event().c_str() : "<none>";
}

std::string errorOf(const CDatabase& database) {
    int32_t code = -1;
    CText text;
    database.lastError(code, text);
    return std::to_string(code) + " " + text.c_str();
}

// A file of its own in a folder of its own for every test.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::temp_directory_path() /
                   (std::string("tallowmere-db-") + info->name() + "-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = (m_folder / "games.pgn").string();
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::unique_ptr<CPgnGame> gameWithEvent(const char* name) {
        auto game = std::make_unique<CPgnGame>();
        game->setEvent(CText(name));
        game->setRoot(new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0));
        game->setOptions(75, true, true, true, true, false);
        return game;
    }

    fs::path m_folder;
    std::string m_path;
    CPgnReader m_reader;
};

} // namespace

TEST_F(DatabaseTest, IndexesEveryGameWithItsTagsAndRange) {
    spit(m_path, THREE_GAMES);
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    const std::vector<GameIndexEntry>& index = database.index();
    ASSERT_EQ(index.size(), 3u);
    const int64_t ends[] = {int64_t(GAME_A.size()), int64_t(GAME_A.size() + GAME_B.size()),
                            int64_t(THREE_GAMES.size())};
    int64_t start = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(index[size_t(i)].number, i);
        EXPECT_EQ(index[size_t(i)].start, start);
        EXPECT_EQ(index[size_t(i)].end, ends[i]);
        start = ends[i];
    }
    const GameIndexEntry& a = index[0];
    EXPECT_EQ(std::string(a.white.c_str()) + a.black.c_str() + a.date.c_str() + a.event.c_str() +
                  a.eco.c_str() + a.site.c_str() + a.result.c_str(),
              "AnnaBert2004.03.15AC201-0");
    EXPECT_EQ(std::string(database.fileName().c_str()), m_path);
    EXPECT_EQ(std::string(database.toString().c_str()),
              "CDatabase::toString() not yet implemented");
    std::ostringstream out;
    database.toFile(out);
    EXPECT_EQ(out.str(), "CDatabase::toFile() not yet implemented");
}

TEST_F(DatabaseTest, ReadsGamesAndWrapsAround) {
    spit(m_path, THREE_GAMES);
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    EXPECT_EQ(event(database.readCurrent()), "A");
    EXPECT_EQ(event(database.readCurrent()), "A"); // reading puts the file back
    EXPECT_EQ(event(database.gameAt(2)), "C");
    EXPECT_EQ(event(database.next()), "A");
    EXPECT_EQ(database.current(), 0);
    EXPECT_EQ(event(database.previous()), "C");
    EXPECT_EQ(database.current(), 2);
    EXPECT_EQ(event(database.previous()), "B");
    EXPECT_EQ(event(database.gameAt(3)), "<none>");
    EXPECT_EQ(event(database.gameAt(-1)), "<none>");
    EXPECT_EQ(database.current(), 1);
    std::unique_ptr<CGame> game = database.gameAt(0);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->root()->subtreeSize(), 8u);

    database.close();
    EXPECT_FALSE(database.isOpen());
    EXPECT_TRUE(database.index().empty());
    EXPECT_EQ(event(database.readCurrent()), "<none>");
    EXPECT_EQ(event(database.next()), "<none>");
    EXPECT_FALSE(database.deleteAt(0));
}

TEST_F(DatabaseTest, EmptyMissingAndUnreadableFiles) {
    spit(m_path, "");
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    EXPECT_TRUE(database.index().empty());
    EXPECT_EQ(event(database.gameAt(0)), "<none>");
    EXPECT_EQ(event(database.next()), "<none>");

    const std::string missing = (m_folder / "missing.pgn").string();
    EXPECT_FALSE(database.open(missing.c_str()));
    EXPECT_EQ(errorOf(database), "1 File not found " + missing);
    EXPECT_FALSE(database.open(m_folder.string().c_str())) << "a folder is not a file";

    spit(m_path, GAME_A + "[Event \"Broken\"]\r\n\r\n1. e9 e4 *\r\n\r\n" + GAME_C);
    ASSERT_TRUE(database.open(m_path.c_str()));
    ASSERT_EQ(database.index().size(), 3u);
    EXPECT_EQ(event(database.gameAt(1)), "<none>");
    EXPECT_EQ(errorOf(database), "6 Error while parsing");
    EXPECT_EQ(event(database.gameAt(2)), "C");
}

TEST_F(DatabaseTest, ReplaceAndDeleteKeepTheOtherGamesByteForByte) {
    spit(m_path, THREE_GAMES);
    spit(m_path + ".bak", "stale backup");
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    auto replacement = gameWithEvent("New");
    ASSERT_TRUE(database.replaceAt(1, *replacement));
    const std::string written = replacement->toString().c_str();
    EXPECT_EQ(fileText(m_path), GAME_A + written + GAME_C);
    EXPECT_FALSE(fs::exists(m_path + ".bak"));
    EXPECT_FALSE(fs::exists(m_path + ".tmp"));
    ASSERT_EQ(database.index().size(), 3u);
    EXPECT_EQ(std::string(database.index()[1].event.c_str()), "New");
    EXPECT_EQ(database.current(), 0);

    EXPECT_EQ(event(database.gameAt(2)), "C");
    ASSERT_TRUE(database.deleteCurrent());
    EXPECT_EQ(fileText(m_path), GAME_A + written);
    EXPECT_EQ(database.current(), 2); // kept, though the file now holds two games
    EXPECT_EQ(event(database.previous()), "New");
    ASSERT_TRUE(database.replaceCurrent(*gameWithEvent("Last")));
    ASSERT_TRUE(database.deleteAt(0));
    ASSERT_EQ(database.index().size(), 1u);
    EXPECT_EQ(event(database.gameAt(0)), "Last");
    ASSERT_TRUE(database.deleteAt(0));
    EXPECT_EQ(fileText(m_path), "");
    EXPECT_TRUE(database.index().empty());
    EXPECT_FALSE(database.replaceAt(0, *replacement));
}

TEST_F(DatabaseTest, AppendAddsTheGameToAnyFile) {
    spit(m_path, GAME_A);
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    auto game = gameWithEvent("Appended");
    const std::string other = (m_folder / "other.pgn").string();
    ASSERT_TRUE(database.append(other.c_str(), *game));
    ASSERT_TRUE(database.append(m_path.c_str(), *game));
    EXPECT_EQ(fileText(other), std::string(game->toString().c_str()));
    EXPECT_EQ(database.index().size(), 1u) << "the open file's index is untouched";
    ASSERT_TRUE(database.open(m_path.c_str()));
    EXPECT_EQ(database.index().size(), 2u);

    const std::string impossible = (m_folder / "no" / "such" / "folder.pgn").string();
    EXPECT_FALSE(database.append(impossible.c_str(), *game));
    EXPECT_EQ(errorOf(database), "3 Could not open for appending " + impossible);
}

TEST_F(DatabaseTest, AppendingSafelyKeepsTheFileBytesAndStartsTheGameOnANewLine) {
    struct Case {
        std::string file;
        std::string separator; // what comes between the file and the game
    };
    // GAME_C ends with one line break, GAME_A with a blank line, and "1-0" with none.
    const Case cases[] = {{GAME_A, "\n"}, {GAME_C, "\n"}, {GAME_A + "1. e4 1-0", "\n\n"}, {"", ""}};
    for (const Case& c : cases) {
        spit(m_path, c.file);
        CDatabase database(m_reader);
        ASSERT_TRUE(database.open(m_path.c_str()));
        const size_t games = database.index().size();
        auto game = gameWithEvent("Appended");
        ASSERT_TRUE(database.appendSafely(*game)) << errorOf(database);
        EXPECT_EQ(fileText(m_path), c.file + c.separator + game->toString().c_str()) << c.file;
        EXPECT_FALSE(fs::exists(m_path + ".tmp"));
        ASSERT_EQ(database.index().size(), games + 1) << "the index follows the file";
        EXPECT_EQ(event(database.gameAt(int(games))), "Appended");
    }
}

TEST_F(DatabaseTest, AnIndexBuiltApartCanBeStoppedAndOpensTheFile) {
    spit(m_path, THREE_GAMES);
    std::ifstream stream(m_path, std::ios::binary);
    std::vector<GameIndexEntry> entries;
    std::vector<size_t> asked;
    EXPECT_FALSE(indexGames(m_reader, stream, entries, [&asked](int64_t, size_t games) {
        asked.push_back(games);
        return games < 2;
    })) << "stopped";
    EXPECT_EQ(asked, (std::vector<size_t>{1, 2}));
    ASSERT_EQ(entries.size(), 2u);

    stream.clear();
    stream.seekg(0);
    entries.clear();
    int64_t last = 0;
    EXPECT_TRUE(indexGames(m_reader, stream, entries, [&last](int64_t position, size_t) {
        last = position;
        return true;
    }));
    EXPECT_EQ(last, int64_t(THREE_GAMES.size()));
    CDatabase database(m_reader);
    ASSERT_TRUE(database.openIndexed(m_path.c_str(), entries));
    EXPECT_EQ(database.index().size(), 3u);
    EXPECT_EQ(event(database.gameAt(2)), "C");
    EXPECT_EQ(event(database.gameAt(0)), "A");
    EXPECT_FALSE(database.openIndexed((m_folder / "gone.pgn").string().c_str(), entries));
    EXPECT_FALSE(database.isOpen());
}

TEST_F(DatabaseTest, EntriesHandedOverInBatchesCountOnAndKnowTheirMoves) {
    // Game A counts 7 plies, B holds a PlyCount that wins over its 4, C a PlyCount that is
    // no number.
    std::string b = GAME_B;
    b.insert(b.find("[Result"), "[PlyCount \"40\"]\r\n");
    std::string c = GAME_C;
    c.insert(c.find("[Result"), "[PlyCount \"many\"]\r\n");
    spit(m_path, GAME_A + b + c);
    std::ifstream stream(m_path, std::ios::binary);
    std::vector<GameIndexEntry> batch;
    std::vector<GameIndexEntry> handed;
    EXPECT_TRUE(indexGames(m_reader, stream, batch, [&](int64_t, size_t) {
        handed.insert(handed.end(), batch.begin(), batch.end());
        batch.clear();
        return true;
    }));
    ASSERT_EQ(handed.size(), 3u);
    std::vector<std::pair<int32_t, int32_t>> seen; // number and plies
    for (const GameIndexEntry& entry : handed)
        seen.emplace_back(entry.number, entry.plies);
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{0, 7}, {1, 40}, {2, 2}}));
    EXPECT_EQ(fullMoves(7), 4);
    EXPECT_EQ(fullMoves(2), 1);
    EXPECT_EQ(fullMoves(0), 0);
    EXPECT_EQ(fullMoves(-1), -1) << "not known stays not known";
}

TEST_F(DatabaseTest, ErrorTexts) {
    CDatabase database(m_reader);
    struct Case {
        int32_t code;
        const char* argument;
        std::string text;
    };
    const Case cases[] = {
        {0, nullptr, "0 "},
        {1, "x.pgn", "1 File not found x.pgn"},
        {1, nullptr, "1 File not found "},
        {2, "x.tmp", "2 Could not open for writing x.tmp"},
        {3, "y", "3 Could not open for appending y"},
        {4, "ignored", "4 Error while reading"},
        {5, nullptr, "5 Error while writing"},
        {6, nullptr, "6 Error while parsing"},
        {7, nullptr, "7 Seek failed"},
        {8, nullptr, "8 Out of memory"},
        {9, "x", "9 Unknown error"},
        {1000, nullptr, "1000 Unknown error"},
    };
    for (const Case& test : cases) {
        database.setError(test.code, test.argument);
        EXPECT_EQ(errorOf(database), test.text);
    }
}

TEST(GameFilter, MatchesEveryCriterion) {
    GameIndexEntry entry;
    entry.white = "Kasparov, Garry";
    entry.black = "Karpov, Anatoly";
    entry.date = "2004.03.15";
    entry.event = "World Championship";
    entry.eco = "B20";
    entry.result = "1/2-1/2";
    struct Case {
        const char* name;
        void (*set)(GameFilter&);
        bool matches;
    };
    const Case cases[] = {
        {"empty filter", [](GameFilter&) {}, true},
        {"white", [](GameFilter& f) { f.playerA = "kasparov"; }, true},
        {"white is not black", [](GameFilter& f) { f.playerA = "karpov"; }, false},
        {"white as either colour",
         [](GameFilter& f) {
             f.playerA = "KARPOV";
             f.anyColour = true;
         },
         true},
        {"black", [](GameFilter& f) { f.playerB = "anatoly"; }, true},
        {"black as either colour",
         [](GameFilter& f) {
             f.playerB = "garry";
             f.anyColour = true;
         },
         true},
        {"event", [](GameFilter& f) { f.event = "champion"; }, true},
        {"other event", [](GameFilter& f) { f.event = "open"; }, false},
        {"eco", [](GameFilter& f) { f.eco = "b2"; }, true},
        {"draw", [](GameFilter& f) { f.draw = true; }, true},
        {"wins",
         [](GameFilter& f) {
             f.whiteWins = true;
             f.blackWins = true;
         },
         false},
        {"range around the date",
         [](GameFilter& f) {
             f.dateFrom = "2004.01.01";
             f.dateTo = "2004.12.31";
         },
         true},
        {"range after the date",
         [](GameFilter& f) {
             f.dateFrom = "2004.03.16";
             f.dateTo = "2004.12.31";
         },
         false},
        {"date from without end", [](GameFilter& f) { f.dateFrom = "2004.03"; }, true},
        {"date to alone", [](GameFilter& f) { f.dateTo = "2004"; }, true},
    };
    for (const Case& test : cases) {
        GameFilter filter;
        test.set(filter);
        EXPECT_EQ(matchesFilter(filter, entry), test.matches) << test.name;
    }
    entry.date = "2005.01.01";
    GameFilter year;
    year.dateFrom = "2004.01.01";
    year.dateTo = "2004.12.31";
    EXPECT_FALSE(matchesFilter(year, entry));
}

TEST(GameFilter, DatesCompareAsTheDaysTheyStandFor) {
    struct Case {
        const char* date;
        const char* from;
        const char* to;
        bool matches;
    };
    const Case cases[] = {
        // Across the end of a year, both boundaries included.
        {"2005.01.05", "2004.12.01", "2005.01.31", true},
        {"2004.12.01", "2004.12.01", "2005.01.31", true},
        {"2005.01.31", "2004.12.01", "2005.01.31", true},
        {"2004.11.30", "2004.12.01", "2005.01.31", false},
        {"2005.02.01", "2004.12.01", "2005.01.31", false},
        {"2004.03.15", "1990.01.01", "2010.12.31", true},
        // A date known in part matches when any day it may be lies in the range.
        {"2005.??.??", "2004.12.01", "2005.01.31", true},
        {"2005.??.??", "2005.03.01", "2005.03.31", true},
        {"2005.??.??", "2006.01.01", "2006.12.31", false},
        {"2005", "2005.06.01", "2005.06.30", true},
        {"2005.01.??", "2005.01.20", "", true},
        {"2005.01.??", "2005.02.01", "", false},
        {"19??.??.??", "1950.01.01", "1950.12.31", true},
        {"19??.??.??", "2000.01.01", "", false},
        // Nothing known, or no date at all: no range holds it.
        {"????.??.??", "1000.01.01", "2999.12.31", false},
        {"", "2000", "", false},
        {"unknown", "", "2100", false},
        // One boundary alone leaves the range open at the other end.
        {"2005.01.05", "2005.01.05", "", true},
        {"2010.06.01", "2005.01.05", "", true},
        {"2005.01.04", "2005.01.05", "", false},
        {"1850.01.01", "", "2005.01.05", true},
        {"2005.01.05", "", "2005.01.05", true},
        {"2005.01.06", "", "2005.01.05", false},
        // A boundary in part stands for its widest span.
        {"2004.07.01", "2004", "2004", true},
        {"2004.12.31", "2004", "2004", true},
        {"2005.01.01", "2004", "2004", false},
        {"2004.02.29", "2004.02", "2004.02", true},
        {"2004.03.01", "2004.02", "2004.02", false},
        {"2004-03-15", "2004/03/01", " 2004.03.31 ", true},
        // A boundary that is no date holds nothing; no range holds everything.
        {"2004.03.15", "March", "", false},
        {"2004.03.15", "2004.13.01", "", false},
        {"2004.03.15", "", "", true},
        {"unknown", "", "", true},
    };
    for (const Case& test : cases) {
        GameIndexEntry entry;
        entry.date = test.date;
        GameFilter filter;
        filter.dateFrom = test.from;
        filter.dateTo = test.to;
        EXPECT_EQ(matchesFilter(filter, entry), test.matches)
            << test.date << " in " << test.from << " - " << test.to;
    }
    for (const char* date : {"2004.03.15", "2004", "2004.3", "19??.??.??", "2004/03/15"})
        EXPECT_TRUE(isDateText(CText(date))) << date;
    for (const char* date : {"", "????.??.??", "March", "2004.13.01", "2004.03.32", "2004.1.2.3",
                             "20045.01.01", "2004.03.15x"})
        EXPECT_FALSE(isDateText(CText(date))) << date;
}

TEST_F(DatabaseTest, FilterNumbersMatchesByTheirPlaceInTheFile) {
    spit(m_path, THREE_GAMES);
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    GameFilter filter;
    filter.playerA = "anna";
    filter.anyColour = true;
    std::vector<int32_t> matches;
    database.filter(filter, matches);
    EXPECT_EQ(matches, (std::vector<int32_t>{0, 1}));
    filter.dateFrom = "2004.01.01";
    filter.dateTo = "2004.12.31";
    database.filter(filter, matches);
    EXPECT_EQ(matches, std::vector<int32_t>{0});
}
