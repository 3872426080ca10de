#pragma once
// Finding a map in the rotation or among the available maps. A row stands for the map named by
// its text less one trailing "*" (the duplicate marker); a lookup finds the first such row.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "form/Controls.h"
#include "maps/MapFields.h"

namespace tolvane::maps {

// The map name of a row text: the text with one trailing "*" removed.
inline std::string_view MapKey(std::string_view text) {
    if (!text.empty() && text.back() == '*') text.remove_suffix(1);
    return text;
}

// Whether map names keep the spelling of their files. The server loads "maps/" + name + ".bsp"
// as spelled, which on a file system that tells letter case apart must match the file; Windows
// finds the file in any case, and there loose map names are lower-cased. Tests set either host.
bool MapNamesKeepFileCase();
void SetMapNamesKeepFileCase(bool keep);

// A map name's hash folded to 32 bits, for tables whose slots are kept to eight bytes.
inline std::uint32_t FoldedNameHash(std::string_view name) {
    const std::uint64_t full = std::hash<std::string_view>{}(name);
    return static_cast<std::uint32_t>(full ^ (full >> 32));
}

// Map names of a grid's rows, each to one row number: an open-addressing table that keeps only
// row numbers and hashes and reads the names from the rows themselves, so indexing a grid of
// two hundred thousand maps costs no allocation per name. At 100,000 maps the start-up takes a
// fifth longer with std::unordered_map (a node per name) in its place.
class NameTable {
public:
    void reserve(std::size_t names);
    // The row stored for the name, or -1.
    int find(std::string_view name, const std::vector<form::GridRow>& rows) const {
        if (used_ == 0) return -1;
        return findStored(name, FoldedNameHash(name), rows);
    }
    // The row stored for the name; when it has none, `row` is stored first. The reference stays
    // valid until the next insert.
    int& insert(std::string_view name, int row, const std::vector<form::GridRow>& rows);
    void clear();

private:
    // Eight bytes a slot, so the table of a hundred thousand names stays small in the cache.
    struct Slot {
        std::uint32_t hash = 0;  // the name's hash folded to 32 bits
        int row = -1;
    };
    std::size_t locate(std::string_view name, std::uint32_t hash, const std::vector<form::GridRow>& rows) const;
    int findStored(std::string_view name, std::uint32_t hash, const std::vector<form::GridRow>& rows) const;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

// The first row of each map name among rows that stay as they are while the index is used (a
// grid's rows read in place, with no copy).
class RowLookup {
public:
    explicit RowLookup(const std::vector<form::GridRow>& rows);
    // 0-based position of the first row naming the map, -1 when there is none.
    int find(std::string_view name) const { return first_.find(name, rows_); }

private:
    const std::vector<form::GridRow>& rows_;
    NameTable first_;
};

// Names held elsewhere (views), each given the number of its first adding: for a few
// thousand names looked up a hundred thousand times, with no allocation per lookup.
class NameSet {
public:
    // The number of the name, -1 when it was never added.
    int find(std::string_view name) const {
        if (names_.empty()) return -1;
        return findStored(name, FoldedNameHash(name));
    }
    // Adds the name when it is new; returns its number (the first one when it was there).
    int add(std::string_view name);
    std::size_t size() const { return names_.size(); }

private:
    struct Slot {
        std::uint32_t hash = 0;
        int index = -1;
    };
    std::size_t locate(std::string_view name, std::uint32_t hash) const;
    int findStored(std::string_view name, std::uint32_t hash) const;
    std::vector<Slot> slots_;
    std::vector<std::string_view> names_;
};

// Adds to MapDir, with tag -1 and in their order, the maps of a map list that no row of the
// rotation or of the available maps stands for and no earlier name added stands for. The
// grids are walked once, so a list of a few thousand names costs no index of a hundred
// thousand rows.
void AddUnlistedMaps(MapFields& maps, const std::vector<std::string>& names);

// The rows of a map grid while a scan fills it, with an index of the first row of each map
// name, so a scan over tens of thousands of maps looks each one up at once rather than row by
// row. The grid gets the rows back in one change when the scan ends.
class IndexedRows {
public:
    // `appending` is how many rows the scan may add, so the index is sized once; the list of
    // rows gets room for at least `room` rows (room left unwritten costs no memory).
    explicit IndexedRows(std::vector<form::GridRow> rows, std::size_t appending = 0, std::size_t room = 0);
    // 0-based position of the first row naming the map, -1 when there is none.
    int find(std::string_view name) const;
    // The first row naming the text's map; when there is none the text is appended as a new
    // row and -1 is returned. One lookup where find and append take two.
    int findOrAppend(std::string text, std::int32_t tag);
    // Replaces a row's text; the index follows when the map name the row stands for changes.
    void setText(int row, std::string text);
    void setTag(int row, std::int32_t tag) {
        rows_[static_cast<std::size_t>(row)].tag = tag;
        changed_ = true;
    }
    const form::GridRow& row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    const std::vector<form::GridRow>& rows() const { return rows_; }
    std::vector<form::GridRow> take() { return std::move(rows_); }
    bool changed() const { return changed_; }

private:
    void rebuild(std::size_t appending);
    std::vector<form::GridRow> rows_;
    NameTable first_;
    bool changed_ = false;
};

}  // namespace tolvane::maps
