#include "settings/list_text.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <limits>

#include "base/text.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

template <typename Item> void checkItems(int32_t count, const Item* items) {
    assert(count <= 0 || items);
    (void)count;
    (void)items;
}

// Numbers joined by commas. to_chars gives the shortest text that reads back as the same
// value, whatever the locale.
template <typename Number> CText numberListText(int32_t count, const Number* values) {
    checkItems(count, values);
    CText text;
    char number[32];
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) {
            text.append(',');
        }
        const auto written = std::to_chars(number, number + sizeof number - 1, values[i]);
        *written.ptr = 0;
        text.append(number);
    }
    return text;
}

} // namespace

CText boolListText(int32_t count, const bool* values) {
    checkItems(count, values);
    CText text;
    for (int32_t i = 0; i < count; ++i) {
        text.append(values[i] ? '1' : '0');
    }
    return text;
}

int32_t readBoolList(const CText& text, int32_t capacity, bool* out) {
    int32_t stored = 0;
    for (uint32_t i = 0; i < text.length() && stored < capacity; ++i) {
        if (text[i] == '0' || text[i] == '1') {
            out[stored++] = text[i] == '1';
        }
    }
    return stored;
}

CText intListText(int32_t count, const int32_t* values) {
    return numberListText(count, values);
}

int32_t readIntList(const CText& text, int32_t capacity, int32_t* out) {
    // A run of digits longer than an int32 holds is kept at the nearest value it can hold.
    constexpr int64_t BEYOND = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int32_t stored = 0;
    uint32_t i = 0;
    while (i < text.length() && stored < capacity) {
        if (!isDigit(text[i])) {
            ++i;
            continue;
        }
        // Only a "-" that starts a number is its sign: in 12-34 it separates.
        const bool negative = i > 0 && text[i - 1] == '-' && (i < 2 || !isDigit(text[i - 2]));
        int64_t magnitude = 0;
        for (; i < text.length() && isDigit(text[i]); ++i) {
            if (magnitude < BEYOND) {
                magnitude = magnitude * 10 + (text[i] - '0');
            }
        }
        if (magnitude > BEYOND) {
            magnitude = BEYOND;
        }
        out[stored++] = int32_t(negative ? -magnitude : std::min(magnitude, BEYOND - 1));
    }
    return stored;
}

CText doubleListText(int32_t count, const double* values) {
    return numberListText(count, values);
}

int32_t readDoubleList(const CText& text, int32_t capacity, double* out) {
    int32_t stored = 0;
    const char* item = text.data();
    const char* const end = text.data() + text.length();
    while (item < end && stored < capacity) {
        const char* itemEnd = item;
        while (itemEnd < end && *itemEnd != ',') {
            ++itemEnd;
        }
        const char* first = item;
        const char* last = itemEnd;
        while (first < last && *first == ' ') {
            ++first;
        }
        while (last > first && last[-1] == ' ') {
            --last;
        }
        double value = 0;
        const auto read = std::from_chars(first, last, value);
        if (first < last && read.ec == std::errc() && read.ptr == last) {
            out[stored++] = value;
        }
        item = itemEnd + 1;
    }
    return stored;
}

CText stringListText(int32_t count, const CText* values) {
    checkItems(count, values);
    CText text;
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) {
            text.append(',');
        }
        text.append('"');
        for (uint32_t c = 0; c < values[i].length(); ++c) {
            if (values[i][c] == '"') {
                text.append('"');
            }
            text.append(values[i][c]);
        }
        text.append('"');
    }
    return text;
}

int32_t readStringList(const CText& text, int32_t capacity, CText* out) {
    int32_t stored = 0;
    uint32_t i = 0;
    while (i < text.length() && stored < capacity) {
        if (text[i++] != '"') {
            continue;
        }
        CText item;
        while (i < text.length()) {
            if (text[i] != '"') {
                item.append(text[i++]);
            } else if (i + 1 < text.length() && text[i + 1] == '"') {
                item.append('"');
                i += 2;
            } else {
                ++i;
                break;
            }
        }
        out[stored++] = item;
    }
    return stored;
}
