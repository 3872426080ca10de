#pragma once
// Names packed one after another in one buffer, each after its length: a few bytes a name
// rather than a string each, for the tens of thousands of names a scan reads before it makes
// rows. Read back in order only.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace tolvane::maps {

class PackedNames {
public:
    void add(std::string_view name) { std::memcpy(room(name.size()), name.data(), name.size()); }
    // Adds the name lower-cased (ASCII letters only, as map names are compared).
    void addLowerCase(std::string_view name) {
        char* out = room(name.size());
        for (const char c : name) *out++ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    std::size_t size() const { return count_; }
    void clear() {
        bytes_.clear();
        used_ = 0;
        count_ = 0;
    }
    // Calls f(name) for each name, in the order they were added.
    template <typename F>
    void forEach(F&& f) const {
        const unsigned char* at = bytes_.data();
        const unsigned char* const end = at + used_;
        while (at < end) {
            // The length: seven bits a byte, low bits first, the top bit set on all but the last.
            std::size_t length = 0;
            for (int shift = 0;; shift += 7) {
                const unsigned char b = *at++;
                length |= static_cast<std::size_t>(b & 0x7F) << shift;
                if (!(b & 0x80)) break;
            }
            f(std::string_view(reinterpret_cast<const char*>(at), length));
            at += length;
        }
    }

private:
    // Writes the length of a name of n bytes and returns where its bytes go. The buffer grows
    // by doubling: a call per name would cost more than the copy of a short name.
    char* room(std::size_t n) {
        if (used_ + n + 10 > bytes_.size()) bytes_.resize(std::max(bytes_.size() * 2, used_ + n + 4096));
        for (std::size_t rest = n;; rest >>= 7) {
            const auto low = static_cast<unsigned char>(rest & 0x7F);
            if (rest < 0x80) {
                bytes_[used_++] = low;
                break;
            }
            bytes_[used_++] = static_cast<unsigned char>(low | 0x80);
        }
        ++count_;
        char* at = reinterpret_cast<char*>(bytes_.data() + used_);
        used_ += n;
        return at;
    }
    std::vector<unsigned char> bytes_;
    std::size_t used_ = 0;
    std::size_t count_ = 0;
};

}  // namespace tolvane::maps
