// Ban editing: the ban dialog in its two modes with the order of its checks, the input boxes of
// the name and filter bans, the Delete buttons, and the same through the command line.
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "plugin/BanEditing.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

using plugin::BanDialog;

struct BanEditingFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void SetUp() override {
        dir.write("action/bw-admin.cfg", "");
        e = std::make_unique<Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
    }
    void OnBan(std::function<void(BanDialog&)> act) {
        dialogs.dialogSteps.push_back([act](platform::DialogModel& m) { act(dynamic_cast<BanDialog&>(m)); });
    }
    std::vector<std::string> Rows(const form::Grid& g) {
        std::vector<std::string> out;
        for (const auto& r : g.rows()) out.push_back(r.text);
        return out;
    }
};

TEST_F(BanEditingFixture, AddressBansInBothAccessModes) {
    OnBan([](BanDialog& d) {
        EXPECT_FALSE(d.NameBan.visible());
        EXPECT_FALSE(d.MaxConnect.box.enabled());  // refused: no limit to set
        d.IP.setText("192.168.1.7");
        d.ButtonSave.click();
    });
    OnBan([](BanDialog& d) {
        d.IP.setText("192.168.1.0");
        d.Refuse.setValue(0);
        EXPECT_TRUE(d.MaxConnect.box.enabled());
        EXPECT_TRUE(d.MaxConnect.scroll.enabled());
        d.SubnetMask.setText("24");
        d.MaxConnect.setText("5");
        d.ButtonSave.click();
    });
    OnBan([](BanDialog& d) {
        // The dialog starts afresh each time.
        EXPECT_EQ(d.IP.text(), "");
        EXPECT_EQ(d.Refuse.value(), 1);
        EXPECT_EQ(d.SubnetMask.text(), "32");
        d.IP.setText("192.168.1.0");
        d.Refuse.setValue(0);
        d.SubnetMask.setText("24");
        d.ButtonSave.click();
    });
    for (int i = 0; i < 3; ++i) e->plugin.ButtonIPNew.click();
    EXPECT_EQ(Rows(e->plugin.IPBans),
              (std::vector<std::string>{" - 192.168.1.7/32", " + 192.168.1.0/24 #5", " + 192.168.1.0/24"}));
    EXPECT_TRUE(e->SaveSequence());
    // No list yet: it is created in the Quake 2 directory.
    EXPECT_EQ(dir.read("server_bans.txt"),
              "IP: - 192.168.1.7/32\r\nIP: + 192.168.1.0/24 #5\r\nIP: + 192.168.1.0/24\r\n");
}

TEST_F(BanEditingFixture, NameAtAddressBanAndTheOrderOfChecks) {
    OnBan([this](BanDialog& d) {
        EXPECT_TRUE(d.NameBan.visible());
        EXPECT_EQ(d.Refuse.value(), 0);
        EXPECT_FALSE(d.Refuse.enabled());
        EXPECT_FALSE(d.MaxConnect.box.enabled());
        EXPECT_FALSE(d.LabelMaxConnect.enabled());
        d.ButtonSave.click();  // both empty: the name is reported first
        d.NameBan.setText("Two Words");
        d.IP.setText("10.0.0.1");
        d.ButtonSave.click();
        d.NameBan.setText("Player");
        d.IP.setText("");
        d.ButtonSave.click();
        EXPECT_TRUE(d.visible());
        EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"You must enter a name!", "Name cannot contain any spaces!",
                                                             "You must enter an IP address!"}));
        d.IP.setText("10.0.0.1");
        d.ButtonSave.click();
    });
    e->plugin.ButtonAliasNew.click();
    EXPECT_EQ(Rows(e->plugin.AliasBans), std::vector<std::string>{"Player  + 10.0.0.1/32"});
    EXPECT_TRUE(e->SaveSequence());
    EXPECT_NE(dir.read("server_bans.txt").find("Alias: Player  + 10.0.0.1/32\r\n"), std::string::npos);
}

TEST_F(BanEditingFixture, CancelFrameAndRefusedDialogAddNothing) {
    OnBan([](BanDialog& d) {
        d.IP.setText("1.2.3.4");
        d.ButtonCancel.click();
    });
    OnBan([](BanDialog& d) { d.IP.setText("1.2.3.4"); });  // closed by the frame
    OnBan([](BanDialog& d) { d.ButtonSave.click(); });    // refused, then closed
    e->plugin.ButtonIPNew.click();
    e->plugin.ButtonIPNew.click();
    e->plugin.ButtonAliasNew.click();
    EXPECT_EQ(e->plugin.IPBans.rowCount(), 0);
    EXPECT_EQ(e->plugin.AliasBans.rowCount(), 0);
}

TEST_F(BanEditingFixture, NamesAndFiltersFromInputBoxes) {
    dialogs.inputAnswers = {std::string("  Bot  "), std::string("two words"), std::nullopt,
                            std::string("  no cheating here "), std::string("   ")};
    for (int i = 0; i < 3; ++i) e->plugin.ButtonNameNew.click();
    e->plugin.ButtonFilterNew.click();
    e->plugin.ButtonFilterNew.click();
    EXPECT_EQ(Rows(e->plugin.NameBans), std::vector<std::string>{"Bot"});
    EXPECT_EQ(Rows(e->plugin.FilterBans), std::vector<std::string>{"no cheating here"});
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Name cannot contain any spaces!"});
    EXPECT_EQ(dialogs.prompts, (std::vector<std::string>{"Name to ban:", "Name to ban:", "Name to ban:",
                                                         "Text to Filter:", "Text to Filter:"}));
}

TEST_F(BanEditingFixture, DeleteRemovesTheCurrentRow) {
    form::Grid& g = e->plugin.NameBans;
    e->plugin.ButtonNameDelete.click();  // empty: nothing happens
    for (const char* n : {"a", "b", "c"}) g.append(n);
    g.setCurrentRow(1);
    e->plugin.ButtonNameDelete.click();
    EXPECT_EQ(Rows(g), (std::vector<std::string>{"a", "c"}));
    e->plugin.ButtonNameDelete.click();
    e->plugin.ButtonNameDelete.click();
    EXPECT_EQ(g.rowCount(), 0);
    EXPECT_EQ(g.currentRow(), -1);
}

TEST_F(BanEditingFixture, AddressesMustBeFourNumbersUpTo255) {
    OnBan([this](BanDialog& d) {
        EXPECT_EQ(d.title(), "New BW Admin Ban");
        for (const char* bad : {"999.1.2", "1.2.3", "256.1.1.1", "1.2.3.4.5", "a.b.c.d", "1..2.3", "1.2.3.4 x"}) {
            d.IP.setText(bad);
            d.ButtonSave.click();
            EXPECT_TRUE(d.visible()) << bad;
        }
        d.IP.setText("   ");  // blanks alone are no address
        d.ButtonSave.click();
        EXPECT_TRUE(d.visible());
        EXPECT_EQ(dialogs.texts().front(), "\"999.1.2\" is not an IP address!\rGive four numbers from 0 to 255 separated "
                                           "by dots, such as 192.168.1.7.");
        EXPECT_EQ(dialogs.texts().back(), "You must enter an IP address!");
        d.IP.setText(" 10.0.255.0 ");
        d.ButtonSave.click();
    });
    e->plugin.ButtonIPNew.click();
    EXPECT_EQ(Rows(e->plugin.IPBans), std::vector<std::string>{" - 10.0.255.0/32"});
    EXPECT_TRUE(plugin::IsIPv4Address("0.0.0.0"));
    EXPECT_TRUE(plugin::IsIPv4Address("255.255.255.255"));
    EXPECT_FALSE(plugin::IsIPv4Address("1234.1.1.1"));
    EXPECT_FALSE(plugin::IsIPv4Address(""));
}

TEST_F(BanEditingFixture, NameBansDifferingOnlyInCapitalsAreRefused) {
    dialogs.inputAnswers = {std::string("Bot"), std::string("bot"), std::string("BOT"), std::string("Botty")};
    for (int i = 0; i < 4; ++i) e->plugin.ButtonNameNew.click();
    EXPECT_EQ(Rows(e->plugin.NameBans), (std::vector<std::string>{"Bot", "Botty"}));
    ASSERT_EQ(dialogs.texts().size(), 2u);
    EXPECT_EQ(dialogs.texts()[0], "\"bot\" is banned already as \"Bot\"!\rName bans do not tell capital letters from small ones.");
}

TEST_F(BanEditingFixture, ExistingBansOpenFilledAndAreReplacedInPlace) {
    form::Grid& ips = e->plugin.IPBans;
    ips.append(" - 1.2.3.4/32");
    ips.append(" + 10.0.0.0/8 #3");
    ips.append(" - 5.6.7.8/32");
    ips.setCurrentRow(1);
    OnBan([](BanDialog& d) {
        EXPECT_EQ(d.title(), "Edit BW Admin Ban");
        EXPECT_EQ(d.Refuse.value(), 0);
        EXPECT_EQ(d.IP.text(), "10.0.0.0");
        EXPECT_EQ(d.SubnetMask.text(), "8");
        EXPECT_EQ(d.MaxConnect.text(), "3");
        EXPECT_TRUE(d.MaxConnect.box.enabled());
        EXPECT_FALSE(d.NameBan.visible());
        d.MaxConnect.setText("7");
        d.ButtonSave.click();
    });
    plugin::EditCurrentBan(e->ctx, e->plugin, e->frmBans, ips);
    EXPECT_EQ(Rows(ips), (std::vector<std::string>{" - 1.2.3.4/32", " + 10.0.0.0/8 #7", " - 5.6.7.8/32"}));
    // Cancelled: the row stays; the next new ban is titled as new again.
    OnBan([](BanDialog& d) {
        d.IP.setText("9.9.9.9");
        d.ButtonCancel.click();
    });
    plugin::EditCurrentBan(e->ctx, e->plugin, e->frmBans, ips);
    EXPECT_EQ(ips.text(1), " + 10.0.0.0/8 #7");
    OnBan([](BanDialog& d) {
        EXPECT_EQ(d.title(), "New BW Admin Ban");
        EXPECT_EQ(d.IP.text(), "");
        d.ButtonCancel.click();
    });
    e->plugin.ButtonIPNew.click();

    form::Grid& aliases = e->plugin.AliasBans;
    aliases.append("Player  + 10.0.0.1/32");
    aliases.setCurrentRow(0);
    OnBan([](BanDialog& d) {
        EXPECT_EQ(d.NameBan.text(), "Player");
        EXPECT_EQ(d.IP.text(), "10.0.0.1");
        EXPECT_FALSE(d.Refuse.enabled());
        d.NameBan.setText("Other");
        d.ButtonSave.click();
    });
    plugin::EditCurrentBan(e->ctx, e->plugin, e->frmBans, aliases);
    EXPECT_EQ(Rows(aliases), std::vector<std::string>{"Other  + 10.0.0.1/32"});
}

TEST_F(BanEditingFixture, NamesAndFiltersEditInTheirInputBoxes) {
    form::Grid& names = e->plugin.NameBans;
    for (const char* n : {"Bot", "Camper"}) names.append(n);
    names.setCurrentRow(1);
    dialogs.inputAnswers = {std::string("bot"), std::string("Two words"), std::nullopt, std::string("CAMPER")};
    for (int i = 0; i < 4; ++i) plugin::EditCurrentBan(e->ctx, e->plugin, e->frmBans, names);
    // A row may change its own capitals; it may not take another's name.
    EXPECT_EQ(Rows(names), (std::vector<std::string>{"Bot", "CAMPER"}));
    EXPECT_EQ(dialogs.texts().size(), 2u);
    form::Grid& filters = e->plugin.FilterBans;
    filters.append("cheat");
    filters.setCurrentRow(0);
    dialogs.inputAnswers = {std::string(" no cheats ")};
    plugin::EditCurrentBan(e->ctx, e->plugin, e->frmBans, filters);
    EXPECT_EQ(Rows(filters), std::vector<std::string>{"no cheats"});
    EXPECT_EQ(dialogs.prompts.back(), "Text to Filter:");
}

TEST(CommandLineActions, ParsedInOrderAmongTheSettings) {
    auto o = ParseCommandLine({"--set", "A=1", "--row", "IPBans=2", "--pick=Strict=Enable Checking", "--set", "B=2",
                               "--click", "ButtonIPNew", "--answer", "x=y"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    ASSERT_EQ(o.actions.size(), 4u);
    EXPECT_EQ(o.actions[0].name, "IPBans");
    EXPECT_EQ(o.actions[0].value, "2");
    EXPECT_EQ(o.actions[0].setsBefore, 1u);
    EXPECT_EQ(o.actions[1].value, "Enable Checking");
    EXPECT_EQ(o.actions[2].name, "ButtonIPNew");
    EXPECT_EQ(o.actions[2].setsBefore, 2u);
    EXPECT_EQ(o.actions[3].value, "x=y");
    EXPECT_FALSE(ParseCommandLine({"--row", "IPBans"}).error.empty());
    EXPECT_FALSE(ParseCommandLine({"--click"}).error.empty());
}

TEST_F(BanEditingFixture, HeadlessClicksFillTheBanList) {
    dir.write("action/server_bans.txt", "Name: old\r\nName: gone\r\n");
    Options o = ParseCommandLine({"--save", dir.path().string(), "--set", "frmBans.IP=10.1.1.1", "--set",
                                  "frmBans.Refuse=0", "--set", "frmBans.MaxConnect=3", "--click", "ButtonIPNew",
                                  "--click", "ButtonIPNew", "--answer", "Bob", "--click", "ButtonNameNew", "--row",
                                  "NameBans=1", "--click", "ButtonNameDelete", "--pick", "Strict=Enable Checking"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(o, out, err), 0) << err.str();
    // The second dialog had no fields set: its empty address was refused and it was cancelled.
    EXPECT_EQ(err.str(), "message: You must enter an IP address!\n");
    EXPECT_EQ(dir.read("action/server_bans.txt"), "Name: old\r\nName: Bob\r\nIP: + 10.1.1.1/32 #3\r\n");
    EXPECT_NE(dir.read("action/bw-admin.cfg").find("strict = 1\r\n"), std::string::npos);
}

TEST_F(BanEditingFixture, UnknownNamesSaveNothing) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--click", "ButtonNoSuch", "--click", "ButtonSave"},
             {"--row", "NameBans=0"},
             {"--pick", "Strict=Sometimes"},
             {"--set", "frmBans.Nothing=1"}}) {
        std::vector<std::string> all = {"--save", dir.path().string()};
        all.insert(all.end(), args.begin(), args.end());
        std::ostringstream out, err;
        EXPECT_EQ(RunHeadless(ParseCommandLine(all), out, err), 2) << args[1];
        EXPECT_FALSE(dir.exists("action/server.cfg")) << args[1];
        EXPECT_FALSE(dir.exists("action/bw-admin.bak")) << args[1];
    }
}

}  // namespace
}  // namespace tolvane::app
