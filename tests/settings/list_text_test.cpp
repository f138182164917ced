// The text forms of the lists: what a reader makes of stored text, including text the
// program never writes, and that every list the writers make reads back the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/text.h"
#include "settings/list_text.h"

namespace {

std::vector<CText> texts(const std::vector<std::string>& items) {
    std::vector<CText> result;
    for (const std::string& item : items) {
        result.emplace_back(item.c_str());
    }
    return result;
}

} // namespace

TEST(ListText, IntListsReadDigitRunsAndSkipEverythingElse) {
    struct Case {
        const char* text;
        int32_t capacity;
        std::vector<int32_t> items;
    };
    const Case cases[] = {
        {"12,34,56", 2, {12, 34}},
        {"12,34,56", 8, {12, 34, 56}},
        {"7, x8", 8, {7, 8}},
        {"", 8, {}},
        {"abc", 8, {}},
        {"0", 8, {0}},
        {"12,34", 0, {}},
        {"-5,7", 8, {-5, 7}},
        {"12-34", 8, {12, 34}},  // a minus after a digit separates
        {"--5,- 6", 8, {-5, 6}}, // only the minus right before the digits signs
        {"007", 8, {7}},
        {"2147483647,-2147483648", 8, {2147483647, std::numeric_limits<int32_t>::min()}},
        {"99999999999,-99999999999", 8, {2147483647, std::numeric_limits<int32_t>::min()}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> out(8, 99);
        const int32_t stored = readIntList(c.text, c.capacity, out.data());
        ASSERT_EQ(stored, int32_t(c.items.size())) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(out[i], c.items[i]) << c.text << " item " << i;
        }
        EXPECT_EQ(out[c.items.size()], 99) << c.text << ": nothing beyond the items stored";
    }
}

TEST(ListText, BoolListsReadOnesAndZerosAndSkipTheRest) {
    struct Case {
        const char* text;
        int32_t capacity;
        std::vector<bool> items;
    };
    const Case cases[] = {
        {"101", 8, {true, false, true}},
        {"1 0 1", 8, {true, false, true}},
        {"", 8, {}},
        {"x2y", 8, {}},
        {"1101", 2, {true, true}},
    };
    for (const Case& c : cases) {
        bool out[8] = {};
        const int32_t stored = readBoolList(c.text, c.capacity, out);
        ASSERT_EQ(stored, int32_t(c.items.size())) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(out[i], c.items[i]) << c.text << " item " << i;
        }
    }
}

TEST(ListText, StringListsReadQuotedItems) {
    struct Case {
        const char* text;
        int32_t capacity;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"\"a\",\"b\"", 8, {"a", "b"}},
        {"\"a\",\"b\"", 1, {"a"}},
        {"", 8, {}},
        {"no quotes", 8, {}},
        {"x\"a\" junk \"b", 8, {"a", "b"}}, // an unclosed item runs to the end
        {"\"\",\"\"", 8, {"", ""}},
        {"\"say \"\"hi\"\"\",\"c\"", 8, {"say \"hi\"", "c"}},
        {"\"a,b\"", 8, {"a,b"}},
    };
    for (const Case& c : cases) {
        std::vector<CText> out(8, CText("untouched"));
        const int32_t stored = readStringList(c.text, c.capacity, out.data());
        ASSERT_EQ(stored, int32_t(c.items.size())) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_STREQ(out[i].c_str(), c.items[i].c_str()) << c.text << " item " << i;
        }
        EXPECT_STREQ(out[c.items.size()].c_str(), "untouched") << c.text;
    }
}

TEST(ListText, DoubleListsReadNumbersBetweenCommas) {
    struct Case {
        const char* text;
        std::vector<double> items;
    };
    const Case cases[] = {
        {"0.5,-2,1e+300", {0.5, -2, 1e300}},
        {" 1.25 , 3", {1.25, 3}},
        {"1,x,2", {1, 2}}, // an item that is no number is skipped
        {"1.5.5,2", {2}},  // so is one with more after the number
        {",,", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        double out[8] = {};
        const int32_t stored = readDoubleList(c.text, 8, out);
        ASSERT_EQ(stored, int32_t(c.items.size())) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(out[i], c.items[i]) << c.text << " item " << i;
        }
    }
}

TEST(ListText, WrittenListsHaveTheirFormsAndReadBackTheSame) {
    const int32_t ints[] = {12,
                            34,
                            56,
                            0,
                            -7,
                            std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max()};
    EXPECT_STREQ(intListText(3, ints).c_str(), "12,34,56");
    EXPECT_STREQ(intListText(7, ints).c_str(), "12,34,56,0,-7,-2147483648,2147483647");
    int32_t intsBack[7] = {};
    ASSERT_EQ(readIntList(intListText(7, ints), 7, intsBack), 7);
    EXPECT_TRUE(std::equal(ints, ints + 7, intsBack));

    const bool bools[] = {true, false, true};
    EXPECT_STREQ(boolListText(3, bools).c_str(), "101");

    const std::vector<CText> strings = texts({"a", "b", "", "with \"quotes\"", "c,d"});
    EXPECT_STREQ(stringListText(2, strings.data()).c_str(), "\"a\",\"b\"");
    std::vector<CText> stringsBack(5);
    ASSERT_EQ(readStringList(stringListText(5, strings.data()), 5, stringsBack.data()), 5);
    for (size_t i = 0; i < strings.size(); ++i) {
        EXPECT_EQ(stringsBack[i], strings[i]) << i;
    }

    const double doubles[] = {0.1,
                              -0.0,
                              1e-310,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::infinity(),
                              -2.5};
    double doublesBack[6] = {};
    ASSERT_EQ(readDoubleList(doubleListText(6, doubles), 6, doublesBack), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(doublesBack[i], doubles[i]) << i;
        EXPECT_EQ(std::signbit(doublesBack[i]), std::signbit(doubles[i])) << i;
    }

    EXPECT_TRUE(intListText(0, nullptr).isEmpty());
    EXPECT_TRUE(stringListText(0, nullptr).isEmpty());
}
