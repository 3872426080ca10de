#pragma once
// Map names in game archives: the directory of a Quake 2 PAK archive read from its bytes, and
// the rule that turns an archive entry's name into a map name. Pure functions over bytes; the
// file shell lives in Discovery.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::maps {

inline constexpr std::size_t kPakHeaderSize = 12;
inline constexpr std::size_t kPakEntrySize = 64;
// The most entries read from one archive. The original engine refuses an archive of more than
// 4,096 files; sixteen times that leaves room for engines that allow more, while a header that
// claims a directory of gigabytes (a damaged or sparse file) costs at most a 4 MiB read.
inline constexpr std::size_t kMaxArchiveEntries = 65536;

// Where the whole directory entries of an archive lie in the file.
struct PakDirectorySpan {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;  // a multiple of 64
};

// Finds the directory from the 12-byte header ("PACK", offset, length, little-endian) and the
// file's size. The walk covers length / 64 entries and stops at the end of the file, so file
// data after the directory is never read as names, and at kMaxArchiveEntries entries. Nothing
// when the header is short or the offset is negative or at or past the end of the file.
std::optional<PakDirectorySpan> LocatePakDirectory(std::string_view header, std::uint64_t fileSize);

// The entry names of directory bytes, as the map scan reads them: from the first byte of each
// 64-byte entry, the characters up to the first comma, CR or LF, at most 64. An empty name ends
// the walk. A trailing part shorter than an entry is not read. The names point into `directory`.
std::vector<std::string_view> PakEntryNames(std::string_view directory);

// The maps of directory bytes: MapNameViewOfArchiveEntry of each of PakEntryNames, worked
// out in one pass over each entry. The names point into `directory`.
std::vector<std::string_view> PakMapNames(std::string_view directory);

// Whether the three characters at `p` are "bsp" in any letter case.
inline bool IsBspExtension(const char* p) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(p[0]) == 'b' && lower(p[1]) == 's' && lower(p[2]) == 'p';
}

// The same names handed to take(name) one at a time, with no list made.
template <typename Take>
void ForEachPakMapName(std::string_view directory, Take&& take) {
    const auto endsName = [](char c) { return c == '\0' || c == ',' || c == '\r' || c == '\n'; };
    for (std::size_t at = 0; at + kPakEntrySize <= directory.size(); at += kPakEntrySize) {
        const char* entry = directory.data() + at;
        // An entry that begins with a comma, CR or LF has an empty name, which ends the walk.
        if (entry[0] == ',' || entry[0] == '\r' || entry[0] == '\n') break;
        // A map's name begins with the whole folder: no NUL, comma, CR or LF in those bytes.
        if (std::memcmp(entry, "maps/", 5) != 0) continue;
        // Its first "." must come before the name's end, with at least one character before
        // it ("maps/.bsp" names no map); "bsp" in any case must follow it and end the name.
        std::size_t dot = 5;
        while (dot < kPakEntrySize && !endsName(entry[dot]) && entry[dot] != '.') ++dot;
        if (dot == kPakEntrySize || entry[dot] != '.' || dot == 5 || dot + 4 > kPakEntrySize) continue;
        if (!IsBspExtension(entry + dot + 1)) continue;
        if (dot + 4 < kPakEntrySize && !endsName(entry[dot + 4])) continue;
        take(std::string_view(entry + 5, dot - 5));
    }
}

// Both steps over a whole archive held in memory; the names point into `archive`.
std::vector<std::string_view> ParsePakDirectory(std::string_view archive);

// The map an archive entry holds: its name, cut at the end of the name field (the first NUL),
// must begin with "maps/" (exact, lower case) and end with ".bsp" (in any case), the file the
// engine loads for a map; the map is what lies between, subfolders included
// ("maps/ctf/flag.bsp" is "ctf/flag"). Nothing for any other entry ("maps/x.bspx",
// "maps/x.bsp.old"), and for a name with a "." before the extension.
std::optional<std::string> MapNameOfArchiveEntry(std::string_view entryName);
// The same map name as a view into `entryName`.
std::optional<std::string_view> MapNameViewOfArchiveEntry(std::string_view entryName);

}  // namespace tolvane::maps
