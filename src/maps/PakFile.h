#pragma once
// The file shell of the PAK directory reader: reads only an archive's header and directory,
// never its file data, through one opening of the file.
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"

namespace tolvane::maps {

// The directory bytes of the archive at `path` (a Windows-style path below the Quake 2
// directory); false when the file cannot be read or holds no directory.
bool ReadPakDirectoryBytes(const platform::FileSystem& fs, const std::string& path, std::string& directory);
// The same for a host path already found.
bool ReadPakDirectoryBytes(const std::filesystem::path& hostPath, std::string& directory);

}  // namespace tolvane::maps
