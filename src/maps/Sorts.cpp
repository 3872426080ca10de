#include "maps/Sorts.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "maps/ByteOrder.h"

namespace tolvane::maps {

namespace {

// Rows are gathered in an order that jumps about a list of megabytes: asking for the row a few
// places ahead hides most of the wait for memory.
inline void PrefetchRow(const std::vector<form::GridRow>& rows, const std::vector<std::uint32_t>& order, std::size_t k) {
#if defined(__GNUC__) || defined(__clang__)
    constexpr std::size_t kAhead = 8;
    if (k + kAhead < order.size() && order[k + kAhead] < rows.size()) __builtin_prefetch(&rows[order[k + kAhead]]);
#else
    (void)rows, (void)order, (void)k;
#endif
}

// The rows in `order` when that is the stable sort's order: ascending texts, equal texts in
// their rows' order. Checking both for every neighbour also proves the order names each row
// once. Nothing when it is not.
std::optional<std::vector<form::GridRow>> RowsIfSorted(const std::vector<form::GridRow>& rows,
                                                       const std::vector<std::uint32_t>& order) {
    if (order.size() != rows.size()) return std::nullopt;
    std::vector<form::GridRow> sorted;
    sorted.reserve(rows.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k] >= rows.size()) return std::nullopt;
        PrefetchRow(rows, order, k);
        sorted.push_back(rows[order[k]]);
        if (k == 0) continue;
        const int c = sorted[k - 1].text.compare(sorted[k].text);
        if (c > 0 || (c == 0 && order[k - 1] >= order[k])) return std::nullopt;
    }
    return sorted;
}

}  // namespace

void SortGrid(form::Grid& grid, const std::vector<std::uint32_t>* likelyOrder) {
    if (grid.rowCount() < 2) return;
    const auto& rows = grid.rows();
    std::optional<std::vector<form::GridRow>> sorted;
    if (likelyOrder) sorted = RowsIfSorted(rows, *likelyOrder);
    if (!sorted) {
        // The order a stable sort by unsigned character code gives, which is the exchange
        // sort's: equal texts keep their relative order. It is worked out on row numbers, so
        // long lists move no text until the order is known.
        std::vector<std::string_view> texts;
        texts.reserve(rows.size());
        for (const auto& row : rows) texts.emplace_back(row.text);
        sorted.emplace();
        sorted->reserve(rows.size());
        const std::vector<std::uint32_t> order = StableByteOrder(texts);
        for (std::size_t k = 0; k < order.size(); ++k) {
            PrefetchRow(rows, order, k);
            sorted->push_back(rows[order[k]]);
        }
    }
    const int current = grid.currentRow();
    grid.setRows(std::move(*sorted));
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
