#pragma once
// Names packed one after another in one buffer, each after its length: a few bytes a name
// rather than a string each, for the tens of thousands of names a scan reads before it makes
// rows. Read back in order only.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "state/TextReaders.h"

namespace tolvane::maps {

class PackedNames {
public:
    void add(std::string_view name) { std::memcpy(room(name.size()), name.data(), name.size()); }
    // Adds the name lower-cased (ASCII letters only, as map names are compared).
    void addLowerCase(std::string_view name) {
        char* out = room(name.size());
        for (const char c : name) *out++ = LowerAscii(c);
    }
    std::size_t size() const { return count_; }
    void clear() {
        used_ = 0;
        count_ = 0;
    }
    // Calls f(name) for each name, in the order they were added.
    template <typename F>
    void forEach(F&& f) const {
        const unsigned char* at = bytes_.get();
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
    // by doubling, through realloc: a large block then grows where it stands, or is moved by
    // the system without copying or touching its pages again.
    char* room(std::size_t n) {
        if (used_ + n + 10 > capacity_) {
            const std::size_t grown = std::max(capacity_ * 2, used_ + n + 4096);
            void* moved = std::realloc(bytes_.get(), grown);
            if (!moved) throw std::bad_alloc();
            (void)bytes_.release();
            bytes_.reset(static_cast<unsigned char*>(moved));
            capacity_ = grown;
        }
        unsigned char* const bytes = bytes_.get();
        for (std::size_t rest = n;; rest >>= 7) {
            const auto low = static_cast<unsigned char>(rest & 0x7F);
            if (rest < 0x80) {
                bytes[used_++] = low;
                break;
            }
            bytes[used_++] = static_cast<unsigned char>(low | 0x80);
        }
        ++count_;
        char* at = reinterpret_cast<char*>(bytes + used_);
        used_ += n;
        return at;
    }
    struct Free {
        void operator()(unsigned char* p) const { std::free(p); }
    };
    std::unique_ptr<unsigned char, Free> bytes_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    std::size_t count_ = 0;
};

}  // namespace tolvane::maps
