#include "maps/MapIndex.h"

#include <algorithm>

namespace tolvane::maps {

namespace {

#ifdef _WIN32
bool keepFileCase = false;
#else
bool keepFileCase = true;
#endif

}  // namespace

bool MapNamesKeepFileCase() { return keepFileCase; }
void SetMapNamesKeepFileCase(bool keep) { keepFileCase = keep; }

void NameTable::reserve(std::size_t names) {
    std::size_t size = 16;
    // At most three quarters full: the table of a hundred thousand names then stays within
    // the nearer caches, and with a well-mixed hash a lookup still reads one or two lines.
    while (size * 3 < names * 4) size *= 2;
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

std::size_t NameTable::locate(std::string_view name, std::uint32_t hash, const std::vector<form::GridRow>& rows) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].row >= 0) {
        if (slots_[i].hash == hash && MapKey(rows[static_cast<std::size_t>(slots_[i].row)].text) == name) return i;
        i = (i + 1) & mask;
    }
    return i;
}

int NameTable::findStored(std::string_view name, std::uint32_t hash, const std::vector<form::GridRow>& rows) const {
    return slots_[locate(name, hash, rows)].row;
}

int& NameTable::insert(std::string_view name, int row, const std::vector<form::GridRow>& rows) {
    const std::uint32_t hash = FoldedNameHash(name);
    // Grown only when the next name would pass three quarters full.
    if ((used_ + 1) * 4 > slots_.size() * 3) reserve(used_ + 1);
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

namespace {

void IndexFirstRows(NameTable& table, const std::vector<form::GridRow>& rows, std::size_t appending) {
    table.clear();
    table.reserve(rows.size() + appending);
    for (std::size_t i = 0; i < rows.size(); ++i) table.insert(MapKey(rows[i].text), static_cast<int>(i), rows);
}

}  // namespace

RowLookup::RowLookup(const std::vector<form::GridRow>& rows) : rows_(rows) { IndexFirstRows(first_, rows_, 0); }

std::size_t NameSet::locate(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].index >= 0) {
        if (slots_[i].hash == hash && names_[static_cast<std::size_t>(slots_[i].index)] == name) return i;
        i = (i + 1) & mask;
    }
    return i;
}

int NameSet::findStored(std::string_view name, std::uint32_t hash) const { return slots_[locate(name, hash)].index; }

int NameSet::add(std::string_view name) {
    if ((names_.size() + 1) * 2 > slots_.size()) {
        // Grown to keep it at most half full; every name is placed again.
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(64, old.size() * 2), Slot{});
        for (const Slot& s : old) {
            if (s.index < 0) continue;
            slots_[locate(names_[static_cast<std::size_t>(s.index)], s.hash)] = s;
        }
    }
    const std::uint32_t hash = FoldedNameHash(name);
    Slot& slot = slots_[locate(name, hash)];
    if (slot.index < 0) {
        slot = {hash, static_cast<int>(names_.size())};
        names_.push_back(name);
    }
    return slot.index;
}

namespace {

// For each of `names` in order, whether it is taken: no row of the grids and no earlier name
// taken stands for it.
std::vector<bool> TakenNames(const std::vector<std::string>& names, const std::vector<const form::Grid*>& grids) {
    NameSet asked;
    for (const auto& name : names) asked.add(name);
    // The asked names a row already stands for, then those each taken name stands for.
    std::vector<bool> blocked(asked.size(), false);
    for (const form::Grid* grid : grids)
        for (const auto& row : grid->rows())
            if (const int i = asked.find(MapKey(row.text)); i >= 0) blocked[static_cast<std::size_t>(i)] = true;
    std::vector<bool> taken(names.size(), false);
    for (std::size_t n = 0; n < names.size(); ++n) {
        const std::string& name = names[n];
        if (name.empty() || blocked[static_cast<std::size_t>(asked.find(name))]) continue;
        taken[n] = true;
        // Only an asked name can be blocked by it.
        if (const int i = asked.find(MapKey(name)); i >= 0) blocked[static_cast<std::size_t>(i)] = true;
    }
    return taken;
}

}  // namespace

void AddUnlistedMaps(MapFields& maps, const std::vector<std::string>& names) {
    const std::vector<bool> taken = TakenNames(names, {&maps.MapIni, &maps.MapDir});
    const auto count = static_cast<std::size_t>(std::count(taken.begin(), taken.end(), true));
    if (count == 0) return;
    // Straight into MapDir's list, with no list of names or rows between.
    maps.MapDir.editRows([&](std::vector<form::GridRow>& rows) {
        form::ReserveMoreRows(rows, count);
        for (std::size_t n = 0; n < names.size(); ++n)
            if (taken[n]) rows.push_back({names[n], -1});
    });
}

IndexedRows::IndexedRows(std::vector<form::GridRow> rows, std::size_t appending, std::size_t room)
    : rows_(std::move(rows)) {
    rows_.reserve(std::max(rows_.size() + appending, room));
    rebuild(appending);
}

void IndexedRows::rebuild(std::size_t appending) { IndexFirstRows(first_, rows_, appending); }

int IndexedRows::find(std::string_view name) const {
    return first_.find(name, rows_);
}

int IndexedRows::findOrAppend(std::string text, std::int32_t tag) {
    const int next = static_cast<int>(rows_.size());
    // The name is looked up through the text about to become the new row's: the table reads
    // names from the rows, so the row is added first and taken back when the name is known.
    rows_.push_back({std::move(text), tag});
    const int row = first_.insert(MapKey(rows_.back().text), next, rows_);
    if (row != next) {
        rows_.pop_back();
        return row;
    }
    changed_ = true;
    return -1;
}

void IndexedRows::setText(int row, std::string text) {
    auto& target = rows_[static_cast<std::size_t>(row)];
    const bool sameKey = MapKey(target.text) == MapKey(text);
    target.text = std::move(text);
    changed_ = true;
    // Only a text that already ended with "*" changes its map name when marked again; that
    // rare row costs one rebuild so lookups still find the first row, as a scan would.
    if (!sameKey) rebuild(0);
}

}  // namespace tolvane::maps
