#pragma once
// CGameRows: the rows of a game list, as places in an index: the entries that match a
// filter, in the order of one of their values. The work is done a slice at a time
// (step), so that a list of a million games never keeps its window waiting, and the
// rows keep up with entries appended to the index while it is being built.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "database/game_filter.h"
#include "database/game_index_entry.h"

// What the rows are sorted by. Texts compare without regard to case, the moves as
// numbers (not known before none); equal values keep the file's order either way.
enum class GameOrder : int { FILE, WHITE, BLACK, RESULT, DATE, EVENT, ECO, MOVES };

class CGameRows {
public:
    // The entries must outlive the rows; they may grow at the end, never change.
    explicit CGameRows(const std::vector<GameIndexEntry>& entries);

    // A new search: the filtering starts again from the first entry.
    void setFilter(const GameFilter& filter);
    // The same rows in another order.
    void setOrder(GameOrder order, bool ascending);
    GameOrder order() const { return m_order; }
    bool ascending() const { return m_ascending; }

    // Works for about budget entries' worth; true once rows() holds every entry of the
    // index that matches, in the order asked for.
    bool step(size_t budget);
    bool isDone() const;

    // The rows to show. While a search runs in the file's order they are the matches
    // found so far; in another order, the rows of the last finished search.
    const std::vector<int32_t>& rows() const;
    // Counts the times rows() changed other than by rows added at its end.
    uint32_t layout() const { return m_layout; }
    // How many entries match, as far as the search has come.
    size_t matches() const;

private:
    enum class Phase { FILTERING, SORTING, DONE };

    bool before(int32_t a, int32_t b) const;
    bool showsWork() const;
    void beginSort();
    // True once the sort is complete.
    bool sortStep(size_t& budget);
    void finish();
    void takeAppended(size_t& budget);

    const std::vector<GameIndexEntry>& m_entries;
    GameFilter m_filter;
    GameOrder m_order = GameOrder::FILE;
    bool m_ascending = true;
    Phase m_phase = Phase::DONE;
    size_t m_scanned = 0;         // entries the search has looked at
    std::vector<int32_t> m_work;  // the search's matches, until they are sorted
    std::vector<int32_t> m_rows;  // the last finished rows
    std::vector<int32_t> m_fresh; // matches among entries appended since
    uint32_t m_layout = 0;

    // A merge sort that can stop anywhere: runs sorted whole, then merged in pairs of
    // doubling width from m_work into m_merged.
    std::vector<int32_t> m_merged;
    size_t m_runsSorted = 0;
    size_t m_width = 0;
    size_t m_pair = 0;
    size_t m_left = 0;
    size_t m_right = 0;
    size_t m_out = 0;
    bool m_merging = false;
};
