#include "maps/Sorts.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "maps/ByteOrder.h"

namespace tolvane::maps {

namespace {

// Whether the rows stand in the stable sort's order already: no text after a greater one.
// Equal texts may stand in any order, as the stable sort keeps them where they are.
bool InStableOrder(const std::vector<form::GridRow>& rows) {
    for (std::size_t k = 1; k < rows.size(); ++k)
        if (rows[k - 1].text > rows[k].text) return false;
    return true;
}

}  // namespace

void SortGrid(form::Grid& grid) {
    if (grid.rowCount() < 2) return;
    // Rows in order already (as the duplicate merge leaves them at start-up) stay as they are,
    // after one pass over them.
    if (InStableOrder(grid.rows())) return;
    // The order a stable sort by unsigned character code gives, which is the exchange sort's:
    // equal texts keep their relative order. It is worked out on row numbers, so long lists
    // move no text until the order is known.
    const std::vector<std::uint32_t> order = StableRowOrder(grid.rows(), RowKey::Text);
    const int current = grid.currentRow();
    grid.editRows([&order](std::vector<form::GridRow>& rows) { form::GatherRows(rows, order); });
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
