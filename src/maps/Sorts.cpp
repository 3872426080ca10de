#include "maps/Sorts.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "maps/ByteOrder.h"

namespace tolvane::maps {

namespace {

// The rows in `order` (every number below the row count). The order jumps about a list of
// megabytes: asking for the row a few places ahead hides most of the wait for memory.
std::vector<form::GridRow> Gather(const std::vector<form::GridRow>& rows, const std::vector<std::uint32_t>& order) {
    std::vector<form::GridRow> out;
    out.reserve(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
#if defined(__GNUC__) || defined(__clang__)
        constexpr std::size_t kAhead = 8;
        if (k + kAhead < order.size()) __builtin_prefetch(&rows[order[k + kAhead]]);
#endif
        out.push_back(rows[order[k]]);
    }
    return out;
}

// Whether `order` names rows only: as many numbers as rows, each below the row count.
bool NamesRowsOnly(const std::vector<form::GridRow>& rows, const std::vector<std::uint32_t>& order) {
    return order.size() == rows.size() &&
           std::all_of(order.begin(), order.end(), [&rows](std::uint32_t i) { return i < rows.size(); });
}

// Whether rows gathered in `order` stand in the stable sort's order: ascending texts, equal
// texts in their rows' order. Checking both for every neighbour also proves the order names
// each row once.
bool InStableOrder(const std::vector<form::GridRow>& gathered, const std::vector<std::uint32_t>& order) {
    for (std::size_t k = 1; k < gathered.size(); ++k) {
        const int c = gathered[k - 1].text.compare(gathered[k].text);
        if (c > 0 || (c == 0 && order[k - 1] >= order[k])) return false;
    }
    return true;
}

}  // namespace

void SortGrid(form::Grid& grid, const std::vector<std::uint32_t>* likelyOrder) {
    if (grid.rowCount() < 2) return;
    const auto& rows = grid.rows();
    std::vector<form::GridRow> sorted;
    if (likelyOrder && NamesRowsOnly(rows, *likelyOrder)) {
        sorted = Gather(rows, *likelyOrder);
        if (!InStableOrder(sorted, *likelyOrder)) sorted.clear();
    }
    if (sorted.empty()) {
        // The order a stable sort by unsigned character code gives, which is the exchange
        // sort's: equal texts keep their relative order. It is worked out on row numbers, so
        // long lists move no text until the order is known.
        std::vector<std::string_view> texts;
        texts.reserve(rows.size());
        for (const auto& row : rows) texts.emplace_back(row.text);
        sorted = Gather(rows, StableByteOrder(texts));
    }
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
