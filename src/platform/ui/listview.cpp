#include "platform/ui/listview.h"

#include "platform/ui/dialogstate.h"
#include "platform/ui/internal.h"
#include "platform/ui/listview_widget.h"
#include "platform/ui/messages.h"
#include "platform/ui/text.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {
namespace {

class CellModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_headings.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || !m_cell) return {};
        return widen(m_cell(index.row(), index.column()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
            section >= int(m_headings.size()))
            return {};
        return m_headings[size_t(section)];
    }

    void setHeadings(const std::vector<std::string>& headings) {
        beginResetModel();
        m_headings.clear();
        for (const std::string& heading : headings)
            m_headings.push_back(widen(heading));
        endResetModel();
    }
    void setRows(int count, ListViewCell cell) {
        beginResetModel();
        m_rows = count < 0 ? 0 : count;
        m_cell = std::move(cell);
        endResetModel();
    }
    void addRows(int count) {
        if (count <= 0) return;
        beginInsertRows({}, m_rows, m_rows + count - 1);
        m_rows += count;
        endInsertRows();
    }
    std::string cell(int row, int column) const {
        if (!m_cell || row < 0 || row >= m_rows || column < 0 || column >= int(m_headings.size()))
            return {};
        return m_cell(row, column);
    }

private:
    std::vector<QString> m_headings;
    int m_rows = 0;
    ListViewCell m_cell;
};

// Home and End go to the first and the last row, as in every list; a table would
// take them along the row.
class RowView : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const int rows = model() ? model()->rowCount() : 0;
        if (rows > 0 && (action == MoveHome || action == MoveEnd)) {
            const int column = currentIndex().isValid() ? currentIndex().column() : 0;
            return model()->index(action == MoveHome ? 0 : rows - 1, column);
        }
        return QTableView::moveCursor(action, modifiers);
    }
};

QTableView* viewOf(Window* dialog, int id) {
    return controlAs<QTableView>(dialog, id);
}

CellModel* modelOf(QTableView* view) {
    return view ? static_cast<CellModel*>(view->model()) : nullptr;
}

} // namespace

QWidget* createListView(Window* dialog, int id, QWidget* parent) {
    auto* view = new RowView(parent);
    view->setModel(new CellModel(view));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    // Rows of one height let the view place a million of them without measuring each.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    QObject::connect(
        view->horizontalHeader(), &QHeaderView::sectionClicked, view, [dialog, id](int column) {
            sendMessage(dialog, WM_COMMAND, makeWParam(unsigned(id), LVN_COLUMNCLICK), column);
        });
    QObject::connect(view, &QTableView::doubleClicked, view, [dialog, id](const QModelIndex&) {
        sendMessage(dialog, WM_COMMAND, makeWParam(unsigned(id), LVN_ITEMACTIVATE), 0);
    });
    return view;
}

void listViewSetColumns(Window* dialog, int id, const std::vector<std::string>& headings,
                        const std::vector<int>& shares) {
    QTableView* view = viewOf(dialog, id);
    if (!view) return;
    modelOf(view)->setHeadings(headings);
    view->resizeColumnsToContents();
    int total = 0;
    for (const int share : shares) total += std::max(share, 0);
    if (shares.size() != headings.size() || total == 0) return;
    // The room a vertical scroll bar takes (grown with the dialog's factor, as its style
    // will be) is kept free, so that a long list needs no horizontal one.
    const double scale = std::max(1.0, widgetScale(dialog->steps));
    const int scrollBar = int(std::ceil(
        scale * view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view)));
    const int room = view->width() - 2 * view->frameWidth() - scrollBar;
    QHeaderView* header = view->horizontalHeader();
    for (int column = 0; column < int(shares.size()); ++column) {
        const int fair = room * std::max(shares[size_t(column)], 0) / total;
        header->resizeSection(column, std::max(fair, header->sectionSizeHint(column)));
    }
}

void listViewSetRows(Window* dialog, int id, int count, ListViewCell cell) {
    if (CellModel* model = modelOf(viewOf(dialog, id))) model->setRows(count, std::move(cell));
}

void listViewAddRows(Window* dialog, int id, int count) {
    if (CellModel* model = modelOf(viewOf(dialog, id))) model->addRows(count);
}

int listViewRowCount(Window* dialog, int id) {
    CellModel* model = modelOf(viewOf(dialog, id));
    return model ? model->rowCount() : 0;
}

std::string listViewCellText(Window* dialog, int id, int row, int column) {
    CellModel* model = modelOf(viewOf(dialog, id));
    return model ? model->cell(row, column) : std::string();
}

void listViewSetSortColumn(Window* dialog, int id, int column, bool ascending) {
    QTableView* view = viewOf(dialog, id);
    if (!view) return;
    view->horizontalHeader()->setSortIndicatorShown(column >= 0);
    view->horizontalHeader()->setSortIndicator(column, ascending ? Qt::AscendingOrder
                                                                 : Qt::DescendingOrder);
}

int listViewCurSel(Window* dialog, int id) {
    QTableView* view = viewOf(dialog, id);
    if (!view || !view->selectionModel()) return -1;
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void listViewSetCurSel(Window* dialog, int id, int row) {
    QTableView* view = viewOf(dialog, id);
    if (!view) return;
    if (row < 0 || row >= view->model()->rowCount()) {
        view->clearSelection();
        return;
    }
    const QModelIndex index = view->model()->index(row, 0);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    view->scrollTo(index);
}

bool clickListViewHeading(Window* dialog, int id, int column) {
    QTableView* view = viewOf(dialog, id);
    if (!view || column < 0 || column >= view->model()->columnCount()) return false;
    emit view->horizontalHeader()->sectionClicked(column);
    return true;
}

bool doubleClickListViewRow(Window* dialog, int id, int row) {
    QTableView* view = viewOf(dialog, id);
    if (!view || row < 0 || row >= view->model()->rowCount()) return false;
    listViewSetCurSel(dialog, id, row);
    emit view->doubleClicked(view->model()->index(row, 0));
    return true;
}

} // namespace platform
