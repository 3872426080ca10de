#include "maps/MapIndex.h"

namespace tolvane::maps {

std::string_view MapKey(std::string_view text) {
    if (!text.empty() && text.back() == '*') text.remove_suffix(1);
    return text;
}

namespace {

int FindFirst(const form::Grid& grid, const std::string& name) {
    for (int i = 0; i < grid.rowCount(); ++i)
        if (MapKey(grid.text(i)) == name) return i + 1;
    return 0;
}

}  // namespace

int FindInRotation(const form::Grid& MapIni, const std::string& name) { return FindFirst(MapIni, name); }
int FindInAvailable(const form::Grid& MapDir, const std::string& name) { return FindFirst(MapDir, name); }

IndexedRows::IndexedRows(std::vector<form::GridRow> rows) : rows_(std::move(rows)) { rebuild(); }

void IndexedRows::rebuild() {
    first_.clear();
    first_.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) first_.try_emplace(std::string(MapKey(rows_[i].text)), static_cast<int>(i));
}

int IndexedRows::find(const std::string& name) const {
    const auto it = first_.find(name);
    return it == first_.end() ? -1 : it->second;
}

void IndexedRows::append(std::string text, std::int32_t tag) {
    first_.try_emplace(std::string(MapKey(text)), static_cast<int>(rows_.size()));
    rows_.push_back({std::move(text), tag});
    changed_ = true;
}

void IndexedRows::setText(int row, std::string text) {
    auto& target = rows_[static_cast<std::size_t>(row)];
    const bool sameKey = MapKey(target.text) == MapKey(text);
    target.text = std::move(text);
    changed_ = true;
    // Only a text that already ended with "*" changes its map name when marked again; that
    // rare row costs one rebuild so lookups still find the first row, as a scan would.
    if (!sameKey) rebuild();
}

}  // namespace tolvane::maps
