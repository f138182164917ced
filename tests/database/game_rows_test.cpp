#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "database/game_rows.h"

namespace {

GameIndexEntry entry(int number, const char* white, const char* date, int plies) {
    GameIndexEntry made;
    made.number = number;
    made.white = white;
    made.black = "Someone";
    made.date = date;
    made.result = number % 2 ? "1-0" : "0-1";
    made.plies = plies;
    return made;
}

std::vector<int32_t> finished(CGameRows& rows, size_t budget) {
    for (int guard = 0; guard < 1000000 && !rows.step(budget); ++guard) {}
    return rows.rows();
}

std::string lower(const char* text) {
    std::string folded = text;
    for (char& c : folded)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

using Rows = std::vector<int32_t>;

} // namespace

TEST(GameRows, SortsByEveryOrderEitherWayWithEqualValuesInTheFilesOrder) {
    const std::vector<GameIndexEntry> entries = {
        entry(0, "carlsen", "2005.01.02", 40), entry(1, "Anand", "2004.12.30", -1),
        entry(2, "Carlsen", "2005.??.??", 9),  entry(3, "anand", "2003", 100),
        entry(4, "Aronian", "2005.01.02", 9),
    };
    struct Case {
        GameOrder order;
        bool ascending;
        Rows rows;
    };
    const Case cases[] = {
        {GameOrder::FILE, true, {0, 1, 2, 3, 4}},   {GameOrder::FILE, false, {4, 3, 2, 1, 0}},
        {GameOrder::WHITE, true, {1, 3, 4, 0, 2}},  {GameOrder::WHITE, false, {0, 2, 4, 1, 3}},
        {GameOrder::DATE, true, {3, 1, 0, 4, 2}},   {GameOrder::MOVES, true, {1, 2, 4, 0, 3}},
        {GameOrder::MOVES, false, {3, 0, 2, 4, 1}}, {GameOrder::RESULT, true, {0, 2, 4, 1, 3}},
    };
    for (const Case& test : cases) {
        for (size_t budget : {size_t(1), size_t(3), size_t(100000)}) {
            CGameRows rows(entries);
            rows.setOrder(test.order, test.ascending);
            EXPECT_EQ(finished(rows, budget), test.rows)
                << int(test.order) << (test.ascending ? " up" : " down") << ", budget " << budget;
            EXPECT_EQ(rows.matches(), entries.size());
        }
    }
}

TEST(GameRows, ASortInSmallStepsAgreesWithOneSortOfEverything) {
    // Many runs and merge passes, with a budget that stops them anywhere.
    const char* const names[] = {"Anand", "anand", "Carlsen", "Kramnik", "Leko", "Topalov", ""};
    std::mt19937 random(14);
    std::vector<GameIndexEntry> entries;
    for (int n = 0; n < 5000; ++n)
        entries.push_back(entry(n, names[random() % 7], "2005", int(random() % 90) - 1));
    GameFilter filter;
    filter.playerA = "a"; // all but Leko and the nameless
    for (const GameOrder order : {GameOrder::WHITE, GameOrder::MOVES}) {
        Rows expected;
        for (int32_t n = 0; n < int32_t(entries.size()); ++n)
            if (matchesFilter(filter, entries[size_t(n)])) expected.push_back(n);
        std::stable_sort(expected.begin(), expected.end(), [&](int32_t a, int32_t b) {
            const GameIndexEntry& x = entries[size_t(a)];
            const GameIndexEntry& y = entries[size_t(b)];
            return order == GameOrder::MOVES ? fullMoves(x.plies) > fullMoves(y.plies)
                                             : lower(x.white.c_str()) > lower(y.white.c_str());
        });
        CGameRows rows(entries);
        rows.setOrder(order, false);
        rows.setFilter(filter);
        EXPECT_EQ(finished(rows, 37), expected) << int(order);
    }
}

TEST(GameRows, RowsFollowTheEntriesAppendedAndOnlyASortedListIsLaidOutAgain) {
    std::vector<GameIndexEntry> entries = {entry(0, "Leko", "2005", 1),
                                           entry(1, "Anand", "2005", 2)};
    CGameRows rows(entries);
    EXPECT_EQ(finished(rows, 100), (Rows{0, 1}));
    uint32_t layout = rows.layout();
    entries.push_back(entry(2, "Carlsen", "2005", 3));
    EXPECT_FALSE(rows.isDone()) << "an entry appended is work to do";
    EXPECT_EQ(finished(rows, 100), (Rows{0, 1, 2}));
    EXPECT_EQ(rows.layout(), layout) << "in the file's order rows are only added";

    rows.setOrder(GameOrder::WHITE, true);
    EXPECT_EQ(finished(rows, 100), (Rows{1, 2, 0}));
    layout = rows.layout();
    for (const char* name : {"Aronian", "Topalov", "Kramnik"})
        entries.push_back(entry(int(entries.size()), name, "2005", 0));
    EXPECT_EQ(finished(rows, 2), (Rows{1, 3, 2, 5, 0, 4}));
    EXPECT_NE(rows.layout(), layout) << "sorted rows come in between";
}

TEST(GameRows, ANewSearchOrOrderMidWayStartsOverAndShowsWhatIsKnown) {
    std::vector<GameIndexEntry> entries;
    for (int n = 0; n < 3000; ++n)
        entries.push_back(entry(n, n % 3 ? "Anand" : "Leko", "2005", n % 50));
    CGameRows rows(entries);
    rows.step(100);
    EXPECT_EQ(rows.rows().size(), 100u) << "in the file's order the matches show as found";
    GameFilter leko;
    leko.playerA = "leko";
    rows.setFilter(leko);
    rows.step(30);
    EXPECT_EQ(rows.matches(), 10u);
    rows.setOrder(GameOrder::MOVES, false);
    EXPECT_EQ(rows.rows().size(), 10u) << "the rows found so far stay until the sort is done";
    rows.step(3000);
    rows.step(50); // the sort begins
    rows.setFilter(GameFilter{});
    const Rows all = finished(rows, 500);
    ASSERT_EQ(all.size(), entries.size());
    EXPECT_EQ(entries[size_t(all.front())].plies, 49);
    EXPECT_EQ(all.front(), 49);
    EXPECT_EQ(all.back(), 2950) << "equal moves keep the file's order, downwards too";
}
