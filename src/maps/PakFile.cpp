#include "maps/PakFile.h"

#include "maps/PakFormat.h"
#include "platform/ReadOnlyFile.h"

namespace tolvane::maps {

bool ReadPakDirectoryBytes(const platform::FileSystem& fs, const std::string& path, std::string& directory) {
    return ReadPakDirectoryBytes(fs.resolve(path), directory);
}

bool ReadPakDirectoryBytes(const std::filesystem::path& hostPath, std::string& directory) {
    const platform::ReadOnlyFile file(hostPath);
    const auto size = file.size();
    std::string header;
    if (!size || !file.readAt(0, kPakHeaderSize, header)) return false;
    const auto span = LocatePakDirectory(header, *size);
    return span && file.readAt(span->offset, static_cast<std::size_t>(span->length), directory);
}

}  // namespace tolvane::maps
