#include "maps/Sorts.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "maps/ByteOrder.h"

namespace tolvane::maps {

void SortGrid(form::Grid& grid) {
    if (grid.rowCount() < 2) return;
    const auto& rows = grid.rows();
    // The order a stable sort by unsigned character code gives, which is the exchange sort's:
    // equal texts keep their relative order. It is worked out on row numbers, so long lists
    // move no text until the order is known.
    std::vector<std::string_view> texts;
    texts.reserve(rows.size());
    for (const auto& row : rows) texts.emplace_back(row.text);
    const std::vector<std::uint32_t> order = StableByteOrder(texts);
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
