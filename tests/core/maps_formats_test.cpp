// The map file formats over bytes: PAK directories (whole, damaged and hostile), archive entry
// names, the maps.lst reader and writer with the lines it keeps, and the gather of grid rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "form/Controls.h"
#include "maps/MapsLstFormat.h"
#include "maps/PakFormat.h"
#include "pak_format.h"
#include "support/TestSupport.h"

namespace tolvane::maps {
namespace {

// Parses bytes held in a buffer of exactly their size, so a read past the end is caught.
std::vector<std::string> ParseExact(const std::string& bytes) {
    auto buffer = std::make_unique<char[]>(bytes.size() + (bytes.empty() ? 1 : 0));
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    std::vector<std::string> names;
    for (const auto name : ParsePakDirectory(std::string_view(buffer.get(), bytes.size()))) names.emplace_back(name);
    return names;
}

std::string Le32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Entry(const std::string& name) {
    std::string e = name;
    e.resize(56, '\0');
    return e + Le32(12) + Le32(4);
}

std::string Header(std::int32_t offset, std::int32_t length) {
    return "PACK" + Le32(static_cast<std::uint32_t>(offset)) + Le32(static_cast<std::uint32_t>(length));
}

TEST(PakDirectory, ListsEveryEntryOfAWellFormedArchive) {
    const std::string pak = tools::BuildPak({{"maps/a.bsp", "IBSP"}, {"sound/x.wav", "RIFF"}, {"maps/B.bsp", "IBSP"}});
    std::vector<std::string> maps;
    for (const auto& n : ParseExact(pak))
        if (auto m = MapNameOfArchiveEntry(n)) maps.push_back(*m);
    EXPECT_EQ(maps, (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(ParseExact(pak).size(), 3u);
}

TEST(PakDirectory, WalksTheDirectoryLengthNeverTheFileDataAfterIt) {
    // Directory first, file data after it: the data looks like another entry but is not one.
    const std::string pak = Header(12, 64) + Entry("maps/real.bsp") + Entry("maps/data.bsp");
    const auto names = ParseExact(pak);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(MapNameOfArchiveEntry(names[0]), "real");
}

TEST(PakDirectory, DamagedArchivesYieldWhatCanBeReadSafely) {
    const std::string two = Entry("maps/one.bsp") + Entry("maps/two.bsp");
    EXPECT_TRUE(ParseExact("").empty());
    EXPECT_TRUE(ParseExact(Header(12, 64).substr(0, 11)).empty());        // 11 bytes
    EXPECT_TRUE(ParseExact(Header(-64, 128) + two).empty());               // negative offset
    EXPECT_TRUE(ParseExact(Header(12 + 128, 128) + two).empty());          // offset at the end
    EXPECT_TRUE(ParseExact(Header(1 << 30, 128) + two).empty());           // far past it
    EXPECT_TRUE(ParseExact(Header(12, -128) + two).empty());               // negative length
    EXPECT_EQ(ParseExact(Header(12, 64 + 10) + two).size(), 1u);           // not a multiple of 64
    EXPECT_EQ(ParseExact(Header(12, 64 * 5) + two).size(), 2u);            // claims more than there is
    EXPECT_EQ(ParseExact(Header(12, 128) + two.substr(0, 100)).size(), 1u);  // truncated directory
    // An entry whose name is empty as read (a comma, CR or LF first) ends the walk; a name field
    // of NUL bytes does not, it only names no map.
    EXPECT_EQ(ParseExact(Header(12, 192) + Entry("maps/one.bsp") + Entry(",") + Entry("maps/three.bsp")).size(), 1u);
    EXPECT_EQ(ParseExact(Header(12, 192) + Entry("maps/one.bsp") + Entry("") + Entry("maps/three.bsp")).size(), 3u);
}

TEST(PakDirectory, AClaimOfGigabytesReadsNoMoreThanTheEntryLimit) {
    // A sparse file of 3 GiB whose header claims the largest directory a header can: the walk
    // covers the first entries only. The limit is well above what the engines load.
    const auto huge = LocatePakDirectory(Header(12, 0x7FFFFFFF), 3ull << 30);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->offset, 12u);
    EXPECT_EQ(huge->length, kMaxArchiveEntries * kPakEntrySize);
    EXPECT_GE(kMaxArchiveEntries, 4096u);
    // Below the limit the claim stands, and a file shorter than the claim caps it.
    EXPECT_EQ(LocatePakDirectory(Header(12, 4096 * 64), 12 + 4096 * 64)->length, 4096u * 64);
    EXPECT_EQ(LocatePakDirectory(Header(12, 0x7FFFFFFF), 12 + 130)->length, 128u);
}

TEST(PakDirectory, NameWithoutNulStaysInsideItsEntry) {
    // 56 name bytes without a NUL, then the offset and length: the name is read from these 64
    // bytes only; running into the offset bytes, it does not end in ".bsp" and names no map.
    std::string name = "maps/" + std::string(47, 'x') + ".bsp";
    ASSERT_EQ(name.size(), 56u);
    const std::string entry = name + "\x01\x02\x03\x04\x05\x06\x07\x08";
    const auto names = ParseExact(Header(12, 64) + entry);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].size(), 64u);
    EXPECT_EQ(MapNameOfArchiveEntry(names[0]), std::nullopt);
    // A NUL right after the name ends it there.
    const auto ended = ParseExact(Header(12, 64) + name + std::string(8, '\0'));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(MapNameOfArchiveEntry(ended[0]), std::string(47, 'x'));
}

TEST(PakDirectory, MapNamesInOnePassAreTheEntriesMapsOneByOne) {
    // Entries built from pieces that matter to either step: separators, NULs, dots, the folder
    // and the extension in both cases, and names filling the whole entry.
    std::mt19937 random(21);
    const std::vector<std::string> pieces = {"maps/", "MAPS/", "x", "ctf/", ".bsp", ".BSP", ".", ",", "\r", "\n",
                                             std::string(1, '\0'), "\xff", std::string(30, 'y')};
    for (int round = 0; round < 2000; ++round) {
        std::string directory;
        for (int e = static_cast<int>(random() % 6); e > 0; --e) {
            std::string entry;
            for (int p = static_cast<int>(random() % 6); p > 0; --p) entry += pieces[random() % pieces.size()];
            entry.resize(64, random() % 2 ? '\0' : 'z');
            directory += entry;
        }
        directory += std::string(random() % 64, 'q');  // a part shorter than an entry
        std::vector<std::string_view> oneByOne;
        for (const auto name : PakEntryNames(directory))
            if (const auto map = MapNameViewOfArchiveEntry(name)) oneByOne.push_back(*map);
        ASSERT_EQ(PakMapNames(directory), oneByOne) << "round " << round;
    }
}

TEST(ArchiveEntries, OnlyNamesEndingInBspInTheMapsFolderNameAMap) {
    using std::nullopt;
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"maps/CastleKeep.bsp", "CastleKeep"},   // capitals in the name are kept
        {"maps/ctf/flagrun.bsp", "ctf/flagrun"}, // a subfolder stays in the name
        {"maps/Upper.BSP", "Upper"},             // the extension in any case
        {"maps/mixed.Bsp", "mixed"},
        {"Maps/upper.bsp", nullopt},
        {"maps/v1.2/oldbase.bsp", nullopt},      // a dot before the extension
        {"maps/x.bspx", nullopt},                // the engine cannot load these
        {"maps/two.bsp.old", nullopt},
        {"maps/two.bs", nullopt},
        {"maps/x.bsp ", nullopt},
        {std::string("maps/pad.bsp\0\0\0\x0c", 16), "pad"},
        {"maps/.bsp", nullopt},
        {"maps/a,b.bsp", "a,b"},                 // zip names are whole; the PAK reader cuts at ","
        {"textures/maps/x.bsp", nullopt},
    };
    for (const auto& [entry, want] : cases) EXPECT_EQ(MapNameOfArchiveEntry(entry), want) << entry;
    // In a PAK directory too, whatever the entry holds after the name field's end.
    const std::string dir = Entry("maps/x.bspx") + Entry("maps/two.bsp.old") + Entry("maps/Up.BSP") +
                            Entry("maps/ok.bsp") + Entry("maps/cut.bsp,x") + Entry("maps/bsp.bs");
    EXPECT_EQ(PakMapNames(dir), (std::vector<std::string_view>{"Up", "ok", "cut"}));
    // In a PAK directory a comma, CR or LF ends the name.
    const auto names = ParseExact(Header(12, 64) + Entry("maps/a,b.bsp"));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "maps/a");
}

// --- maps.lst -------------------------------------------------------------------------------

std::vector<std::string> Rows(const std::string& content) {
    std::vector<std::string> rows;
    for (const auto& line : ParseMapsLst(content))
        if (line.isEntry) rows.push_back(CatalogueRow(line.name, line.description));
    return rows;
}

TEST(MapsLst, EntriesBecomeRowsAndRowsTheSameLines) {
    const std::string file = "harbor \"Harbor at Dusk\"\r\nq2dm1 \"The Edge, second half\"\r\nx \"A [b] c\"\r\n";
    const auto rows = Rows(file);
    EXPECT_EQ(rows, (std::vector<std::string>{"Harbor at Dusk [harbor]", "The Edge, second half [q2dm1]", "A [b] c [x]"}));
    EXPECT_EQ(BuildMapsLst(rows, file), file);
    EXPECT_EQ(BuildMapsLst(rows, ""), file);  // without the old file: the same canonical lines
    // Saving again changes nothing.
    EXPECT_EQ(BuildMapsLst(Rows(BuildMapsLst(rows, file)), BuildMapsLst(rows, file)), file);
}

TEST(MapsLst, EntriesAloneAreTheEntryLinesOfTheWholeFile) {
    // Random lines from pieces that decide what an entry is: blanks and tabs, quotes, line ends
    // of every kind, commas and brackets inside descriptions.
    std::mt19937 random(3);
    const std::vector<std::string> pieces = {"q2dm1", " ", "\t", "\"", "The Edge", ",", "[x]", "\r\n", "\r", "\n", "//"};
    for (int round = 0; round < 500; ++round) {
        std::string content;
        for (int p = static_cast<int>(random() % 30); p > 0; --p) content += pieces[random() % pieces.size()];
        std::vector<std::pair<std::string, std::string>> whole, alone;
        for (const auto& line : ParseMapsLst(content))
            if (line.isEntry) whole.emplace_back(line.name, line.description);
        for (const auto& entry : MapsLstEntries(content)) alone.emplace_back(entry.name, entry.description);
        ASSERT_EQ(alone, whole) << "round " << round;
    }
}

TEST(MapsLst, LinesThatAreNotEntriesAreKeptInPlace) {
    const std::string file =
        "// catalogue of the server\n"   // no quotes: kept at the top
        "\n"
        "a \"Alpha\"\n"
        "// about alpha\n"
        "b \"Beta\"\r"
        "nodesc\n"                        // no blank
        "c \"Gamma\"\r\n"
        "d noquotes\r\n";
    const auto lines = ParseMapsLst(file);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const MapsLstLine& l) { return l.isEntry; }), 3);
    // Unchanged rows: the same lines, now ended by CR LF.
    EXPECT_EQ(BuildMapsLst(Rows(file), file),
              "// catalogue of the server\r\n\r\na \"Alpha\"\r\n// about alpha\r\nb \"Beta\"\r\nnodesc\r\n"
              "c \"Gamma\"\r\nd noquotes\r\n");
    // Reordered, renamed, deleted and new rows: the kept lines follow their entry; those of a
    // deleted entry go to the end.
    EXPECT_EQ(BuildMapsLst({"New one [n]", "Gamma [c]", "Alpha renamed [a]"}, file),
              "// catalogue of the server\r\n\r\nn \"New one\"\r\nc \"Gamma\"\r\nd noquotes\r\n"
              "a \"Alpha renamed\"\r\n// about alpha\r\nnodesc\r\n");
}

TEST(MapsLst, UnchangedEntryKeepsItsOwnSpellingAndAChangedOneIsWrittenPlainly) {
    const std::string file = "  m1\t\"Desc\" // best map\r\n";
    ASSERT_EQ(Rows(file), std::vector<std::string>{"Desc [m1]"});
    EXPECT_EQ(BuildMapsLst({"Desc [m1]"}, file), file);
    EXPECT_EQ(BuildMapsLst({"Other [m1]"}, file), "m1 \"Other\"\r\n");
}

TEST(MapsLst, RowsSplitAtTheirLastBracket) {
    std::string description, name;
    SplitCatalogueRow("Castle [keep] [castle]", description, name);
    EXPECT_EQ(description, "Castle [keep]");
    EXPECT_EQ(name, "castle");
    SplitCatalogueRow(" [empty]", description, name);
    EXPECT_EQ(description, "");
    EXPECT_EQ(name, "empty");
    EXPECT_EQ(MapListLineName("  q2dm1 \"x\""), "q2dm1");
    EXPECT_EQ(MapListLineName("alone"), "alone");
    EXPECT_EQ(MapListLineName("   "), "");
}

// Real map lists from public server repositories: every line comes back, each entry as its
// row, and saving what was read gives the same lines ended by CR LF.
TEST(MapsLst, RealMapListsSurviveLoadAndSave) {
    std::vector<std::filesystem::path> files;
    if (const auto root = test::CorpusDir(); !root.empty())
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            if (e.is_regular_file() && e.path().extension() == ".lst") files.push_back(e.path());
    if (files.empty()) GTEST_SKIP() << "no corpus of real map lists beside the checkout";
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string expected;
        for (const auto& line : ParseMapsLst(original)) expected += line.text + "\r\n";
        const auto rows = Rows(original);  // none for a list of bare map names
        const std::string saved = BuildMapsLst(rows, original);
        EXPECT_EQ(saved, expected);
        EXPECT_EQ(Rows(saved), rows);
        // Written without the old file, every entry is still there, in order.
        EXPECT_EQ(Rows(BuildMapsLst(rows, "")), rows);
    }
}

// --- row gather ---------------------------------------------------------------------------

TEST(Sorts, RowsGatheredInPlaceAreTheRowsNamedInThatOrder) {
    // Orders that drop rows or keep them all, with places kept where they are, chains that
    // end past the kept places and cycles among them; short texts and texts long enough to be
    // held apart from the row.
    std::mt19937 random(4);
    for (int round = 0; round < 300; ++round) {
        const std::size_t n = random() % 300;
        std::vector<form::GridRow> rows;
        for (std::size_t i = 0; i < n; ++i)
            rows.push_back({(random() % 2 ? "r" : "a row text long enough for the heap ") + std::to_string(i),
                            static_cast<std::int32_t>(i)});
        std::vector<std::uint32_t> from(n);
        for (std::size_t i = 0; i < n; ++i) from[i] = static_cast<std::uint32_t>(i);
        switch (round % 4) {
            case 0: std::shuffle(from.begin(), from.end(), random); break;
            case 1: std::reverse(from.begin(), from.end()); break;
            case 2:  // a few places swapped, the others kept
                for (std::size_t k = 0; n > 1 && k < 3; ++k) std::swap(from[random() % n], from[random() % n]);
                break;
            default: break;
        }
        if (round % 3 != 0) from.resize(n == 0 ? 0 : random() % (n + 1));
        std::vector<form::GridRow> expected;
        for (const std::uint32_t f : from) expected.push_back(rows[f]);
        form::GatherRows(rows, from);
        ASSERT_EQ(rows, expected) << "round " << round;
    }
}

}  // namespace
}  // namespace tolvane::maps
