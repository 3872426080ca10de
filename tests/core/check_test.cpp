// The check before start: each rule on a generated Quake 2 directory, with the configuration
// as a save would write it, once producing its finding and once not; the command line's
// --check and --start; the question START SERVER asks; real files and the demo directory.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "check/Check.h"
#include "state/TextReaders.h"
#include "support/ArchiveFixtures.h"
#include "support/CheckFindings.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::check {
namespace {

struct CheckFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<app::Editor> e;

    // A small, sound server: every check passes on it as it stands.
    void SetUp() override {
        dir.write("quake2.exe", "");  // the server program, as both systems look for it
        dir.write("action/server.cfg", "exec warmup.cfg\r\nhostname \"Test\"\r\nset allow_download 1\r\n");
        dir.write("action/warmup.cfg", "set fraglimit 5\r\n");
        dir.write("baseq2/maps/q2dm1.bsp", "IBSP");
        dir.write("action/maps/Rooftops.bsp", "IBSP");
        dir.write("action/pak1.pak", test::PakBytes({"maps/subway.bsp", "maps/Depot.bsp"}));
        dir.write("baseq2/maps.lst", "listed \"Known only from the list\"\r\n");
        dir.mkdir("baseq2/players/Cyborg");
        dir.write("baseq2/players/Cyborg/chrome.pcx", "");
        dir.write("action/players/actionmale/jewels.pcx", "");
        Start();
    }
    void Start() {
        e = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
    void Rotation(const std::vector<std::string>& maps) {
        std::vector<form::GridRow> rows;
        for (const auto& m : maps) rows.push_back({m, 0});
        e->mapFields.MapIni.setRows(std::move(rows));
    }
};

// Findings name files as the operator's system writes paths.
std::string HostPath(std::string path) {
#ifdef _WIN32
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

TEST_F(CheckFixture, SoundDirectoryHasNoFindings) {
    Rotation({"q2dm1", "Rooftops", "subway", "depot", "listed", "q2dm1*"});
    EXPECT_EQ(Dump(e->Check()), "");
}

TEST_F(CheckFixture, ServerInfoFieldsTooLongOrHoldingSeparators) {
    e->server.HostName.setText(std::string(63, 'h'));
    e->server.AdminName.setText("Sam Harlow");
    EXPECT_EQ(Dump(e->Check()), "");

    e->server.HostName.setText(std::string(64, 'h'));
    e->server.WebSite.setText("http://a/b;c");
    e->server.Location.setText("C:\\home");
    // A double quote never reaches these fields: typing one is refused where it is typed.
    const std::string email = e->server.Email.text();
    e->server.Email.setText("a\"b@example.com");
    EXPECT_EQ(e->server.Email.text(), email);
    const Findings f = e->Check();
    EXPECT_EQ(Count(f, "HostName", "64 characters"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "WebSite", "semicolon"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "Location", "backslash"), 1) << Dump(f);
    // Reported through their fields only, not again as lines of the script.
    EXPECT_EQ(f.size(), 3u) << Dump(f);
    EXPECT_EQ(f[0].file, "action\\server.cfg");
    EXPECT_EQ(f[0].control, "HostName");
}

TEST_F(CheckFixture, ServerInfoLinesTheEditorDoesNotOwn) {
    dir.write("action/server.cfg",
              "set motd1 \"Welcome; have fun\" s\r\n"  // a semicolon inside the quotes
              "set plain \"a;b\"\r\n"                  // not server information
              "set fine \"Tuesdays\" s // comment\r\n"
              "set long " + std::string(64, 'x') + " s\r\n");
    Start();
    const Findings f = e->Check();
    EXPECT_EQ(Count(f, "line 1 (motd1)", "semicolon"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "line 4 (long)", "64 characters"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 2u) << Dump(f);
}

TEST_F(CheckFixture, LongLinesAndLargeScripts) {
    const std::string fits = "set note \"" + std::string(1012, 'n') + "\"";  // 1023 bytes
    ASSERT_EQ(fits.size(), 1023u);
    dir.write("action/server.cfg", fits + "\r\n");
    Start();
    EXPECT_EQ(Dump(e->Check()), "");

    dir.write("action/server.cfg", "// x\r\n" + fits + "n\r\n");
    Start();
    EXPECT_EQ(Count(e->Check(), "line 2", "1024 bytes long"), 1) << Dump(e->Check());

    // The file as written: what the editor adds counts too.
    std::string lines;
    while (lines.size() < 32000) lines += "set sv_pad" + std::to_string(lines.size()) + " 1\r\n";
    dir.write("action/server.cfg", lines);
    Start();
    EXPECT_EQ(Count(e->Check(), "size"), 0);
    lines += std::string(700, '/') + "\r\n";
    dir.write("action/server.cfg", lines);
    Start();
    EXPECT_EQ(Count(e->Check(), "size", "larger than 32768"), 1);
}

TEST_F(CheckFixture, ScriptAndFileNamesTheConsoleWouldSplit) {
    dir.write("action/my script.cfg", "");
    e->scripts.ScriptList.setRows({{"my script.cfg", 0}, {"warmup.cfg", 0}});
    Findings f = e->Check();
    EXPECT_EQ(Count(f, "exec my script.cfg", "blank"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 1u) << Dump(f);
    EXPECT_EQ(f[0].control, "ScriptList");

    e->scripts.ScriptList.setRows({});
    e->state.strServerCfgFileName = "a;b.cfg";
    e->state.strActionIniFileName = "team play.ini";
    f = e->Check();
    EXPECT_EQ(Count(f, "file name", "a;b.cfg"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "file name", "team play.ini"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 2u) << Dump(f);
}

TEST_F(CheckFixture, ExecOfAMissingScript) {
    dir.write("baseq2/base.cfg", "");
    // Found in any case, and in the base game's directory, as the console looks there too.
    e->scripts.ScriptList.setRows({{"WARMUP.cfg", 0}, {"base.cfg", 0}});
    EXPECT_EQ(Dump(e->Check()), "");
    e->scripts.ScriptList.setRows({{"warmup.cfg", 0}, {"gone.cfg", 0}});
    const Findings f = e->Check();
    EXPECT_EQ(Count(f, "exec gone.cfg", "no such script"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 1u) << Dump(f);
}

TEST_F(CheckFixture, TeamNamesAndSkins) {
    const PlayerModels models = ReadPlayerModels(fs, "action");
    Findings f;
    CheckTeamName(f, "action\\action.ini", "Team1", std::string(23, 't'));
    CheckTeamSkin(f, "action\\action.ini", "Team1Skin", "cyborg/Chrome", models);       // any case
    CheckTeamSkin(f, "action\\action.ini", "Team2Skin", "actionmale/jewels", models);  // the mod's players
    EXPECT_EQ(Dump(f), "");

    CheckTeamName(f, "action\\action.ini", "Team1", std::string(24, 't'));
    CheckTeamSkin(f, "action\\action.ini", "Team2Skin", "actionmale/" + std::string(21, 's'), models);
    CheckTeamSkin(f, "action\\action.ini", "Team3Skin", "female/medic", models);
    CheckTeamSkin(f, "action\\action.ini", "Team1Skin", "cyborg/rust", models);
    EXPECT_EQ(Count(f, "Team1", "cuts it to \"" + std::string(23, 't') + "\""), 1) << Dump(f);
    EXPECT_EQ(Count(f, "Team2Skin", "32 characters"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "Team2Skin", "has no skin"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "Team3Skin", "no players directory holds the model \"female\""), 1) << Dump(f);
    EXPECT_EQ(Count(f, "Team1Skin", "has no skin \"rust\""), 1) << Dump(f);
    EXPECT_EQ(f.size(), 5u) << Dump(f);
}

TEST_F(CheckFixture, RotationOfMoreThanAThousandMaps) {
    Rotation(std::vector<std::string>(1000, "q2dm1"));
    EXPECT_EQ(Dump(e->Check()), "");
    Rotation(std::vector<std::string>(1001, "q2dm1"));
    const Findings f = e->Check();
    EXPECT_EQ(Count(f, "MapIni", "holds 1001 maps"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 1u) << Dump(f);
}

TEST_F(CheckFixture, RotationMapsFoundNowhereOrOnlyInAnotherCase) {
    TOLVANE_NEEDS_ZIP();
    test::WriteZip(dir.path() / "baseq2" / "extra.pk3", {"maps/zipped.bsp"});
    e->mapFields.MapList.setRows({{"Catalogued [catalogued]", 0}});
    Rotation({"zipped", "catalogued", "ghost", "rooftops", "ROOFTOPS*", "ghost"});
    const Findings f = e->Check();
    EXPECT_EQ(Count(f, "MapIni", "ghost is found nowhere"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "MapIni", "rooftops exists only as Rooftops.bsp"), 1) << Dump(f);
    EXPECT_EQ(Count(f, "MapIni", "ROOFTOPS exists only as Rooftops.bsp"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 3u) << Dump(f);
    EXPECT_EQ(f[0].file, "action\\action.ini");

    // In an archive as well: archives are searched ignoring case, so the server finds it.
    dir.write("action/pak2.pak", test::PakBytes({"maps/rooftops.bsp"}));
    Rotation({"rooftops"});
    EXPECT_EQ(Dump(e->Check()), "");
}

TEST_F(CheckFixture, DownloadingOffWithLooseOnlyMaps) {
    Rotation({"q2dm1", "subway"});
    e->server.AllowDownload.setValue(0);
    Findings f = e->Check();
    EXPECT_EQ(Count(f, "AllowDownload", "q2dm1 exists only as a loose map file"), 1) << Dump(f);
    EXPECT_EQ(f.size(), 1u) << Dump(f);  // subway is in an archive

    e->server.AllowDownload.setValue(1);
    EXPECT_EQ(Dump(e->Check()), "");
    e->server.AllowDownloadMaps.setValue(0);
    EXPECT_EQ(Count(e->Check(), "AllowDownloadMaps"), 1);
}

TEST_F(CheckFixture, StartServerAsksOnceAndStartsOnlyWhenTold) {
    int asked = 0;
    bool answer = false;
    e->confirmStartWithFindings = [&](const Findings& findings) {
        ++asked;
        EXPECT_EQ(Count(findings, "HostName"), 1);
        return answer;
    };
    auto confirmSave = [&] {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    };
    confirmSave();
    EXPECT_TRUE(e->ButtonStart_Click());
    EXPECT_EQ(asked, 0);  // nothing found, nothing asked
    EXPECT_EQ(launcher.commandLines.size(), 1u);

    e->server.HostName.setText(std::string(80, 'h'));
    confirmSave();
    EXPECT_FALSE(e->ButtonStart_Click());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(launcher.commandLines.size(), 1u);
    // The findings never stop the save.
    EXPECT_NE(dir.read("action/server.cfg").find(std::string(80, 'h')), std::string::npos);

    answer = true;
    confirmSave();
    EXPECT_TRUE(e->ButtonStart_Click());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(launcher.commandLines.size(), 2u);
}

TEST_F(CheckFixture, LookingNeverKeepsALaterSaveFromWriting) {
    // A server.cfg that cannot be read as a file while the check runs...
    std::filesystem::remove(dir.path() / "action" / "server.cfg");
    dir.mkdir("action/server.cfg");
    EXPECT_EQ(Count(e->Check(), "HostName"), 0);
    // ...is no reason to refuse the save once it is in order again.
    std::filesystem::remove_all(dir.path() / "action" / "server.cfg");
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    EXPECT_TRUE(e->ButtonSave_Click()) << e->lastResult();
    EXPECT_TRUE(dir.exists("action/server.cfg"));
}

TEST_F(CheckFixture, CommandLineCheckAndStart) {
    std::ostringstream out, err;
    app::Options o = app::ParseCommandLine({"--check", dir.path().string()});
    ASSERT_EQ(o.mode, app::Options::Mode::Check);
    EXPECT_EQ(app::RunHeadless(o, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "");

    o = app::ParseCommandLine({"--check", dir.path().string(), "--set", "AdminName=a;b", "--set", "Email=x\\y"});
    EXPECT_EQ(app::RunHeadless(o, out, err), 1) << err.str();
    const std::string lines = out.str();
    EXPECT_EQ(lines.find(HostPath("action/server.cfg") + ": AdminName: the value holds a backslash"), 0u) << lines;
    EXPECT_NE(lines.find("\n" + HostPath("action/server.cfg") + ": Email: "), std::string::npos) << lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);

    // A start without a window prints the findings and starts all the same.
    std::ostringstream startOut, startErr;
    o = app::ParseCommandLine({"--start", dir.path().string(), "--set", "AdminName=a;b"});
    EXPECT_EQ(app::RunHeadless(o, startOut, startErr, &launcher), 0) << startErr.str();
    EXPECT_NE(startErr.str().find("check: " + HostPath("action/server.cfg") + ": AdminName: "), std::string::npos) << startErr.str();
    EXPECT_EQ(launcher.commandLines.size(), 1u);
}

// Real configuration files: beside the checkout, or where TOLVANE_CORPUS_DIR says.
std::filesystem::path Corpus() {
    if (const char* env = std::getenv("TOLVANE_CORPUS_DIR"); env && *env)
        return std::filesystem::is_directory(env) ? std::filesystem::path(env) : std::filesystem::path();
    return test::CorpusDir();
}

TEST_F(CheckFixture, EveryRealFileAsTheConfigurationsFiles) {
    const auto corpus = Corpus();
    if (corpus.empty()) GTEST_SKIP() << "no corpus of real files";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const char* as : {"action/server.cfg", "action/action.ini", "action/maps.lst", "baseq2/maps.lst",
                               "action/warmup.cfg"})
            dir.write(as, bytes);
        Start();
        // Every line as a rotation map, a script and a team, odd bytes and all.
        std::vector<std::string> names;
        for (const auto& line : SplitLines(bytes)) names.push_back(line);
        Rotation(names);
        std::vector<form::GridRow> scripts;
        for (std::size_t i = 0; i < names.size() && i < 50; ++i) scripts.push_back({names[i], 0});
        e->scripts.ScriptList.setRows(std::move(scripts));
        const Findings f = e->Check();
        for (const auto& finding : f) EXPECT_FALSE(finding.message.empty()) << entry.path();
        const PlayerModels models = ReadPlayerModels(fs, "action");
        Findings teams;
        for (std::size_t i = 0; i < names.size() && i < 50; ++i) {
            CheckTeamName(teams, "action\\action.ini", "Team1", names[i]);
            CheckTeamSkin(teams, "action\\action.ini", "Team1Skin", names[i], models);
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

// The demo directory's configuration is sound: nothing to report, its rotation and teams
// included.
TEST(CheckDemo, DemoDirectoryHasNoFindings) {
    test::TempDir dir;
    std::filesystem::copy(std::filesystem::path(TOLVANE_SOURCE_DIR) / "demo" / "quake2", dir.path(),
                          std::filesystem::copy_options::recursive);
    platform::FileSystem fs(dir.path());
    test::ScriptedDialogs dialogs;
    test::RecordingProgress progress;
    test::RecordingLauncher launcher;
    app::Editor e(fs, dialogs, progress, launcher);
    e.StartUp();

    // The rotation and the teams as action.ini holds them: a section header, then its lines up
    // to "###"; a team is its name, then its model and skin.
    std::vector<form::GridRow> rotation;
    std::vector<std::pair<std::string, std::string>> teams;
    std::string section;
    std::vector<std::string> teamLines;
    for (const auto& line : SplitLines(dir.read("action/action.ini"))) {
        if (line.rfind("//", 0) == 0 || line.empty()) continue;
        if (line.rfind("###", 0) == 0) {
            if (teamLines.size() >= 2) teams.emplace_back(teamLines[0], teamLines[1]);
            section.clear();
            teamLines.clear();
        } else if (line[0] == '[') {
            section = line;
        } else if (section == "[maplist]") {
            rotation.push_back({line, 0});
        } else if (section.rfind("[team", 0) == 0) {
            teamLines.push_back(line);
        }
    }
    ASSERT_FALSE(rotation.empty());
    ASSERT_EQ(teams.size(), 3u);
    e.mapFields.MapIni.setRows(rotation);
    Findings f = e.Check();
    const PlayerModels models = ReadPlayerModels(fs, "action");
    for (const auto& [name, skin] : teams) {
        CheckTeamName(f, "action\\action.ini", "team", name);
        CheckTeamSkin(f, "action\\action.ini", "skin", skin, models);
    }
    EXPECT_EQ(Dump(f), "");
}

}  // namespace
}  // namespace tolvane::check
