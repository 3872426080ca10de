#pragma once
// A quick hash of a short text, eight bytes at a time: map names and grid rows are hashed by
// the hundred thousand at start-up.
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tolvane::form {

inline std::uint64_t TextHash(std::string_view text) {
    const auto load64 = [](const char* p) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    };
    const auto load32 = [](const char* p) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return std::uint64_t{v};
    };
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ n;
    const auto mix = [&h](std::uint64_t word) {
        h ^= word;
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 31;
    };
    // Whole words only, never a read of a variable length: the last word and the short cases
    // overlap bytes already read, which the length taken in above keeps apart.
    if (n >= 8) {
        for (std::size_t at = 0; at + 8 < n; at += 8) mix(load64(p + at));
        mix(load64(p + n - 8));
    } else if (n >= 4) {
        mix((load32(p) << 32) | load32(p + n - 4));
    } else if (n > 0) {
        mix((std::uint64_t{static_cast<unsigned char>(p[0])} << 16) |
            (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) | static_cast<unsigned char>(p[n - 1]));
    }
    h *= 0x94D049BB133111EBULL;
    h ^= h >> 29;
    return h;
}

}  // namespace tolvane::form
