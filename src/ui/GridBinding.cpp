// A grid shown in a list view: the rows are read from the grid whenever the view asks, the
// current row and the picked rows go both ways, and a filter box narrows what is shown.
#include "ui/Bindings.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>

namespace tolvane::ui {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether text holds needle (already lower-cased), ignoring the case of ASCII letters.
bool HoldsIgnoringCase(const std::string& text, const std::string& needle) {
    const auto at = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return LowerAscii(a) == b; });
    return at != text.end();
}

// The grid seen through Qt's item model. The views are told only of the rows announced to them,
// so a view painting between a change of the grid and its notification never reads past them.
// With a filter, the model shows the matching rows only, in the grid's order; the row numbers
// of the view and of the grid are then told apart by gridRow and viewRow.
class GridItemModel : public QAbstractListModel {
public:
    GridItemModel(form::Grid& grid, QObject* parent) : QAbstractListModel(parent), grid_(grid), shown_(grid.rowCount()) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown_; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const int row = gridRow(index.row());
        if (row < 0 || row >= grid_.rowCount()) return {};
        return toQt(grid_.text(row));
    }

    bool filtered() const { return !needle_.empty(); }
    int gridRow(int viewRow) const {
        if (!filtered()) return viewRow;
        return viewRow >= 0 && viewRow < static_cast<int>(visible_.size()) ? visible_[static_cast<std::size_t>(viewRow)] : -1;
    }
    // -1 when the filter hides the row.
    int viewRow(int gridRow) const {
        if (!filtered()) return gridRow;
        const auto at = std::lower_bound(visible_.begin(), visible_.end(), gridRow);
        return at != visible_.end() && *at == gridRow ? static_cast<int>(at - visible_.begin()) : -1;
    }
    // The first shown row at or after gridRow, else the last shown before it; -1 when none.
    int nearestShown(int gridRow) const {
        if (!filtered()) return gridRow;
        if (visible_.empty()) return -1;
        const auto at = std::lower_bound(visible_.begin(), visible_.end(), gridRow);
        return at != visible_.end() ? *at : visible_.back();
    }

    // The grid changed in some way: announce the new row count, then new text everywhere.
    void refresh() {
        match();
        const int rows = wanted();
        if (rows > shown_) {
            beginInsertRows(QModelIndex(), shown_, rows - 1);
            shown_ = rows;
            endInsertRows();
        } else if (rows < shown_) {
            beginRemoveRows(QModelIndex(), rows, shown_ - 1);
            shown_ = rows;
            endRemoveRows();
        }
        if (rows > 0) Q_EMIT dataChanged(index(0), index(rows - 1), {Qt::DisplayRole});
    }

    void setFilter(const std::string& text) {
        std::string needle;
        for (char c : text) needle += LowerAscii(c);
        if (needle == needle_) return;
        beginResetModel();
        needle_ = std::move(needle);
        match();
        shown_ = wanted();
        endResetModel();
    }

private:
    int wanted() const { return filtered() ? static_cast<int>(visible_.size()) : grid_.rowCount(); }
    void match() {
        visible_.clear();
        if (!filtered()) return;
        for (int r = 0; r < grid_.rowCount(); ++r)
            if (HoldsIgnoringCase(grid_.text(r), needle_)) visible_.push_back(r);
    }

    form::Grid& grid_;
    int shown_;
    std::string needle_;
    std::vector<int> visible_;  // grid rows shown while filtered, ascending
};

}  // namespace

void bindGrid(Bindings& b, QListView* view, form::Grid& grid, QWidget* label, GridViewOptions options) {
    auto* items = new GridItemModel(grid, view);
    view->setModel(items);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(options.pickSeveral ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    view->setUniformItemSizes(true);
    QPointer<QListView> w(view);
    // The rows the view has selected become the grid's picked rows (none when the filter hides
    // the current row, so that a button never acts on a row the operator cannot see).
    auto takePicks = [w, items, &grid] {
        if (!w) return;
        std::vector<int> picked;
        for (const QModelIndex& index : w->selectionModel()->selectedRows()) {
            const int row = items->gridRow(index.row());
            if (row >= 0) picked.push_back(row);
        }
        const int current = items->viewRow(grid.currentRow());
        if (picked.empty() && current >= 0 && !items->filtered()) return;  // the current row alone
        grid.pickRows(std::move(picked));
    };
    auto showCurrent = [w, items, &grid, takePicks] {
        if (!w) return;
        // A current row the filter hides gives way to the nearest row shown.
        if (items->filtered() && grid.currentRow() >= 0 && items->viewRow(grid.currentRow()) < 0) {
            const int nearest = items->nearestShown(grid.currentRow());
            if (nearest >= 0) grid.setCurrentRow(nearest);
        }
        const int row = items->viewRow(grid.currentRow());
        const QModelIndex current = w->currentIndex();
        if (current.row() != row || (row >= 0) != current.isValid()) {
            ModelUpdate guard;
            if (row < 0 || row >= items->rowCount(QModelIndex())) w->selectionModel()->clear();
            else w->selectionModel()->setCurrentIndex(items->index(row), QItemSelectionModel::ClearAndSelect);
        }
        if (items->filtered()) takePicks();
    };
    // A change of the rows keeps the list where it was scrolled to (an added or removed map does
    // not send the operator back to the top of a long list).
    auto showRows = [w, items, showCurrent] {
        if (!w) return;
        const int scrolled = w->verticalScrollBar()->value();
        {
            ModelUpdate guard;
            items->refresh();
        }
        w->verticalScrollBar()->setValue(scrolled);
        showCurrent();
    };
    showCurrent();
    b.keep(grid.changed.connect(showRows));
    b.keep(grid.currentChanged.connect(showCurrent));
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [&grid, items, takePicks](const QModelIndex& current) {
                         if (ModelUpdate::active() || !current.isValid()) return;
                         grid.setCurrentRow(items->gridRow(current.row()));
                         takePicks();
                     });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view, [takePicks] {
        if (!ModelUpdate::active()) takePicks();
    });
    if (options.filter) {
        QObject::connect(options.filter, &QLineEdit::textChanged, view, [items, showCurrent](const QString& text) {
            items->setFilter(fromQt(text));
            showCurrent();
        });
    }
    bindAppearance(b, view, grid, label);
}

}  // namespace tolvane::ui
