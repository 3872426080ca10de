#include "maps/ByteOrder.h"

#include <algorithm>
#include <array>

namespace tolvane::maps {

namespace {

struct Keyed {
    std::uint64_t word;  // eight bytes of the name from the current depth, big-endian, zero-padded
    std::uint32_t at;    // position in the keys
};

std::uint64_t WordAt(std::string_view key, std::size_t from) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t p = from + i;
        word = (word << 8) | (p < key.size() ? static_cast<unsigned char>(key[p]) : 0u);
    }
    return word;
}

// Orders items[begin, end) by their words with byte-wise radix passes. Each pass is stable, so
// equal words keep the order the items had; passes over a byte that all items share are left
// out. The passes go back and forth between the items and the scratch space.
void RadixByWord(std::vector<Keyed>& items, std::vector<Keyed>& scratch, std::size_t begin, std::size_t end) {
    const std::size_t n = end - begin;
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    for (std::size_t i = begin; i < end; ++i)
        for (std::size_t b = 0; b < 8; ++b) ++counts[b][(items[i].word >> (8 * b)) & 0xFF];
    Keyed* from = items.data() + begin;
    Keyed* to = scratch.data() + begin;
    for (std::size_t b = 0; b < 8; ++b) {
        auto& count = counts[b];
        if (std::any_of(count.begin(), count.end(), [n](std::uint32_t c) { return c == n; })) continue;
        std::uint32_t sum = 0;
        for (auto& c : count) {
            const std::uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (std::size_t i = 0; i < n; ++i) to[count[(from[i].word >> (8 * b)) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != items.data() + begin) std::copy(from, from + n, items.data() + begin);
}

// Below this many items a plain stable comparison sort is quicker than radix passes.
constexpr std::size_t kSmallRun = 32;
// Radix passes go this many bytes into the names; ties beyond are settled by comparing.
constexpr std::size_t kMaxDepth = 32;

// A stable insertion sort by the whole names: quickest for the few items that share their
// leading bytes, and it needs no buffer.
void InsertionSort(const std::vector<std::string_view>& keys, std::vector<Keyed>& items, std::size_t begin,
                   std::size_t end) {
    for (std::size_t i = begin + 1; i < end; ++i) {
        const Keyed item = items[i];
        std::size_t j = i;
        while (j > begin && keys[item.at] < keys[items[j - 1].at]) {
            items[j] = items[j - 1];
            --j;
        }
        items[j] = item;
    }
}

void SortRun(const std::vector<std::string_view>& keys, std::vector<Keyed>& items, std::vector<Keyed>& scratch,
             std::size_t begin, std::size_t end, std::size_t depth) {
    const auto first = items.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto last = items.begin() + static_cast<std::ptrdiff_t>(end);
    if (end - begin < 2) return;
    // Items are in their original order here, so a stable sort keeps equal names in place.
    if (end - begin < kSmallRun) {
        InsertionSort(keys, items, begin, end);
        return;
    }
    if (depth >= kMaxDepth) {
        std::stable_sort(first, last, [&keys](const Keyed& a, const Keyed& b) { return keys[a.at] < keys[b.at]; });
        return;
    }
    for (auto it = first; it != last; ++it) it->word = WordAt(keys[it->at], depth);
    RadixByWord(items, scratch, begin, end);
    // Items whose eight bytes agree are ordered by what follows.
    for (std::size_t i = begin; i < end;) {
        std::size_t j = i + 1;
        while (j < end && items[j].word == items[i].word) ++j;
        if (j - i > 1) {
            // Zero padding makes "ab" and "ab\0" agree: where a name ends within these bytes
            // the comparison decides.
            const bool anyEnds = std::any_of(items.begin() + static_cast<std::ptrdiff_t>(i),
                                             items.begin() + static_cast<std::ptrdiff_t>(j),
                                             [&](const Keyed& k) { return keys[k.at].size() <= depth + 8; });
            if (anyEnds && j - i < kSmallRun)
                InsertionSort(keys, items, i, j);
            else if (anyEnds)
                std::stable_sort(items.begin() + static_cast<std::ptrdiff_t>(i), items.begin() + static_cast<std::ptrdiff_t>(j),
                                 [&keys](const Keyed& a, const Keyed& b) { return keys[a.at] < keys[b.at]; });
            else
                SortRun(keys, items, scratch, i, j, depth + 8);
        }
        i = j;
    }
}

}  // namespace

std::vector<std::uint32_t> StableByteOrder(const std::vector<std::string_view>& keys) {
    std::vector<Keyed> items(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) items[i] = {0, static_cast<std::uint32_t>(i)};
    std::vector<Keyed> scratch(keys.size());
    SortRun(keys, items, scratch, 0, items.size(), 0);
    std::vector<std::uint32_t> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].at;
    return order;
}

}  // namespace tolvane::maps
