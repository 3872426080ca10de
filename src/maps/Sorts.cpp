#include "maps/Sorts.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "maps/ByteOrder.h"

namespace tolvane::maps {

namespace {

// Puts the rows in `order` (each row number once) where they stand: row k becomes the row
// that was at order[k]. Each row moves once along the cycles of the order, so a list of
// megabytes needs no second list (whose fresh pages would cost more than the moves).
void Permute(std::vector<form::GridRow>& rows, const std::vector<std::uint32_t>& order) {
    std::vector<bool> placed(rows.size(), false);
    for (std::size_t start = 0; start < rows.size(); ++start) {
        if (placed[start] || order[start] == start) continue;
        form::GridRow first = std::move(rows[start]);
        std::size_t at = start;
        // A scout runs a few rows ahead along the cycle and asks for each row it meets: the
        // cycle jumps about a list of megabytes, and the order itself stays in the cache.
        std::size_t scout = start;
        const auto advanceScout = [&] {
            if (scout == rows.size()) return;
            scout = order[scout];
            if (scout == start) {
                scout = rows.size();
                return;
            }
#if defined(__GNUC__) || defined(__clang__)
            __builtin_prefetch(&rows[scout]);
#endif
        };
        for (int k = 0; k < 8; ++k) advanceScout();
        for (;;) {
            advanceScout();
            const std::size_t from = order[at];
            placed[at] = true;
            if (from == start) {
                rows[at] = std::move(first);
                break;
            }
            rows[at] = std::move(rows[from]);
            at = from;
        }
    }
}

// Whether `order` names rows only: as many numbers as rows, each below the row count.
bool NamesRowsOnly(const std::vector<form::GridRow>& rows, const std::vector<std::uint32_t>& order) {
    return order.size() == rows.size() &&
           std::all_of(order.begin(), order.end(), [&rows](std::uint32_t i) { return i < rows.size(); });
}

// Whether rows taken in `order` stand in the stable sort's order: ascending texts, equal texts
// in their rows' order. Checking both for every neighbour also proves the order names each row
// once. The order jumps about a list of megabytes: asking for the row a few places ahead hides
// most of the wait for memory.
bool InStableOrder(const std::vector<form::GridRow>& rows, const std::vector<std::uint32_t>& order) {
    for (std::size_t k = 1; k < order.size(); ++k) {
#if defined(__GNUC__) || defined(__clang__)
        constexpr std::size_t kAhead = 8;
        if (k + kAhead < order.size()) __builtin_prefetch(&rows[order[k + kAhead]]);
#endif
        const int c = rows[order[k - 1]].text.compare(rows[order[k]].text);
        if (c > 0 || (c == 0 && order[k - 1] >= order[k])) return false;
    }
    return true;
}

}  // namespace

void SortGrid(form::Grid& grid, const std::vector<std::uint32_t>* likelyOrder) {
    if (grid.rowCount() < 2) return;
    const auto& rows = grid.rows();
    std::vector<std::uint32_t> order;
    if (likelyOrder && NamesRowsOnly(rows, *likelyOrder) && InStableOrder(rows, *likelyOrder)) {
        order = *likelyOrder;
    } else {
        // The order a stable sort by unsigned character code gives, which is the exchange
        // sort's: equal texts keep their relative order. It is worked out on row numbers, so
        // long lists move no text until the order is known.
        order = StableRowOrder(rows, RowKey::Text);
    }
    const int current = grid.currentRow();
    grid.editRows([&order](std::vector<form::GridRow>& all) { Permute(all, order); });
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
