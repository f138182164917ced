#pragma once
// List views: rows of cells under column headings, for lists too long for a list box.
// The rows stay the program's: the view asks for a cell's text only when it draws it,
// so a list of a million rows costs no more to show than one of ten.
//
// The view tells its dialog procedure WM_COMMAND with the control id in the low word
// and, in the high word, LVN_COLUMNCLICK (lParam: the column) when a heading is
// clicked or LVN_ITEMACTIVATE when a row is double-clicked. Return reaches the dialog
// as IDOK, as from every other control.

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct Window;

constexpr unsigned LVN_COLUMNCLICK = 0x0400;
constexpr unsigned LVN_ITEMACTIVATE = 0x0401;

using ListViewCell = std::function<std::string(int row, int column)>;

// Shares, when given (one per heading), divide the list's width among the columns in
// those proportions, each at least as wide as its heading; without them each column is
// as wide as its heading. The user may drag the widths afterwards.
void listViewSetColumns(Window* dialog, int id, const std::vector<std::string>& headings,
                        const std::vector<int>& shares = {});
// Replaces the rows: count of them, each cell's text from cell. The selection goes.
void listViewSetRows(Window* dialog, int id, int count, ListViewCell cell);
// Rows added after the last, their cells from the same cell function; the selection
// and the scrolling stay.
void listViewAddRows(Window* dialog, int id, int count);
int listViewRowCount(Window* dialog, int id);
std::string listViewCellText(Window* dialog, int id, int row, int column);
// The heading that shows the sort arrow; -1 shows none.
void listViewSetSortColumn(Window* dialog, int id, int column, bool ascending);
// The selected row, or -1. Selecting scrolls the row into view.
int listViewCurSel(Window* dialog, int id);
void listViewSetCurSel(Window* dialog, int id, int row);

// Acts as the user would (tests and scripted use).
bool clickListViewHeading(Window* dialog, int id, int column);
bool doubleClickListViewRow(Window* dialog, int id, int row);

} // namespace platform
