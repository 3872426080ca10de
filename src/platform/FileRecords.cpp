// What each file held when the editor last read or wrote it: kept by host path, compared
// by size and a digest of the bytes.
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "platform/FileSystem.h"

namespace tolvane::platform {

namespace fs = std::filesystem;

namespace {

// Records are kept under one spelling of a path: the file system finds names ignoring case.
fs::path recordKey(const fs::path& p) {
    auto folded = p.native();
    for (auto& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<std::remove_reference_t<decltype(c)>>(c - 'A' + 'a');
    return fs::path(folded);
}

// A 64-bit hash of bytes, eight at a time: quick on a large map list, and any change of the
// bytes or their length changes it with near certainty.
std::uint64_t digestOf(std::string_view bytes) {
    constexpr std::uint64_t k1 = 0x9E3779B97F4A7C15ull, k2 = 0xC2B2AE3D27D4EB4Full;
    const auto mix = [](std::uint64_t h) {
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    };
    std::uint64_t h = k2 ^ (bytes.size() * k1);
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t w = 0;
        for (int b = 7; b >= 0; --b) w = (w << 8) | static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(b)]);
        h ^= w * k1;
        h = ((h << 31) | (h >> 33)) * k2;
    }
    std::uint64_t tail = 0;
    for (std::size_t j = bytes.size(); j > i; --j) tail = (tail << 8) | static_cast<unsigned char>(bytes[j - 1]);
    h ^= tail * k2;
    return mix(h);
}

}  // namespace

void FileSystem::recordRead(const fs::path& p, const FileRecord& record) const {
    if (loading_ > 0) records_[recordKey(p)] = record;
}

void FileSystem::recordAbsent(const fs::path& p) const {
    if (loading_ <= 0) return;
    // A read made in this loading knows better than a check of the name: only a path with no
    // record yet takes it (one already absent stays so).
    records_.try_emplace(recordKey(p));
}

std::optional<FileRecord> FileSystem::recorded(const std::string& path) const {
    const auto found = records_.find(recordKey(resolve(path)));
    if (found == records_.end()) return std::nullopt;
    return found->second;
}

void FileSystem::setRecord(const std::string& path, const FileRecord& record) const {
    records_[recordKey(resolve(path))] = record;
}

FileRecord FileSystem::RecordOf(std::string_view bytes) {
    return FileRecord{FileRecord::Kind::Read, bytes.size(), digestOf(bytes)};
}

}  // namespace tolvane::platform
