#include "maps/ByteOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "maps/MapIndex.h"

namespace tolvane::maps {

namespace {

// Eight bytes of the name from the current depth (big-endian, zero-padded), the name's
// position, and whether the name ends within those bytes, in twelve bytes: the word is kept
// as two halves, so the passes move a quarter less memory than with an eight-byte-aligned
// word, and the flag takes the top bit of the position (grids count their rows in an int).
struct Keyed {
    std::uint32_t high = 0, low = 0;
    std::uint32_t at = 0;

    std::uint64_t word() const { return (std::uint64_t{high} << 32) | low; }
    void setWord(std::uint64_t w) {
        high = static_cast<std::uint32_t>(w >> 32);
        low = static_cast<std::uint32_t>(w);
    }
    // Byte b of the word, 0 the least significant.
    unsigned byte(std::size_t b) const { return ((b < 4 ? low >> (8 * b) : high >> (8 * (b - 4)))) & 0xFFu; }
    std::uint32_t row() const { return at & 0x7FFFFFFFu; }
    bool endsHere() const { return (at >> 31) != 0; }
    void setEndsHere(bool ends) { at = row() | (ends ? 0x80000000u : 0u); }
};
static_assert(sizeof(Keyed) == 12);

std::uint64_t ByteSwapped(std::uint64_t v) {
    std::uint64_t out = 0;
    for (int i = 0; i < 8; ++i, v >>= 8) out = (out << 8) | (v & 0xFF);
    return out;
}

std::uint32_t BigEndian32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::little)
        v = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
    return v;
}

// Eight bytes of the key from `from`, the first the most significant, zero past its end. Only
// bytes of the key are read: whole words where it has them, the last word overlapping.
std::uint64_t WordAt(std::string_view key, std::size_t from) {
    const std::size_t left = key.size() > from ? key.size() - from : 0;
    const char* p = key.data() + from;
    if (left >= 8) {
        // Eight whole bytes: one load, turned so the first byte is the most significant.
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if constexpr (std::endian::native == std::endian::little) word = ByteSwapped(word);
        return word;
    }
    if (left >= 4) {
        // The first four bytes, then the last four (which overlap them) moved to follow.
        const std::uint64_t high = BigEndian32(p);
        const std::uint64_t tail = BigEndian32(p + left - 4);
        return (high << 32) | ((tail << (8 * (8 - left))) & 0xFFFFFFFFu);
    }
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < left; ++i) word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (56 - 8 * i);
    return word;
}

// Orders items[begin, end) by their words with radix passes over eleven bits at a time: six
// passes over a 64-bit word where bytes would take eight, with counters (8 KB a digit) that
// still stay in the cache. Each pass is stable, so equal words keep the order the items had;
// passes over a digit that all items share are left out. The passes go back and forth between
// the items and the scratch space.
constexpr int kDigitBits = 11;
constexpr int kDigits = (64 + kDigitBits - 1) / kDigitBits;
constexpr std::size_t kDigitValues = std::size_t{1} << kDigitBits;

void RadixByWord(Keyed* items, Keyed* scratch, std::size_t begin, std::size_t end) {
    const std::size_t n = end - begin;
    std::vector<std::uint32_t> counts(kDigits * kDigitValues, 0);
    const auto digit = [](std::uint64_t word, int d) {
        return static_cast<std::size_t>((word >> (kDigitBits * d)) & (kDigitValues - 1));
    };
    for (std::size_t i = begin; i < end; ++i) {
        const std::uint64_t word = items[i].word();
        for (int d = 0; d < kDigits; ++d) ++counts[static_cast<std::size_t>(d) * kDigitValues + digit(word, d)];
    }
    Keyed* from = items + begin;
    Keyed* to = scratch + begin;
    for (int d = 0; d < kDigits; ++d) {
        std::uint32_t* count = counts.data() + static_cast<std::size_t>(d) * kDigitValues;
        if (std::any_of(count, count + kDigitValues, [n](std::uint32_t c) { return c == n; })) continue;
        std::uint32_t sum = 0;
        for (std::size_t v = 0; v < kDigitValues; ++v) {
            const std::uint32_t here = count[v];
            count[v] = sum;
            sum += here;
        }
        for (std::size_t i = 0; i < n; ++i) to[count[digit(from[i].word(), d)]++] = from[i];
        std::swap(from, to);
    }
    if (from != items + begin) std::copy(from, from + n, items + begin);
}

// Below this many items an insertion sort is the quickest; below kRadixRun a sort by the words
// is quicker than radix passes, whose counters alone are 48 KB.
constexpr std::size_t kSmallRun = 32;
constexpr std::size_t kRadixRun = 1024;
// Names are read by words this many bytes into them; ties beyond are settled by comparing.
constexpr std::size_t kMaxDepth = 32;

// Names are read through keys_(position), straight from where they are kept: a list of
// views beside a list of rows would be megabytes more to fill and to wait for.
template <typename KeyAt>
class Sorter {
public:
    Sorter(std::size_t count, KeyAt keys, std::vector<bool>* equalToPrevious)
        : keys_(keys), items_(count), scratch_(count), equal_(equalToPrevious) {
        for (std::size_t i = 0; i < count; ++i) items_[i].at = static_cast<std::uint32_t>(i);
        if (equal_) equal_->assign(count, false);
    }

    std::vector<std::uint32_t> order() {
        sortRun(0, items_.size(), 0);
        std::vector<std::uint32_t> out(items_.size());
        for (std::size_t i = 0; i < items_.size(); ++i) out[i] = items_[i].row();
        return out;
    }

private:
    // A stable sort of items[begin, end): an insertion sort for short runs, which needs no
    // buffer, the library's stable sort for longer ones.
    template <typename Less>
    void stableSort(std::size_t begin, std::size_t end, Less less) {
        if (end - begin < kSmallRun) {
            for (std::size_t i = begin + 1; i < end; ++i) {
                const Keyed item = items_[i];
                std::size_t j = i;
                while (j > begin && less(item, items_[j - 1])) {
                    items_[j] = items_[j - 1];
                    --j;
                }
                items_[j] = item;
            }
        } else {
            std::stable_sort(items_.begin() + static_cast<std::ptrdiff_t>(begin), items_.begin() + static_cast<std::ptrdiff_t>(end),
                             less);
        }
    }

    // A stable sort by the whole names; items are in their original order when it starts, so
    // equal names keep their places. Runs sharing their leading bytes are short.
    void compareSort(std::size_t begin, std::size_t end) {
        stableSort(begin, end, [this](const Keyed& a, const Keyed& b) { return keys_(a.row()) < keys_(b.row()); });
        // Only here can neighbours be equal: elsewhere their bytes differ somewhere.
        if (equal_)
            for (std::size_t i = begin + 1; i < end; ++i) (*equal_)[i] = keys_(items_[i].row()) == keys_(items_[i - 1].row());
    }

    // A stable sort by the words alone, for runs too short for radix passes.
    void wordSort(std::size_t begin, std::size_t end) {
        stableSort(begin, end, [](const Keyed& a, const Keyed& b) { return a.word() < b.word(); });
    }

    void sortRun(std::size_t begin, std::size_t end, std::size_t depth) {
        if (end - begin < 2) return;
        if (depth >= kMaxDepth) {
            compareSort(begin, end);
            return;
        }
        // Each name's eight bytes from `depth`, and whether it ends within them.
        for (std::size_t i = begin; i < end; ++i) {
            const std::string_view key = keys_(items_[i].row());
            items_[i].setWord(WordAt(key, depth));
            items_[i].setEndsHere(key.size() <= depth + 8);
        }
        if (end - begin < kRadixRun) wordSort(begin, end);
        else RadixByWord(items_.data(), scratch_.data(), begin, end);
        // Items whose eight bytes agree are ordered by what follows. A name that ends within
        // these bytes is a prefix of every longer name of its run (their bytes past its end
        // are the zeros it is padded with), so those come first, in their order; only they can
        // be equal to one another or differ by trailing NULs, which a comparison settles. The
        // longer ones go on eight bytes further.
        for (std::size_t i = begin; i < end;) {
            std::size_t j = i + 1;
            while (j < end && items_[j].word() == items_[i].word()) ++j;
            if (j - i > 1) {
                std::size_t ended = i, longer = i;
                for (std::size_t k = i; k < j; ++k) {
                    if (items_[k].endsHere()) items_[ended++] = items_[k];
                    else scratch_[longer++] = items_[k];
                }
                std::copy(scratch_.begin() + static_cast<std::ptrdiff_t>(i), scratch_.begin() + static_cast<std::ptrdiff_t>(longer),
                          items_.begin() + static_cast<std::ptrdiff_t>(ended));
                if (ended - i > 1) compareSort(i, ended);
                sortRun(ended, j, depth + 8);
            }
            i = j;
        }
    }

    KeyAt keys_;
    std::vector<Keyed> items_;
    std::vector<Keyed> scratch_;
    std::vector<bool>* equal_;
};

}  // namespace

std::vector<std::uint32_t> StableRowOrder(const std::vector<form::GridRow>& rows, RowKey key,
                                          std::vector<bool>* equalToPrevious) {
    if (key == RowKey::MapName) {
        const auto at = [&rows](std::uint32_t i) { return MapKey(rows[i].text); };
        return Sorter<decltype(at)>(rows.size(), at, equalToPrevious).order();
    }
    const auto at = [&rows](std::uint32_t i) { return std::string_view(rows[i].text); };
    return Sorter<decltype(at)>(rows.size(), at, equalToPrevious).order();
}

}  // namespace tolvane::maps
