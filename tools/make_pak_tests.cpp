// Tests of the PAK writer behind make_pak: the exact byte layout the map scanner reads, the
// argument grammar, and the command-line program's handling of failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "pak_format.h"

namespace {

using namespace tolvane::tools;

std::uint32_t Le32At(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

TEST(PakLayout, HeaderDataAndDirectoryAreWhereTheEnginesLookForThem) {
    // 300 bytes of data make the directory offset 316 = 0x13C: both offset bytes matter, so a
    // byte-order mistake shows.
    const std::string big(300, 'z');
    const std::string pak = BuildPak({{"maps/harbor.bsp", "IBSP"}, {"pics/big.pcx", big}});

    ASSERT_EQ(pak.size(), 12u + 4u + 300u + 2u * 64u);
    EXPECT_EQ(pak.substr(0, 4), "PACK");
    EXPECT_EQ(static_cast<unsigned char>(pak[4]), 0x3C);
    EXPECT_EQ(static_cast<unsigned char>(pak[5]), 0x01);
    EXPECT_EQ(pak[6], '\0');
    EXPECT_EQ(pak[7], '\0');
    EXPECT_EQ(Le32At(pak, 8), 128u);

    EXPECT_EQ(pak.substr(12, 4), "IBSP");
    EXPECT_EQ(pak.substr(16, 300), big);

    const std::size_t dir = 316;
    EXPECT_EQ(pak.substr(dir, 15), "maps/harbor.bsp");
    EXPECT_EQ(pak.substr(dir + 15, 41), std::string(41, '\0')) << "name field NUL-padded to 56";
    EXPECT_EQ(Le32At(pak, dir + 56), 12u);
    EXPECT_EQ(Le32At(pak, dir + 60), 4u);
    EXPECT_EQ(pak.substr(dir + 64, 12), "pics/big.pcx");
    EXPECT_EQ(Le32At(pak, dir + 64 + 56), 16u);
    EXPECT_EQ(Le32At(pak, dir + 64 + 60), 300u);
}

TEST(PakLayout, EmptyArchiveHasItsEmptyDirectoryRightAfterTheHeader) {
    const std::string pak = BuildPak({});
    ASSERT_EQ(pak.size(), 12u);
    EXPECT_EQ(Le32At(pak, 4), 12u);
    EXPECT_EQ(Le32At(pak, 8), 0u);
    EXPECT_TRUE(ReadPak(pak).empty());
}

TEST(PakLayout, ReadingBackGivesEveryEntryInOrderDuplicatesIncluded) {
    const std::string pak = BuildPak({{"maps/a.bsp", "one"},
                                      {"maps/CastleKeep.bsp", ""},
                                      {"maps/a.bsp", "second copy"}});
    const auto dir = ReadPak(pak);
    ASSERT_EQ(dir.size(), 3u);
    EXPECT_EQ(dir[0].name, "maps/a.bsp");
    EXPECT_EQ(dir[1].name, "maps/CastleKeep.bsp");
    EXPECT_EQ(dir[1].length, 0u);
    EXPECT_EQ(dir[2].name, "maps/a.bsp");
    EXPECT_EQ(pak.substr(dir[2].offset, dir[2].length), "second copy");
}

TEST(PakLayout, NamesMustFitTheirFieldWithATerminatingNul) {
    const std::string longest(kPakMaxNameLength, 'n');
    const auto dir = ReadPak(BuildPak({{longest, "x"}}));
    ASSERT_EQ(dir.size(), 1u);
    EXPECT_EQ(dir[0].name, longest);

    EXPECT_THROW(BuildPak({{std::string(kPakNameSize, 'n'), "x"}}), std::invalid_argument);
    EXPECT_THROW(BuildPak({{"", "x"}}), std::invalid_argument);
    EXPECT_THROW(BuildPak({{std::string("maps/a\0b.bsp", 12), "x"}}), std::invalid_argument);
}

TEST(PakLayout, ReaderRefusesDamagedArchives) {
    std::string pak = BuildPak({{"maps/a.bsp", "IBSP"}});
    EXPECT_THROW(ReadPak("PAC"), std::runtime_error);
    EXPECT_THROW(ReadPak("KCAP" + pak.substr(4)), std::runtime_error);
    EXPECT_THROW(ReadPak(pak.substr(0, pak.size() - 1)), std::runtime_error)
        << "directory cut short";

    std::string badLength = pak;
    badLength[8] = 63;
    EXPECT_THROW(ReadPak(badLength), std::runtime_error);

    std::string dataPastEnd = pak;
    dataPastEnd[pak.size() - 4] = 100;  // entry length 100 in a file of 80 bytes
    EXPECT_THROW(ReadPak(dataPastEnd), std::runtime_error);
}

TEST(EntryArguments, FirstSeparatorDecidesBetweenFileAndLiteral) {
    auto file = ParseEntryArgument("maps/harbor.bsp=src/harbor:1.bsp");
    EXPECT_TRUE(file.fromFile);
    EXPECT_EQ(file.name, "maps/harbor.bsp");
    EXPECT_EQ(file.value, "src/harbor:1.bsp");

    auto literal = ParseEntryArgument("readme.txt:a=b");
    EXPECT_FALSE(literal.fromFile);
    EXPECT_EQ(literal.name, "readme.txt");
    EXPECT_EQ(literal.value, "a=b");

    EXPECT_EQ(ParseEntryArgument("empty.txt:").value, "");

    EXPECT_THROW(ParseEntryArgument("maps/harbor.bsp"), std::invalid_argument);
    EXPECT_THROW(ParseEntryArgument("=file"), std::invalid_argument);
    EXPECT_THROW(ParseEntryArgument(":text"), std::invalid_argument);
    EXPECT_THROW(ParseEntryArgument("name="), std::invalid_argument);
}

TEST(EntryArguments, LiteralTextDecodesEscapesAndRejectsUnknownOnes) {
    EXPECT_EQ(DecodeEscapes(R"(IBSP\x26\0\0\0)"), std::string("IBSP\x26\0\0\0", 8));
    EXPECT_EQ(DecodeEscapes(R"(line\r\nnext\ttab \\ end)"), "line\r\nnext\ttab \\ end");
    EXPECT_EQ(DecodeEscapes(R"(\xff\xE9)"), "\xff\xe9");

    EXPECT_THROW(DecodeEscapes(R"(a\q)"), std::invalid_argument);
    EXPECT_THROW(DecodeEscapes(R"(trailing\)"), std::invalid_argument);
    EXPECT_THROW(DecodeEscapes(R"(\x4)"), std::invalid_argument);
    EXPECT_THROW(DecodeEscapes(R"(\xg0)"), std::invalid_argument);
}

// The program itself, run as the demo script runs it.
class MakePakProgram : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() / ("make-pak-test-" + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    int Run(const std::string& args) {
        const std::string cmd = std::string("\"") + MAKE_PAK_PATH + "\" " + args + " 2>" +
                                (dir_ / "stderr.txt").string();
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Slurp(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Put(const std::filesystem::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::string Path(const std::string& name) { return "'" + (dir_ / name).string() + "'"; }

    std::filesystem::path dir_;
};

TEST_F(MakePakProgram, WritesFileAndLiteralEntriesInArgumentOrder) {
    Put(dir_ / "map.bsp", std::string("IBSP\x26\0\0\0", 8));
    ASSERT_EQ(Run(Path("out.pak") + " maps/one.bsp=" + Path("map.bsp") +
                  " 'readme.txt:hello\\r\\n'"),
              0);
    const std::string pak = Slurp(dir_ / "out.pak");
    const auto entries = ReadPak(pak);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "maps/one.bsp");
    EXPECT_EQ(pak.substr(entries[0].offset, entries[0].length), std::string("IBSP\x26\0\0\0", 8));
    EXPECT_EQ(entries[1].name, "readme.txt");
    EXPECT_EQ(pak.substr(entries[1].offset, entries[1].length), "hello\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.pak.tmp"));
}

TEST_F(MakePakProgram, FailureKeepsAnExistingArchiveAndLeavesNoPartialFile) {
    Put(dir_ / "out.pak", "previous archive");
    EXPECT_EQ(Run(Path("out.pak") + " maps/a.bsp:IBSP maps/b.bsp=" + Path("missing.bsp")), 1);
    EXPECT_EQ(Slurp(dir_ / "out.pak"), "previous archive");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.pak.tmp"));
    EXPECT_NE(Slurp(dir_ / "stderr.txt").find("missing.bsp"), std::string::npos);

    EXPECT_EQ(Run(Path("out.pak") + " 'maps/a.bsp:bad\\q'"), 1);
    EXPECT_EQ(Slurp(dir_ / "out.pak"), "previous archive");
}

TEST_F(MakePakProgram, ListPrintsOffsetLengthAndName) {
    Put(dir_ / "in.pak", BuildPak({{"maps/a.bsp", "IBSP"}, {"sound/x.wav", "RIFF..."}}));
    const std::string out = (dir_ / "list.txt").string();
    const std::string cmd = std::string("\"") + MAKE_PAK_PATH + "\" --list " + Path("in.pak") +
                            " >'" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(Slurp(out), "12\t4\tmaps/a.bsp\n16\t7\tsound/x.wav\n");

    EXPECT_EQ(Run(""), 2) << "no arguments is a usage error";
    Put(dir_ / "junk.pak", "not an archive");
    EXPECT_EQ(Run("--list " + Path("junk.pak")), 1);
}

}  // namespace
