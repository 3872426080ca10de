// Archives whose headers claim more than the file holds: a PAK or zip directory of gigabytes in
// a sparse file costs a bounded read, yields the maps that can be read, and reports nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "maps/Discovery.h"
#include "maps/PakFormat.h"
#include "maps/ZipListing.h"
#include "support/ArchiveFixtures.h"
#include "support/TestSupport.h"

namespace tolvane::maps {
namespace {

using Rows = std::vector<form::GridRow>;

std::string Le(std::uint64_t v, int size) {
    std::string s;
    for (int i = 0; i < size; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

// A central directory entry of a stored, empty file.
std::string DirectoryEntry(const std::string& name) {
    return "PK\x01\x02" + Le(20, 2) + Le(20, 2) + Le(0, 2) + Le(0, 2) + Le(0, 4) + Le(0, 4) + Le(0, 4) + Le(0, 4) +
           Le(name.size(), 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(0, 4) + Le(0, 4) + name;
}

// The end of a zip archive with a 64-bit end record at `at`, claiming `entries` entries in a
// directory of `size` bytes at `offset`.
std::string Zip64End(std::uint64_t at, std::uint64_t entries, std::uint64_t size, std::uint64_t offset) {
    return "PK\x06\x06" + Le(44, 8) + Le(45, 2) + Le(45, 2) + Le(0, 4) + Le(0, 4) + Le(entries, 8) + Le(entries, 8) +
           Le(size, 8) + Le(offset, 8) +                        // the 64-bit end record
           "PK\x06\x07" + Le(0, 4) + Le(at, 8) + Le(1, 4) +      // its locator
           "PK\x05\x06" + std::string(8, '\xff') + std::string(8, '\xff') + Le(0, 2);
}

bool ClaimsFit(const std::string& bytes) {
    return ZipClaimsFit(
        [&bytes](std::uint64_t offset, std::size_t length, std::string& out) {
            if (offset > bytes.size()) return false;
            out = bytes.substr(static_cast<std::size_t>(offset), length);
            return true;
        },
        bytes.size());
}

TEST(ZipClaims, SixtyFourBitEndRecordsMustFitTheFileAndTheEntryLimit) {
    const std::string entry = DirectoryEntry("maps/a.bsp");
    const auto archive = [&entry](std::uint64_t entries, std::uint64_t size, std::uint64_t offset) {
        return entry + Zip64End(entry.size(), entries, size, offset);
    };
    EXPECT_TRUE(ClaimsFit(archive(1, entry.size(), 0)));
    EXPECT_FALSE(ClaimsFit(archive(kMaxArchiveEntries + 1, std::uint64_t{1} << 40, 0)));  // past the limit
    EXPECT_FALSE(ClaimsFit(archive(1000, entry.size(), 0)));      // more entries than the directory holds
    EXPECT_FALSE(ClaimsFit(archive(1, entry.size() + 200, 0)));   // a directory ending past the file
    EXPECT_FALSE(ClaimsFit(archive(1, 10, ~std::uint64_t{0})));   // an offset that wraps around
    // A locator leading nowhere, and end records without one (at most 65,535 entries), are
    // left to the zip reader, which refuses what it cannot read.
    EXPECT_TRUE(ClaimsFit(entry + Zip64End(1ull << 40, 1ull << 40, 1ull << 40, 0)));
    EXPECT_TRUE(ClaimsFit(entry + "PK\x05\x06" + std::string(8, '\xff') + std::string(8, '\xff') + Le(0, 2)));
    EXPECT_TRUE(ClaimsFit(""));
    EXPECT_TRUE(ClaimsFit("PK\x05\x06"));
}

TEST(ZipClaims, ARealArchiveIsListedFromTheFileAndFromMemory) {
    TOLVANE_NEEDS_ZIP();
    test::TempDir dir;
    const auto path = dir.path() / "a.pk3";
    ASSERT_TRUE(test::WriteZip(path, {"maps/a.bsp", "maps/b.bsp"}));
    std::vector<std::string> names;
    ASSERT_TRUE(ListZipEntries(path, names));
    EXPECT_EQ(names, (std::vector<std::string>{"maps/a.bsp", "maps/b.bsp"}));
    ASSERT_TRUE(ListZipEntriesOfBytes(dir.read("a.pk3"), names));
    EXPECT_EQ(names, (std::vector<std::string>{"maps/a.bsp", "maps/b.bsp"}));
    EXPECT_FALSE(ListZipEntriesOfBytes("PK\x03\x04 not an archive", names));
    EXPECT_TRUE(names.empty());
}

struct SparseArchives : test::CoreFixture {
    MapFields maps;
    void Pak(const std::string& rel, const std::vector<std::string>& names) { dir.write(rel, test::PakBytes(names)); }
    // Writes bytes at the start of a file made `size` bytes long, the rest a hole.
    void Sparse(const std::string& rel, const std::string& head, std::uint64_t size, const std::string& tail = "") {
        dir.write(rel, head);
        std::filesystem::resize_file(dir.path() / rel, size);
        if (tail.empty()) return;
        std::fstream f(dir.path() / rel, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(size - tail.size()));
        f.write(tail.data(), static_cast<std::streamsize>(tail.size()));
    }
};

TEST_F(SparseArchives, ClaimsOfGigabytesYieldWhatCanBeReadAndNothingIsReported) {
    TOLVANE_NEEDS_ZIP();
    const std::uint64_t twoGiB = std::uint64_t{1} << 31;
    // A PAK archive whose header claims a directory of 2 GiB right after it: its two real
    // entries are read, the hole after them names no map.
    std::string pak = "PACK" + Le(12, 4) + Le(0x7FFFFFC0, 4);
    for (const char* name : {"maps/first.bsp", "maps/second.bsp"}) {
        std::string e = name;
        e.resize(56, '\0');
        pak += e + Le(0, 4) + Le(0, 4);
    }
    Sparse("action/big.pak", pak, twoGiB);
    // A zip archive whose 64-bit end record claims a directory of 2 GiB holding 46 million
    // entries, the first of them real: it is not opened.
    const std::uint64_t directory = twoGiB - 98;
    Sparse("action/big.pk3", DirectoryEntry("maps/zipped.bsp"), twoGiB,
           Zip64End(directory, directory / 46, directory, 0));
    Pak("action/small.pak", {"maps/small.bsp"});
    ScanPakArchives(ctx, maps);
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"first", 1}, {"second", 1}, {"small", 1}}));
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace tolvane::maps
