#include "database/game_filter.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

bool contains(const CText& text, const CText& pattern) {
    return text.containsNoCase(pattern) != 0;
}

// The days a date text may stand for, as year * 10000 + month * 100 + day.
struct DaySpan {
    int32_t first;
    int32_t last;
};

// One field of a date, whose unknown digits are written "?": the lowest and the
// highest value it may stand for, kept within lowest and highest. A missing
// field stands for every value. False for a field that is neither.
bool readDateField(const std::string& field, size_t digits, int32_t lowest, int32_t highest,
                   int32_t& low, int32_t& high) {
    if (field.size() > digits || field.find_first_not_of("0123456789?") != std::string::npos)
        return false;
    low = 0;
    high = 0;
    for (const char c : field) {
        low = low * 10 + (c == '?' ? 0 : c - '0');
        high = high * 10 + (c == '?' ? 9 : c - '0');
    }
    if (field.empty()) high = highest;
    low = std::max(low, lowest);
    high = std::min(high, highest);
    return low <= high;
}

// False for a text that is no date, and for one without a single known digit.
bool readDaySpan(const CText& text, DaySpan& span) {
    std::string date = text.c_str();
    const size_t first = date.find_first_not_of(' ');
    date = first == std::string::npos ? ""
                                      : date.substr(first, date.find_last_not_of(' ') - first + 1);
    if (date.find_first_of("0123456789") == std::string::npos) return false;
    std::string fields[3];
    int count = 0;
    for (const char c : date) {
        if (c != '.' && c != '-' && c != '/') {
            fields[count] += c;
        } else if (++count == 3) {
            return false;
        }
    }
    int32_t year[2], month[2], day[2];
    if (!readDateField(fields[0], 4, 0, 9999, year[0], year[1]) ||
        !readDateField(fields[1], 2, 1, 12, month[0], month[1]) ||
        !readDateField(fields[2], 2, 1, 31, day[0], day[1]))
        return false;
    span.first = year[0] * 10000 + month[0] * 100 + day[0];
    span.last = year[1] * 10000 + month[1] * 100 + day[1];
    return true;
}

bool matchesDate(const GameFilter& filter, const CText& date) {
    if (filter.dateFrom.isEmpty() && filter.dateTo.isEmpty()) return true;
    DaySpan game{}, from{INT32_MIN, INT32_MIN}, to{INT32_MAX, INT32_MAX};
    if (!readDaySpan(date, game)) return false;
    if (!filter.dateFrom.isEmpty() && !readDaySpan(filter.dateFrom, from)) return false;
    if (!filter.dateTo.isEmpty() && !readDaySpan(filter.dateTo, to)) return false;
    return game.last >= from.first && game.first <= to.last;
}

bool matchesResult(const GameFilter& filter, const CText& result) {
    if (!filter.whiteWins && !filter.draw && !filter.blackWins && !filter.unfinished) return true;
    return (filter.whiteWins && contains(result, CText("1-0"))) ||
           (filter.draw && contains(result, CText("1/2"))) ||
           (filter.blackWins && contains(result, CText("0-1"))) ||
           (filter.unfinished && contains(result, CText("*")));
}

} // namespace

bool isDateText(const CText& text) {
    DaySpan span{};
    return readDaySpan(text, span);
}

bool matchesFilter(const GameFilter& filter, const GameIndexEntry& entry) {
    if (!filter.playerA.isEmpty() && !contains(entry.white, filter.playerA) &&
        !(filter.anyColour && contains(entry.black, filter.playerA)))
        return false;
    if (!filter.playerB.isEmpty() && !contains(entry.black, filter.playerB) &&
        !(filter.anyColour && contains(entry.white, filter.playerB)))
        return false;
    return contains(entry.event, filter.event) && matchesDate(filter, entry.date) &&
           matchesResult(filter, entry.result) && contains(entry.eco, filter.eco);
}
