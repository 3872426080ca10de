#pragma once
// The entry names of a zip archive (.pk2, .pk3, .pkz, .zip), read from its central directory
// with libzip. Only the directory is read; no entry is unpacked.
#include <filesystem>
#include <string>
#include <vector>

namespace tolvane::maps {

// The archive kinds the engines read beside .pak, as listing patterns.
inline constexpr const char* kZipArchivePatterns[] = {"*.pk2", "*.pk3", "*.pkz", "*.zip"};

// The names as stored (raw bytes, "/" as separator). A file that is not a readable zip archive
// yields false and no names; a damaged entry name is skipped.
bool ListZipEntries(const std::filesystem::path& archive, std::vector<std::string>& names);

}  // namespace tolvane::maps
