#include "maps/PakFormat.h"

#include <algorithm>
#include <cstring>

namespace tolvane::maps {

namespace {

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

}  // namespace

std::optional<PakDirectorySpan> LocatePakDirectory(std::string_view header, std::uint64_t fileSize) {
    if (header.size() < kPakHeaderSize) return std::nullopt;
    // Both fields are signed 32-bit values in the format; a negative one describes no directory.
    const auto offset = static_cast<std::int32_t>(Le32(header, 4));
    const auto length = static_cast<std::int32_t>(Le32(header, 8));
    if (offset < 0 || length < 0) return std::nullopt;
    const auto start = static_cast<std::uint64_t>(offset);
    if (start >= fileSize) return std::nullopt;
    std::uint64_t room = std::min<std::uint64_t>(static_cast<std::uint64_t>(length), fileSize - start);
    room = std::min<std::uint64_t>(room, kMaxArchiveEntries * kPakEntrySize);
    room -= room % kPakEntrySize;
    return PakDirectorySpan{start, room};
}

std::vector<std::string_view> PakEntryNames(std::string_view directory) {
    std::vector<std::string_view> names;
    names.reserve(directory.size() / kPakEntrySize);
    for (std::size_t at = 0; at + kPakEntrySize <= directory.size(); at += kPakEntrySize) {
        const std::string_view entry = directory.substr(at, kPakEntrySize);
        // The first comma, CR or LF; each searched for with memchr, which is far quicker over
        // tens of thousands of entries than a loop testing every byte against all three.
        std::size_t end = entry.size();
        for (const char stop : {',', '\r', '\n'})
            if (const void* hit = std::memchr(entry.data(), stop, end))
                end = static_cast<std::size_t>(static_cast<const char*>(hit) - entry.data());
        const std::string_view name = entry.substr(0, end);
        if (name.empty()) break;
        names.push_back(name);
    }
    return names;
}

std::vector<std::string_view> PakMapNames(std::string_view directory) {
    std::vector<std::string_view> maps;
    ForEachPakMapName(directory, [&maps](std::string_view map) { maps.push_back(map); });
    return maps;
}

std::vector<std::string_view> ParsePakDirectory(std::string_view archive) {
    const auto span = LocatePakDirectory(archive, archive.size());
    if (!span) return {};
    return PakEntryNames(archive.substr(static_cast<std::size_t>(span->offset), static_cast<std::size_t>(span->length)));
}

std::optional<std::string> MapNameOfArchiveEntry(std::string_view entryName) {
    const auto map = MapNameViewOfArchiveEntry(entryName);
    if (!map) return std::nullopt;
    return std::string(*map);
}

std::optional<std::string_view> MapNameViewOfArchiveEntry(std::string_view entryName) {
    // The name field ends at its first NUL, as the engines read it; the bytes after it are
    // padding or the entry's offset and length.
    const std::string_view name = entryName.substr(0, entryName.find('\0'));
    constexpr std::string_view prefix = "maps/";
    constexpr std::size_t suffixSize = 4;  // ".bsp"
    // A bare "maps/.bsp" names no map.
    if (name.size() <= prefix.size() + suffixSize) return std::nullopt;
    if (name.substr(0, prefix.size()) != prefix) return std::nullopt;
    // The map runs to the name's first "."; only ".bsp" may follow it, to the end.
    const std::string_view map = name.substr(prefix.size(), name.size() - prefix.size() - suffixSize);
    if (map.find('.') != std::string_view::npos) return std::nullopt;
    if (name[name.size() - suffixSize] != '.' || !IsBspExtension(name.data() + name.size() - 3)) return std::nullopt;
    return map;
}

}  // namespace tolvane::maps
