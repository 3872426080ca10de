#include "maps/Sorts.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tolvane::maps {

void SortGrid(form::Grid& grid) {
    if (grid.rowCount() < 2) return;
    const auto& rows = grid.rows();
    // A stable sort gives the same order as the exchange sort it replaces: equal texts keep
    // their relative order, and the comparison is by unsigned character code. Row numbers are
    // sorted rather than the rows, so long lists move no text until the order is known.
    std::vector<std::uint32_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&rows](std::uint32_t a, std::uint32_t b) { return rows[a].text < rows[b].text; });
    std::vector<form::GridRow> sorted;
    sorted.reserve(rows.size());
    for (std::uint32_t i : order) sorted.push_back(rows[i]);
    const int current = grid.currentRow();
    grid.setRows(std::move(sorted));
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
