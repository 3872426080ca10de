#pragma once
// Finding a map in the rotation or among the available maps. A row stands for the map named by
// its text less one trailing "*" (the duplicate marker); a lookup finds the first such row.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "form/Controls.h"
#include "form/TextHash.h"
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

// 1-based position of the first MapIni row naming the map, 0 when there is none.
int FindInRotation(const form::Grid& MapIni, const std::string& name);
// The same over MapDir.
int FindInAvailable(const form::Grid& MapDir, const std::string& name);

// A quick hash of a map name (form::TextHash): names are short and hashed by the hundred
// thousand at start-up.
struct NameHash {
    std::size_t operator()(std::string_view name) const noexcept { return static_cast<std::size_t>(form::TextHash(name)); }
};
// The same folded to 32 bits, for tables whose slots are kept to eight bytes.
inline std::uint32_t FoldedNameHash(std::string_view name) {
    const std::uint64_t full = form::TextHash(name);
    return static_cast<std::uint32_t>(full ^ (full >> 32));
}

// A bit for each slot of a name table where some stored name's lookup starts. A name whose
// starting slot has no bit is not stored: the bits, a small map that stays in the nearest
// cache, say so without a visit to the table (most names looked up are not stored).
class StartingSlots {
public:
    void reset(std::size_t slots) {
        bits_.assign((slots + 63) / 64, 0);
        mask_ = slots - 1;
    }
    void clear() {
        bits_.clear();
        mask_ = 0;
    }
    void mark(std::uint32_t hash) {
        const std::size_t slot = hash & mask_;
        bits_[slot / 64] |= std::uint64_t{1} << (slot % 64);
    }
    bool mayHold(std::uint32_t hash) const {
        const std::size_t slot = hash & mask_;
        return (bits_[slot / 64] >> (slot % 64) & 1) != 0;
    }

private:
    std::vector<std::uint64_t> bits_;
    std::size_t mask_ = 0;
};

// Map names of a grid's rows, each to one row number: an open-addressing table that keeps only
// row numbers and hashes and reads the names from the rows themselves, so indexing a grid of
// two hundred thousand maps costs no allocation per name.
class NameTable {
public:
    void reserve(std::size_t names);
    // The row stored for the name, or -1.
    int find(std::string_view name, const std::vector<form::GridRow>& rows) const {
        if (used_ == 0) return -1;
        const std::uint32_t hash = FoldedNameHash(name);
        if (!starts_.mayHold(hash)) return -1;
        return findStored(name, hash, rows);
    }
    // The row stored for the name; when it has none, `row` is stored first. The reference stays
    // valid until the next insert.
    int& insert(std::string_view name, int row, const std::vector<form::GridRow>& rows);
    // The same with the name's FoldedNameHash already worked out.
    int& insert(std::string_view name, std::uint32_t hash, int row, const std::vector<form::GridRow>& rows);
    // Asks for the slot where a lookup of a name of this hash starts, ahead of the lookup: a
    // table of a hundred thousand names does not stay in the nearest cache.
    void prefetch(std::uint32_t hash) const {
#if defined(__GNUC__) || defined(__clang__)
        if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
#else
        (void)hash;
#endif
    }
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
    StartingSlots starts_;
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
        const std::uint32_t hash = FoldedNameHash(name);
        if (!starts_.mayHold(hash)) return -1;
        return findStored(name, hash);
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
    StartingSlots starts_;
    std::vector<std::string_view> names_;
};

// Of `names` in order, those that no row of the grids stands for and no earlier name taken
// stands for: the maps a list adds to the available ones. The grids are walked once, so a
// list of a few thousand names costs no index of a hundred thousand rows.
std::vector<std::string> NamesNotListed(const std::vector<std::string>& names,
                                        const std::vector<const form::Grid*>& grids);

// Adds to MapDir, with tag -1, the maps of a map list that neither the rotation nor the
// available maps hold (NamesNotListed).
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
    int findOrAppend(std::string text, std::int32_t tag) {
        const std::uint32_t hash = FoldedNameHash(MapKey(text));
        return findOrAppend(std::move(text), tag, hash);
    }
    // The same with the FoldedNameHash of the text's map name worked out, so a scan can
    // prefetch (below) the index a few names ahead.
    int findOrAppend(std::string text, std::int32_t tag, std::uint32_t hash);
    void prefetch(std::uint32_t hash) const { first_.prefetch(hash); }
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
