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

void NameTable::reserve(std::size_t names) {
    std::size_t size = 16;
    while (size < names * 2) size *= 2;
    if (size <= slots_.size()) return;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    const std::size_t mask = size - 1;
    for (const Slot& s : old) {
        if (s.row < 0) continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].row >= 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

std::size_t NameTable::locate(std::string_view name, std::size_t hash, const std::vector<form::GridRow>& rows) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].row >= 0) {
        if (slots_[i].hash == hash && MapKey(rows[static_cast<std::size_t>(slots_[i].row)].text) == name) return i;
        i = (i + 1) & mask;
    }
    return i;
}

int NameTable::find(std::string_view name, const std::vector<form::GridRow>& rows) const {
    if (slots_.empty()) return -1;
    return slots_[locate(name, std::hash<std::string_view>{}(name), rows)].row;
}

int& NameTable::insert(std::string_view name, int row, const std::vector<form::GridRow>& rows) {
    reserve(used_ + 1);
    const std::size_t hash = std::hash<std::string_view>{}(name);
    Slot& slot = slots_[locate(name, hash, rows)];
    if (slot.row < 0) {
        slot = {hash, row};
        ++used_;
    }
    return slot.row;
}

void NameTable::clear() {
    slots_.clear();
    used_ = 0;
}

IndexedRows::IndexedRows(std::vector<form::GridRow> rows) : rows_(std::move(rows)) { rebuild(); }

void IndexedRows::rebuild() {
    first_.clear();
    first_.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) first_.insert(MapKey(rows_[i].text), static_cast<int>(i), rows_);
}

int IndexedRows::find(const std::string& name) const {
    return first_.find(name, rows_);
}

void IndexedRows::append(std::string text, std::int32_t tag) {
    rows_.push_back({std::move(text), tag});
    first_.insert(MapKey(rows_.back().text), static_cast<int>(rows_.size()) - 1, rows_);
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
