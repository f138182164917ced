// CText growth (inline up to 15 characters, then doubling of the needed size),
// case-blind search, and the owner rule that keeps byte images from freeing.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "base/text.h"

namespace {

TEST(Text, GrowthFollowsTheNeededSize) {
    struct {
        const char* start;
        const char* added;
        bool assign;
        uint32_t capacity;
        bool inlineAfter;
    } cases[] = {
        {"", "abc", false, 16, true},                  // short appends stay inline
        {"", "123456789012345", false, 16, true},      // 15 characters still fit
        {"", "12345678901234567890", true, 42, false}, // assign: (20 + 1) * 2
        {"", "1234567890123456", false, 36, false},    // append a text: (16 + 2) * 2
        {"abc", "12345678901234567890", false, 50, false},
        {"", "", false, 16, true},
    };
    for (const auto& c : cases) {
        CText text(c.start);
        if (c.assign)
            text = c.added;
        else
            text.append(c.added);
        EXPECT_EQ(text.capacity(), c.capacity) << c.start << " + " << c.added;
        EXPECT_EQ(text.isInline(), c.inlineAfter);
        EXPECT_EQ(std::string(text.c_str()), std::string(c.start) + c.added);
        EXPECT_EQ(text.length(), std::strlen(text.c_str()));
    }
}

TEST(Text, SixteenthCharacterMovesToAHeapBlockOf34) {
    CText text("123456789012345");
    EXPECT_TRUE(text.isInline());
    text.append('6');
    EXPECT_FALSE(text.isInline());
    EXPECT_EQ(text.capacity(), 34u);
    EXPECT_EQ(text, "1234567890123456");
    // Once on the heap the text never goes back, and the capacity only grows.
    text = "a";
    EXPECT_FALSE(text.isInline());
    EXPECT_EQ(text.capacity(), 34u);
}

TEST(Text, CharactersAndSelfReference) {
    EXPECT_EQ(CText('x'), "x");
    EXPECT_EQ(CText(char(0)), "");
    CText text("ab");
    text.append(char(0));
    EXPECT_EQ(text, "ab");
    text = text; // self-assignment changes nothing
    text = text.c_str();
    EXPECT_EQ(text, "ab");
    CText copy(text);
    EXPECT_EQ(copy, text);
    copy += "cd";
    EXPECT_EQ(text, "ab") << "a copy owns its own storage";
    // Appending the text to itself across a reallocation must not read freed memory.
    CText grown("0123456789");
    for (int i = 0; i < 4; ++i)
        grown.append(grown.c_str());
    EXPECT_EQ(grown.length(), 160u);
    EXPECT_EQ(std::string(grown.c_str(), 20), "01234567890123456789");
}

TEST(Text, ContainsNoCase) {
    struct {
        const char* text;
        const char* needle;
        int found;
    } cases[] = {
        {"kasparov, garry", "KASPAROV", 1},
        {"Kasparov", "sparov", 1},
        {"abc", "", 1},
        {"", "", 1},
        {"abc", "abcd", 0},
        {"abc", "abd", 0},
        {"aab", "ab", 1},
        {"\xc9t\xe9", "\xe9", 1}, // bytes above 127 compare as they are
        {"\xc9", "\xe9", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CText(c.text).containsNoCase(CText(c.needle)), c.found)
            << c.text << " / " << c.needle;
    EXPECT_EQ(CText::lowerCase('Q'), 'q');
    EXPECT_EQ(CText::lowerCase('['), '[');
}

TEST(Text, AByteImageNeverFreesTheBlockItShares) {
    CText original("a text long enough to live on the heap");
    alignas(CText) unsigned char image[sizeof(CText)];
    std::memcpy(static_cast<void*>(image), static_cast<const void*>(&original), sizeof(CText));
    CText* copy = std::launder(reinterpret_cast<CText*>(image));
    EXPECT_EQ(*copy, original);
    copy->~CText(); // not the owner: the block stays (ASan would report a double free)
    EXPECT_EQ(original, "a text long enough to live on the heap");
}

} // namespace
