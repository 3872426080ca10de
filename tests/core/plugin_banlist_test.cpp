// server_bans.txt: entries by kind into the four lists, and the rebuilt file with each kind's
// block where its first entry stood and every other line kept byte for byte.
#include "plugin/BanListFormat.h"
#include "support/TestSupport.h"

namespace tolvane::plugin {
namespace {

TEST(BanList, KindsAreReadIgnoringCaseAndBlanks) {
    const BanLists l = ParseBanList(
        "IP: - 1.2.3.4/32\r\n name : Bot\r\nFILTER:cheat  \nAlias: Player  + 10.0.0.1/32\rBan: other\r\nip:\r\n");
    EXPECT_EQ(l.ip, (std::vector<std::string>{" - 1.2.3.4/32", " "}));
    EXPECT_EQ(l.name, std::vector<std::string>{"Bot"});
    EXPECT_EQ(l.filter, std::vector<std::string>{"cheat"});
    EXPECT_EQ(l.alias, std::vector<std::string>{"Player  + 10.0.0.1/32"});
}

TEST(BanList, FiveLineFileKeepsBlocksAtTheirFirstEntry) {
    const std::string old = "Name: a\r\nIP: - 1.2.3.4/32\r\nName: b\r\na comment line\r\nFilter: x\r\n";
    EXPECT_EQ(BuildBanList(ParseBanList(old), old),
              "Name: a\r\nName: b\r\nIP: - 1.2.3.4/32\r\na comment line\r\nFilter: x\r\n");
}

TEST(BanList, ForeignLinesGoBackByteForByte) {
    // Commas and quotes do not split a line; trailing blanks stay; other kinds stay in place.
    const std::string old = "# bans, by hand; \"quoted\", too  \r\nBan: something\r\n\r\nname : Bot\r\n";
    const std::string built = BuildBanList(ParseBanList(old), old);
    EXPECT_EQ(built, "# bans, by hand; \"quoted\", too  \r\nBan: something\r\n\r\nName: Bot\r\n");
    // A second save changes nothing.
    EXPECT_EQ(BuildBanList(ParseBanList(built), built), built);
}

TEST(BanList, EmptiedKindLeavesTheFileAndNewKindsAreAppended) {
    const std::string old = "IP: - 1.2.3.4/32\r\nnote\r\nIP: + 5.6.7.8 #2\r\nName: x\r\n";
    BanLists l = ParseBanList(old);
    l.ip.clear();
    l.alias = {"P  + 1.1.1.1/32"};
    l.filter = {"a b"};
    EXPECT_EQ(BuildBanList(l, old), "note\r\nName: x\r\nFilter: a b\r\nAlias: P  + 1.1.1.1/32\r\n");
    EXPECT_EQ(BuildBanList(BanLists{}, ""), "");
}

}  // namespace
}  // namespace tolvane::plugin
