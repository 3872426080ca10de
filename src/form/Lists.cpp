#include "form/Lists.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace tolvane::form {

namespace {

// Whether the rows stand in the stable sort's order already: no text after a greater one.
// Equal texts may stand in any order, as the stable sort keeps them where they are.
bool InStableOrder(const std::vector<GridRow>& rows) {
    for (std::size_t k = 1; k < rows.size(); ++k)
        if (rows[k - 1].text > rows[k].text) return false;
    return true;
}

}  // namespace

void SortGrid(Grid& grid) {
    if (grid.rowCount() < 2) return;
    // Rows in order already (as the duplicate merge leaves them at start-up) stay as they are,
    // after one pass over them.
    if (InStableOrder(grid.rows())) return;
    // A stable sort by character code (std::string compares as unsigned char), which is the
    // exchange sort's order: equal texts keep their relative order. It is worked out on row
    // numbers, so long lists move no text until the order is known.
    const std::vector<GridRow>& rows = grid.rows();
    std::vector<std::uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&rows](std::uint32_t a, std::uint32_t b) { return rows[a].text < rows[b].text; });
    const int current = grid.currentRow();
    grid.editRows([&order](std::vector<GridRow>& all) { GatherRows(all, order); });
    grid.setCurrentRow(current);
}

void SortList(const ShowMessage& message, ComboList& list) {
    if (list.count() > 101) {
        message(list.name() + " too large to be sorted!");
        return;
    }
    if (list.count() < 2) return;
    auto items = list.items();
    std::stable_sort(items.begin(), items.end());
    list.setItems(std::move(items));
}

bool InComboBox(const ComboList& list, const std::string& text) {
    return std::find(list.items().begin(), list.items().end(), text) != list.items().end();
}

}  // namespace tolvane::form
