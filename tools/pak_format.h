#pragma once
// The Quake 2 PAK archive, as far as make_pak needs it: building an archive from named
// entries, and reading its directory back (for `make_pak --list` and the tests).
//
// Layout, all integers 32-bit little-endian:
//   offset 0   "PACK"
//   offset 4   directory offset
//   offset 8   directory length in bytes (64 per entry)
//   ...        entry data, one after the other
//   directory  per entry: 56-byte name, NUL-padded, "/" as separator; data offset; data length
#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::tools {

inline constexpr std::size_t kPakHeaderSize = 12;
inline constexpr std::size_t kPakEntrySize = 64;
inline constexpr std::size_t kPakNameSize = 56;
// A name keeps at least one NUL in its field, as the engines expect.
inline constexpr std::size_t kPakMaxNameLength = kPakNameSize - 1;

struct PakEntry {
    std::string name;
    std::string data;
};

struct PakDirectoryEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

namespace detail {

inline void PutLe32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}

inline void PokeLe32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFFu);
}

inline std::uint32_t GetLe32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

}  // namespace detail

// Builds the archive bytes: header, the entries' data in the order given, then the directory.
// Throws std::invalid_argument for an empty name, a name too long for its field or holding a
// NUL byte, and std::length_error when the archive would not fit 32-bit offsets.
inline std::string BuildPak(const std::vector<PakEntry>& entries) {
    std::uint64_t total = kPakHeaderSize;
    for (const auto& e : entries) {
        if (e.name.empty()) throw std::invalid_argument("an entry name is empty");
        if (e.name.size() > kPakMaxNameLength)
            throw std::invalid_argument("entry name longer than " +
                                        std::to_string(kPakMaxNameLength) + " bytes: " + e.name);
        if (e.name.find('\0') != std::string::npos)
            throw std::invalid_argument("entry name holds a NUL byte: " + e.name);
        total += e.data.size() + kPakEntrySize;
    }
    if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("archive larger than 2 GiB");

    std::string out;
    out.reserve(static_cast<std::size_t>(total));
    out.append("PACK");
    detail::PutLe32(out, 0);  // directory offset, filled in below
    detail::PutLe32(out, static_cast<std::uint32_t>(entries.size() * kPakEntrySize));

    std::vector<std::uint32_t> offsets;
    offsets.reserve(entries.size());
    for (const auto& e : entries) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out.append(e.data);
    }
    detail::PokeLe32(out, 4, static_cast<std::uint32_t>(out.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string field = entries[i].name;
        field.resize(kPakNameSize, '\0');
        out.append(field);
        detail::PutLe32(out, offsets[i]);
        detail::PutLe32(out, static_cast<std::uint32_t>(entries[i].data.size()));
    }
    return out;
}

// Reads the directory of an archive. Throws std::runtime_error when the bytes are not a PAK
// archive or its directory or an entry's data lies outside the file.
inline std::vector<PakDirectoryEntry> ReadPak(std::string_view bytes) {
    if (bytes.size() < kPakHeaderSize || bytes.substr(0, 4) != "PACK")
        throw std::runtime_error("not a PAK archive (no PACK header)");
    const std::uint64_t dirOffset = detail::GetLe32(bytes, 4);
    const std::uint64_t dirLength = detail::GetLe32(bytes, 8);
    if (dirLength % kPakEntrySize != 0)
        throw std::runtime_error("directory length is not a multiple of 64");
    if (dirOffset + dirLength > bytes.size())
        throw std::runtime_error("directory runs past the end of the file");

    std::vector<PakDirectoryEntry> entries;
    for (std::uint64_t at = dirOffset; at < dirOffset + dirLength; at += kPakEntrySize) {
        const auto field = bytes.substr(static_cast<std::size_t>(at), kPakNameSize);
        PakDirectoryEntry e;
        e.name = std::string(field.substr(0, field.find('\0')));
        e.offset = detail::GetLe32(bytes, static_cast<std::size_t>(at) + kPakNameSize);
        e.length = detail::GetLe32(bytes, static_cast<std::size_t>(at) + kPakNameSize + 4);
        if (static_cast<std::uint64_t>(e.offset) + e.length > bytes.size())
            throw std::runtime_error("data of " + e.name + " runs past the end of the file");
        entries.push_back(std::move(e));
    }
    return entries;
}

// Decodes the escapes allowed in literal entry text: \n \r \t \0 \\ and \xHH (two hex digits).
// Any other backslash sequence is an error, so a typo does not silently end up in an archive.
inline std::string DecodeEscapes(std::string_view text) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 1 >= text.size()) throw std::invalid_argument("text ends with a lone backslash");
        const char c = text[++i];
        switch (c) {
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case 't': out.push_back('\t'); break;
            case '0': out.push_back('\0'); break;
            case '\\': out.push_back('\\'); break;
            case 'x': {
                const int hi = i + 1 < text.size() ? hex(text[i + 1]) : -1;
                const int lo = i + 2 < text.size() ? hex(text[i + 2]) : -1;
                if (hi < 0 || lo < 0) throw std::invalid_argument("\\x needs two hex digits");
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                break;
            }
            default:
                throw std::invalid_argument(std::string("unknown escape \\") + c);
        }
    }
    return out;
}

// One command-line argument of make_pak: "name=path" takes the entry's data from a file,
// "name:text" gives it literally (with DecodeEscapes). The name ends at the first "=" or ":".
struct EntryArgument {
    std::string name;
    bool fromFile = false;
    std::string value;  // the path, or the decoded text
};

inline EntryArgument ParseEntryArgument(std::string_view arg) {
    const auto sep = arg.find_first_of("=:");
    if (sep == std::string_view::npos)
        throw std::invalid_argument("expected name=file or name:text, got " + std::string(arg));
    EntryArgument parsed;
    parsed.name = std::string(arg.substr(0, sep));
    if (parsed.name.empty()) throw std::invalid_argument("an entry name is empty: " + std::string(arg));
    parsed.fromFile = arg[sep] == '=';
    const auto rest = arg.substr(sep + 1);
    if (parsed.fromFile) {
        if (rest.empty()) throw std::invalid_argument("no file given for " + parsed.name);
        parsed.value = std::string(rest);
    } else {
        parsed.value = DecodeEscapes(rest);
    }
    return parsed;
}

}  // namespace tolvane::tools
