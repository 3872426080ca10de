#pragma once
// Finding a map in the rotation or among the available maps. A row stands for the map named by
// its text less one trailing "*" (the duplicate marker); a lookup finds the first such row.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "form/Controls.h"

namespace tolvane::maps {

// The map name of a row text: the text with one trailing "*" removed.
std::string_view MapKey(std::string_view text);

// 1-based position of the first MapIni row naming the map, 0 when there is none.
int FindInRotation(const form::Grid& MapIni, const std::string& name);
// The same over MapDir.
int FindInAvailable(const form::Grid& MapDir, const std::string& name);

// Map names of a grid's rows, each to one row number: an open-addressing table that keeps only
// row numbers and hashes and reads the names from the rows themselves, so indexing a grid of
// two hundred thousand maps costs no allocation per name.
class NameTable {
public:
    void reserve(std::size_t names);
    // The row stored for the name, or -1.
    int find(std::string_view name, const std::vector<form::GridRow>& rows) const;
    // The row stored for the name; when it has none, `row` is stored first. The reference stays
    // valid until the next insert.
    int& insert(std::string_view name, int row, const std::vector<form::GridRow>& rows);
    void clear();

private:
    struct Slot {
        std::size_t hash = 0;
        int row = -1;
    };
    std::size_t locate(std::string_view name, std::size_t hash, const std::vector<form::GridRow>& rows) const;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

// The rows of a map grid while a scan fills it, with an index of the first row of each map
// name, so a scan over tens of thousands of maps looks each one up at once rather than row by
// row. The grid gets the rows back in one change when the scan ends.
class IndexedRows {
public:
    explicit IndexedRows(std::vector<form::GridRow> rows);
    // 0-based position of the first row naming the map, -1 when there is none.
    int find(const std::string& name) const;
    void append(std::string text, std::int32_t tag);
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
    void rebuild();
    std::vector<form::GridRow> rows_;
    NameTable first_;
    bool changed_ = false;
};

}  // namespace tolvane::maps
