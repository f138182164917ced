#include "database/game_filter.h"

namespace {

bool contains(const CText& text, const CText& pattern) {
    return text.containsNoCase(pattern) != 0;
}

// A date pattern that is not in the game's date is raised day by day (as a
// decimal number, so 2004.01.09 becomes 2004.01.10) up to the end of the range:
// partial dates such as "2004.03" in an entry still match a range around them.
bool matchesDate(const GameFilter& filter, const CText& date) {
    std::string pattern =
        filter.dateFrom.isEmpty() ? filter.dateTo.c_str() : filter.dateFrom.c_str();
    if (pattern.empty()) return true;
    if (contains(date, CText(pattern.c_str()))) return true;
    const std::string last = filter.dateTo.c_str();
    for (int raises = 0; raises < MAX_DATE_RAISES; ++raises) {
        if (!raiseDate(pattern)) return false;
        if (!(pattern <= last)) return false;
        if (contains(date, CText(pattern.c_str()))) return true;
    }
    return false;
}

bool matchesResult(const GameFilter& filter, const CText& result) {
    if (!filter.whiteWins && !filter.draw && !filter.blackWins && !filter.unfinished) return true;
    return (filter.whiteWins && contains(result, CText("1-0"))) ||
           (filter.draw && contains(result, CText("1/2"))) ||
           (filter.blackWins && contains(result, CText("0-1"))) ||
           (filter.unfinished && contains(result, CText("*")));
}

} // namespace

bool raiseDate(std::string& date) {
    for (size_t i = date.size(); i-- > 0;) {
        char& c = date[i];
        if (c < '0' || c > '9') continue;
        if (c != '9') {
            ++c;
            return true;
        }
        c = '0';
    }
    return false;
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
