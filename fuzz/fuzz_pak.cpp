// Reads any bytes as a PAK archive's header and directory: nothing may crash or read outside the
// bytes, the directory found must lie inside them and within the entry limit, and the maps of
// the one-pass walk must be those of the entries taken one by one.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "maps/PakFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvane::maps;
    const std::string_view archive(reinterpret_cast<const char*>(data), size);
    const auto fail = [](const char* what) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    };
    if (const auto span = LocatePakDirectory(archive, size)) {
        if (span->offset >= size || span->length > size - span->offset) fail("the directory lies outside the file");
        if (span->length % kPakEntrySize != 0 || span->length > kMaxArchiveEntries * kPakEntrySize)
            fail("the directory is not whole entries within the limit");
        const std::string_view directory = archive.substr(static_cast<std::size_t>(span->offset),
                                                          static_cast<std::size_t>(span->length));
        std::vector<std::string_view> oneByOne;
        for (const auto name : PakEntryNames(directory))
            if (const auto map = MapNameViewOfArchiveEntry(name)) oneByOne.push_back(*map);
        if (PakMapNames(directory) != oneByOne) fail("the one-pass walk differs from the entries one by one");
    }
    // The bytes taken as a directory on their own, as the walk would read them.
    std::vector<std::string_view> oneByOne;
    for (const auto name : PakEntryNames(archive))
        if (const auto map = MapNameViewOfArchiveEntry(name)) oneByOne.push_back(*map);
    if (PakMapNames(archive) != oneByOne) fail("the one-pass walk differs from the entries one by one");
    (void)ParsePakDirectory(archive);
    return 0;
}
