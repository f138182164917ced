#include "database/game_rows.h"

#include <algorithm>

namespace {

// Rows sorted whole before the merging starts; a run costs about RUN_COST per row.
constexpr size_t RUN = 1024;
constexpr size_t RUN_COST = 10;

int compareNoCase(const CText& a, const CText& b) {
    const uint32_t length = std::min(a.length(), b.length());
    for (uint32_t i = 0; i < length; ++i) {
        const char x = CText::lowerCase(a[i]);
        const char y = CText::lowerCase(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.length() == b.length() ? 0 : a.length() < b.length() ? -1 : 1;
}

const CText& textOf(const GameIndexEntry& entry, GameOrder order) {
    switch (order) {
    case GameOrder::WHITE:
        return entry.white;
    case GameOrder::BLACK:
        return entry.black;
    case GameOrder::RESULT:
        return entry.result;
    case GameOrder::DATE:
        return entry.date;
    case GameOrder::EVENT:
        return entry.event;
    default:
        return entry.eco;
    }
}

} // namespace

CGameRows::CGameRows(const std::vector<GameIndexEntry>& entries) : m_entries(entries) {
    setFilter(GameFilter{});
}

void CGameRows::setFilter(const GameFilter& filter) {
    m_filter = filter;
    m_scanned = 0;
    m_work.clear();
    m_fresh.clear();
    m_merged.clear();
    m_phase = Phase::FILTERING;
    if (showsWork()) ++m_layout;
}

void CGameRows::setOrder(GameOrder order, bool ascending) {
    // What shows now keeps showing until the rows are sorted the new way.
    if (showsWork()) m_rows = m_work;
    m_order = order;
    m_ascending = ascending;
    if (m_phase == Phase::FILTERING) return;
    if (m_phase == Phase::DONE) {
        m_work = m_rows;
        m_work.insert(m_work.end(), m_fresh.begin(), m_fresh.end());
        m_fresh.clear();
    }
    // Mid-sort, m_work still holds every row: a merge pass only reads from it.
    beginSort();
}

bool CGameRows::showsWork() const {
    return m_phase == Phase::FILTERING && m_order == GameOrder::FILE && m_ascending;
}

const std::vector<int32_t>& CGameRows::rows() const {
    return showsWork() ? m_work : m_rows;
}

size_t CGameRows::matches() const {
    return m_phase == Phase::DONE ? m_rows.size() + m_fresh.size() : m_work.size();
}

bool CGameRows::isDone() const {
    return m_phase == Phase::DONE && m_scanned == m_entries.size() && m_fresh.empty();
}

bool CGameRows::before(int32_t a, int32_t b) const {
    const GameIndexEntry& x = m_entries[size_t(a)];
    const GameIndexEntry& y = m_entries[size_t(b)];
    int order = 0;
    if (m_order == GameOrder::FILE)
        order = a < b ? -1 : a > b ? 1 : 0;
    else if (m_order == GameOrder::MOVES)
        // By the moves the list shows, so that equal numbers keep the file's order.
        order = fullMoves(x.plies) < fullMoves(y.plies)   ? -1
                : fullMoves(x.plies) > fullMoves(y.plies) ? 1
                                                          : 0;
    else
        order = compareNoCase(textOf(x, m_order), textOf(y, m_order));
    if (!m_ascending) order = -order;
    return order != 0 ? order < 0 : a < b;
}

bool CGameRows::step(size_t budget) {
    while (budget > 0) {
        switch (m_phase) {
        case Phase::FILTERING: {
            const size_t start = m_scanned;
            const size_t end = std::min(m_entries.size(), start + budget);
            for (; m_scanned < end; ++m_scanned)
                if (matchesFilter(m_filter, m_entries[m_scanned]))
                    m_work.push_back(int32_t(m_scanned));
            budget -= end - start;
            if (m_scanned < m_entries.size()) break;
            if (m_order == GameOrder::FILE && m_ascending) {
                // Found in the file's order, shown as they were found: the same rows.
                m_rows.swap(m_work);
                m_work.clear();
                m_phase = Phase::DONE;
            } else {
                beginSort();
            }
            break;
        }
        case Phase::SORTING:
            if (sortStep(budget)) finish();
            break;
        case Phase::DONE:
            if (isDone()) return true;
            takeAppended(budget);
            break;
        }
    }
    return isDone();
}

void CGameRows::beginSort() {
    m_phase = Phase::SORTING;
    m_merged.assign(m_work.size(), 0);
    m_runsSorted = 0;
    m_width = RUN;
    m_pair = 0;
    m_merging = false;
}

bool CGameRows::sortStep(size_t& budget) {
    const size_t count = m_work.size();
    const auto less = [this](int32_t a, int32_t b) { return before(a, b); };
    while (m_runsSorted < count) {
        if (budget == 0) return false;
        const size_t end = std::min(m_runsSorted + RUN, count);
        std::sort(m_work.begin() + long(m_runsSorted), m_work.begin() + long(end), less);
        budget -= std::min(budget, (end - m_runsSorted) * RUN_COST);
        m_runsSorted = end;
    }
    while (m_width < count) {
        while (m_pair < count) {
            const size_t middle = std::min(m_pair + m_width, count);
            const size_t high = std::min(m_pair + 2 * m_width, count);
            if (!m_merging) {
                m_left = m_pair;
                m_right = middle;
                m_out = m_pair;
                m_merging = true;
            }
            while (m_out < high) {
                if (budget == 0) return false;
                --budget;
                const bool takeLeft = m_right >= high ||
                                      (m_left < middle && !before(m_work[m_right], m_work[m_left]));
                m_merged[m_out++] = takeLeft ? m_work[m_left++] : m_work[m_right++];
            }
            m_merging = false;
            m_pair = high;
        }
        m_work.swap(m_merged);
        m_width *= 2;
        m_pair = 0;
    }
    return true;
}

void CGameRows::finish() {
    m_rows.swap(m_work);
    m_work.clear();
    m_merged.clear();
    m_merged.shrink_to_fit();
    m_phase = Phase::DONE;
    ++m_layout;
}

void CGameRows::takeAppended(size_t& budget) {
    const size_t start = m_scanned;
    const size_t end = std::min(m_entries.size(), start + budget);
    for (; m_scanned < end; ++m_scanned)
        if (matchesFilter(m_filter, m_entries[m_scanned])) m_fresh.push_back(int32_t(m_scanned));
    budget -= end - start;
    if (m_scanned < m_entries.size() || m_fresh.empty()) return;
    if (m_order == GameOrder::FILE && m_ascending) {
        m_rows.insert(m_rows.end(), m_fresh.begin(), m_fresh.end());
    } else {
        // A few rows into many: each found by halving, the rows between copied whole,
        // so a batch costs its own rows' searches and not a comparison per row shown.
        const auto less = [this](int32_t a, int32_t b) { return before(a, b); };
        std::sort(m_fresh.begin(), m_fresh.end(), less);
        std::vector<int32_t> merged;
        merged.reserve(m_rows.size() + m_fresh.size());
        auto from = m_rows.cbegin();
        for (const int32_t row : m_fresh) {
            const auto at = std::upper_bound(from, m_rows.cend(), row, less);
            merged.insert(merged.end(), from, at);
            merged.push_back(row);
            from = at;
        }
        merged.insert(merged.end(), from, m_rows.cend());
        m_rows.swap(merged);
        ++m_layout;
    }
    m_fresh.clear();
}
