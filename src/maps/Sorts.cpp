#include "maps/Sorts.h"

#include <algorithm>

namespace tolvane::maps {

void SortGrid(form::Grid& grid) {
    if (grid.rowCount() < 2) return;
    auto rows = grid.rows();
    // A stable sort gives the same order as the exchange sort it replaces: equal texts keep
    // their relative order, and the comparison is by unsigned character code.
    std::stable_sort(rows.begin(), rows.end(), [](const form::GridRow& a, const form::GridRow& b) {
        return a.text < b.text;
    });
    const int current = grid.currentRow();
    grid.setRows(std::move(rows));
    grid.setCurrentRow(current);
}

void SortList(const Context& ctx, form::ComboList& list) {
    if (list.count() > 101) {
        ctx.message(list.name() + " too large to be sorted!");
        return;
    }
    if (list.count() < 2) return;
    auto items = list.items();
    std::stable_sort(items.begin(), items.end());
    list.setItems(std::move(items));
}

}  // namespace tolvane::maps
