#pragma once
// The entry names of a zip archive (.pk2, .pk3, .pkz, .zip), read from its central directory
// with libzip. Only the directory is read; no entry is unpacked.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::maps {

// The archive kinds the engines read beside .pak, as listing patterns.
inline constexpr const char* kZipArchivePatterns[] = {"*.pk2", "*.pk3", "*.pkz", "*.zip"};

// The names as stored (raw bytes, "/" as separator). A file that is not a readable zip archive
// yields false and no names; a damaged entry name is skipped.
bool ListZipEntries(const std::filesystem::path& archive, std::vector<std::string>& names);
// The same for an archive held in memory.
bool ListZipEntriesOfBytes(std::string_view archive, std::vector<std::string>& names);

// Reads up to `length` bytes at `offset` of the archive (fewer at its end); false on an error.
using ArchiveReader = std::function<bool(std::uint64_t offset, std::size_t length, std::string& out)>;
// Whether every end record the zip reader could pick, in the last 64 KiB of the archive, makes
// a claim the file can hold. libzip sets aside room for every entry a 64-bit end record claims
// before it reads one, so a sparse file claiming gigabytes of directory would cost that much
// memory. A record is refused when it claims more than kMaxArchiveEntries entries, more
// entries than its directory size holds, or a directory that ends past the end of the file.
bool ZipClaimsFit(const ArchiveReader& read, std::uint64_t fileSize);

}  // namespace tolvane::maps
