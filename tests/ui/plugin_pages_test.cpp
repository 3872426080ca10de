// The plug-in's tabs in the main window: every control of the plug-in on its tab, the notice on
// all three tabs, and a New button that reaches the ban dialog.
#include "ui/QtSetup.h"  // first: see there

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>

#include "app/Editor.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/WindowHarness.h"

namespace tolvane::ui {
namespace {

struct PluginPagesTest : ::testing::Test, test::WindowHarness {
    void TearDown() override { window.reset(); }
};

TEST_F(PluginPagesTest, EveryControlOnItsTabAndTheNoticeOnAllThree) {
    Start();  // no bw-admin.cfg
    const std::vector<std::pair<int, std::vector<const char*>>> places = {
        {8, {"Admin", "Super", "Banner", "BotCheck", "BotKick", "Reload", "Reject_msg", "Strict", "Logging",
             "Track_Connect", "Track_Disconnect", "Track_Renames", "Track_Refused", "Have_WGet", "Auto_Download",
             "Auto_Install", "Auto_Restart"}},
        {9, {"DLL", "MOTD", "Stuff", "MaxFPS", "CapKick", "MaxRate", "MaxPing", "MinPing", "Flood_Lines",
             "Flood_Time", "Flood_Ban"}},
        {10, {"IPBans", "NameBans", "FilterBans", "AliasBans", "ButtonIPNew", "ButtonIPDelete", "ButtonNameNew",
              "ButtonNameDelete", "ButtonFilterNew", "ButtonFilterDelete", "ButtonAliasNew", "ButtonAliasDelete"}}};
    for (const auto& [tab, names] : places)
        for (const char* name : names) EXPECT_NE(Tab(tab)->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    for (int i = 0; i < 3; ++i) {
        auto* notice = Tab(8 + i)->findChild<QLabel*>(QStringLiteral("NoBWAdmin(%1)").arg(i));
        ASSERT_NE(notice, nullptr) << i;
        EXPECT_FALSE(notice->isHidden());
        EXPECT_EQ(notice->text(), QStringLiteral("No existing bw-admin.cfg was found.  Thus, none will be saved."));
    }
    auto* reject = Tab(8)->findChild<QCheckBox*>(QStringLiteral("Reject_msg"));
    EXPECT_EQ(reject->text(), QStringLiteral("Show Reject Msg"));
    EXPECT_TRUE(reject->isChecked());
    EXPECT_EQ(Tab(10)->findChild<QListView*>(QStringLiteral("NameBans"))->toolTip(),
              QStringLiteral("Will ban anyone whose name contains the keywords listed"));
}

TEST_F(PluginPagesTest, NoticesHiddenWithAFileAndNewReachesTheDialog) {
    dir.write("action/bw-admin.cfg", "admin = x\r\n");
    Start();
    EXPECT_TRUE(Tab(10)->findChild<QLabel*>(QStringLiteral("NoBWAdmin(2)"))->isHidden());
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) {
        auto& d = dynamic_cast<plugin::BanDialog&>(m);
        d.IP.setText("1.2.3.4");
        d.ButtonSave.click();
    });
    Tab(10)->findChild<QPushButton*>(QStringLiteral("ButtonIPNew"))->click();
    EXPECT_EQ(editor->plugin.IPBans.rowCount(), 1);
    EXPECT_EQ(Tab(10)->findChild<QListView*>(QStringLiteral("IPBans"))->model()->rowCount(), 1);
}

}  // namespace
}  // namespace tolvane::ui
