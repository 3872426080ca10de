// bw-admin.cfg: how each kind of value is applied (and which values leave a control alone), and
// what the builder makes of an old file: keys replaced in place, foreign lines kept, missing keys
// appended in their fixed order and under their conditions.
#include "plugin/BWAdminFormat.h"
#include "support/TestSupport.h"

namespace tolvane::plugin {
namespace {

struct BWAdminFixture : test::CoreFixture {
    PluginFields f;
    void SetUp() override {
        FillPluginChoiceLists(f);
        ConnectPluginFields(ctx, f);
    }
    void Parse(const std::string& content) { ParseBWAdmin(content, f); }
};

TEST_F(BWAdminFixture, NumbersAndTextsAreAppliedByKind) {
    Parse("MaxFPS=060\nadmin = MiXed Case\nmotd = a=b.txt\r\ncapkick = abc\rmaxping = 2.5\n");
    EXPECT_EQ(f.MaxFPS.text(), "60");
    EXPECT_EQ(f.MaxFPS.scroll.value(), 60);
    EXPECT_EQ(f.Admin.text(), "MiXed Case");
    EXPECT_EQ(f.MOTD.text(), "a=b.txt");
    // A value that is no number still goes into the box; only the spinner stays.
    EXPECT_EQ(f.CapKick.text(), "abc");
    EXPECT_EQ(f.CapKick.scroll.value(), 0);
    EXPECT_EQ(f.MaxPing.text(), "2.5");
    EXPECT_EQ(f.MaxPing.scroll.value(), 2);
    Parse("admin =");
    EXPECT_EQ(f.Admin.text(), "");
    // A frame rate that is no number leaves box and spinner alone.
    Parse("maxfps = fast");
    EXPECT_EQ(f.MaxFPS.text(), "60");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BWAdminFixture, ValueAboveTheBoundIsRefusedWithTheMessage) {
    Parse("maxrate = 40000\r\n");
    EXPECT_EQ(f.MaxRate.text(), "32767");
    EXPECT_EQ(f.MaxRate.scroll.value(), 32767);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"The maximum value is 32767"});
}

TEST_F(BWAdminFixture, ChoicesAndCheckBoxesTakeOnlyTheirValues) {
    Parse("strict = 2\r\nbanner = 2\r\n");
    EXPECT_EQ(f.Strict.text(), "Enable Checking but allow NAT routers");
    EXPECT_EQ(f.Banner.value(), 2);
    Parse("strict = 7\r\nstrict = yes\r\nstrict = 99999999999\r\nbanner = 5\r\nbanner = on\r\nbanner=70000\r\n");
    EXPECT_EQ(f.Strict.selectedIndex(), 2);
    EXPECT_EQ(f.Banner.value(), 2);
    Parse("logging = 1.4\r\nreload = 1\r\n");
    EXPECT_EQ(f.Logging.text(), "Create new log on server initialization");
    EXPECT_EQ(f.Reload.value(), 1);
}

TEST_F(BWAdminFixture, LineResultsAndKeysThatAreNotApplied) {
    EXPECT_TRUE(ParseBWAdminLine("exec = other.cfg", f));
    EXPECT_TRUE(ParseBWAdminLine("  ItemSpawns  = 1", f));
    EXPECT_FALSE(ParseBWAdminLine("a note without an equals sign", f));
    EXPECT_FALSE(ParseBWAdminLine("// admin = secret", f));
    // Only blanks are stripped: a tab before "=" makes an unknown key.
    EXPECT_FALSE(ParseBWAdminLine("admin\t= secret", f));
    EXPECT_EQ(f.Admin.text(), "");
    EXPECT_TRUE(ParseBWAdminLine("Super = x", f));
    EXPECT_EQ(f.Super.text(), "x");
}

TEST_F(BWAdminFixture, EmptyFileGetsTheTwentyAppendedLines) {
    EXPECT_EQ(BuildBWAdmin(f, ""),
              "banner = 1\r\nbotcheck = 1\r\nbotkick = 1\r\nreload = 0\r\ncapkick = 0\r\nmaxrate = 25000\r\n"
              "reject_msg = 1\r\nstrict = 0\r\nflood_lines = 0\r\nflood_time = 0\r\nflood_ban = 5\r\nlogging = 0\r\n"
              "track_connect = 0\r\ntrack_disconnect = 0\r\ntrack_renames = 0\r\ntrack_refused = 0\r\n"
              "have_wget = 0\r\nauto_download = 1\r\nauto_install = 0\r\nauto_restart = 0\r\n");
}

TEST_F(BWAdminFixture, KnownKeysAreReplacedInPlaceAndForeignLinesKept) {
    const std::string old =
        "// notes stay\r\n\r\nMaxFPS=60\r\nexec = x.cfg   \r\nDLL=gamei386.real\nitemspawns=1\r\n"
        "super = old\r\nsuper = older\r\nstrict = 7\r\n";
    Parse(old);
    f.Super.setText("new");
    const std::string built = BuildBWAdmin(f, old);
    // Lines that still hold what the window shows keep their spelling; the others are replaced.
    EXPECT_EQ(built.substr(0, built.find("banner")),
              "// notes stay\r\n\r\nMaxFPS=60\r\nexec = x.cfg   \r\nDLL=gamei386.real\r\nitemspawns=1\r\n"
              "super = new\r\nsuper = new\r\nstrict = 0\r\n");
    // Keys met once are not appended again.
    EXPECT_EQ(built.find("DLL ="), std::string::npos);
    EXPECT_EQ(built.find("super", built.find("banner")), std::string::npos);

    // Conditions: an emptied password and a frame rate of 0 remove their lines.
    f.Super.setText("");
    f.MaxFPS.setText("0");
    const std::string second = BuildBWAdmin(f, old);
    EXPECT_EQ(second.find("super"), std::string::npos);
    EXPECT_EQ(second.find("maxfps"), std::string::npos);
}

TEST_F(BWAdminFixture, ALineReadAndNotChangedIsWrittenBackAsRead) {
    // "minping = 0" is a value the writer leaves out when it writes the key itself; read and not
    // changed, it stays. So do a value written in another way than the writer's ("060").
    const std::string old = "MinPing = 0\r\nmaxfps=060\r\nbanner=1\r\nstrict = 2\r\nmaxping = 0\r\n";
    Parse(old);
    const std::string built = BuildBWAdmin(f, old);
    EXPECT_EQ(built.substr(0, old.size()), old);
    // Changed, the same lines are written as the writer writes them, conditions included.
    f.MinPing.setText("5");
    f.MaxFPS.setText("0");
    f.Banner.setValue(0);
    f.Strict.selectText("Enable Checking");
    f.MaxPing.setText("-1");
    const std::string changed = BuildBWAdmin(f, old);
    EXPECT_EQ(changed.substr(0, changed.find("botcheck")), "minping = 5\r\nbanner = 0\r\nstrict = 1\r\n");
}

TEST_F(BWAdminFixture, AppendedKeysFollowTheirConditions) {
    f.DLL.setText("game.real");
    f.Strict.selectText("Enable Checking");
    f.MaxPing.setText("abc");  // no number: written as it stands
    f.MinPing.setText("0");
    f.MaxFPS.setText("0.4");
    std::string built = BuildBWAdmin(f, "");
    EXPECT_NE(built.find("DLL = game.real\r\n"), std::string::npos);
    EXPECT_NE(built.find("strict = 1\r\n"), std::string::npos);
    EXPECT_NE(built.find("maxping = abc\r\n"), std::string::npos);
    EXPECT_EQ(built.find("minping"), std::string::npos);
    // Appending asks for a whole value of at least 1; replacing only refuses 0 or less.
    EXPECT_EQ(built.find("maxfps"), std::string::npos);
    EXPECT_NE(BuildBWAdmin(f, "maxfps = 1\r\n").find("maxfps = 0.4\r\n"), std::string::npos);
}

TEST_F(BWAdminFixture, BuiltFileReadsBackToTheSameSettings) {
    Parse("admin = a b\r\nstrict = 1\r\nlogging = 2\r\nmaxfps = 90\r\nflood_ban = 30\r\nhave_wget = 1\r\n"
          "stuff = s.cfg\r\nbotkick = 0\r\n");
    const std::string built = BuildBWAdmin(f, "");
    PluginFields again;
    FillPluginChoiceLists(again);
    ConnectPluginFields(ctx, again);
    ParseBWAdmin(built, again);
    for (const auto& k : BWAdminKeys()) {
        std::visit(
            [&](auto member) {
                using C = std::decay_t<decltype(f.*member)>;
                if constexpr (std::is_same_v<C, form::CheckBox>) EXPECT_EQ((f.*member).value(), (again.*member).value()) << k.key;
                else if constexpr (std::is_same_v<C, form::ComboList>) EXPECT_EQ((f.*member).text(), (again.*member).text()) << k.key;
                else EXPECT_EQ((f.*member).text(), (again.*member).text()) << k.key;
            },
            k.control);
    }
    EXPECT_EQ(BuildBWAdmin(again, built), built);
}

}  // namespace
}  // namespace tolvane::plugin
