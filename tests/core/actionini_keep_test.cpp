// action.ini says what it said unless the operator changed it: models and skins no players
// directory holds, names as the file holds them, the rotation's own spelling, later map lists,
// and the comments and odd lines of the map list. Each file written is also read as the mod
// reads it, held against what the window showed.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "maps/MapIndex.h"
#include "modini/ActionIni.h"
#include "modini/ActionIniFormat.h"
#include "state/TextReaders.h"
#include "support/ArchiveFixtures.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"
#include "teams/TeamHandlers.h"

namespace tolvane::app {
namespace {

// Map names as a host has them, for one test: lower-cased (Windows) or as their files spell
// them (a file system that tells case apart).
struct MapNameCase {
    bool was = maps::MapNamesKeepFileCase();
    explicit MapNameCase(bool keep) { maps::SetMapNamesKeepFileCase(keep); }
    ~MapNameCase() { maps::SetMapNamesKeepFileCase(was); }
};

// The mod's own reading: lines end at LF (a CR before it dropped), nothing is trimmed, empty
// and "//" lines are skipped, "[name]" starts a section (a "[" line without "]" is skipped),
// a line starting with "###" ends one; a team's first two lines are its name and model/skin,
// and every line of every [maplist] section is a map.
struct ModReading {
    std::array<std::pair<std::string, std::string>, 3> teams;
    std::vector<std::string> maps;
};

ModReading ReadAsTheMod(const std::string& file) {
    ModReading mod;
    std::string section;
    int into = -1;
    std::istringstream in(file);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (line.empty() || line.rfind("//", 0) == 0) continue;
        if (line[0] == '[') {
            const auto close = line.find(']');
            if (close == std::string::npos) continue;
            section = line.substr(1, close - 1);
            into = 0;
            continue;
        }
        if (line.rfind("###", 0) == 0) {
            into = -1;
            continue;
        }
        if (into < 0) continue;
        for (std::size_t t = 0; t < 3; ++t) {
            if (section != "team" + std::to_string(t + 1)) continue;
            if (into == 0) mod.teams[t].first = line;
            if (into == 1) mod.teams[t].second = line;
        }
        if (section == "maplist") mod.maps.push_back(line);
        ++into;
    }
    return mod;
}

struct KeepFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void Begin() {
        e = Start();
        e->mainWindowVisible = true;
    }
    bool Save() {
        dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
        return e->ButtonSave_Click();
    }
    // Puts the first available map into the rotation, as the "Add" button does.
    void AddFirstAvailable() {
        ASSERT_EQ(e->form.selectRow("MapDir", "0"), "");
        ASSERT_EQ(e->form.click("ButtonAdd"), "");
    }
    std::vector<std::string> Rotation() const {
        std::vector<std::string> texts;
        for (const auto& row : e->mapFields.MapIni.rows()) texts.push_back(row.text);
        return texts;
    }
};

// Real files with team blocks, in a Quake 2 directory without any players directory: a change
// of the rotation alone leaves every team as the mod read it, line for line.
TEST_F(KeepFixture, RealFilesKeepTheirTeamsWhenOnlyTheRotationChanges) {
    const auto root = test::CorpusDir();
    if (root.empty()) GTEST_SKIP() << "no corpus of real mod settings files beside the checkout";
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".ini") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const ModReading before = ReadAsTheMod(original);
        if (before.teams[0].first.empty()) continue;
        SCOPED_TRACE(entry.path().string());
        ++checked;
        dir.write("action/action.ini", original);
        dir.write("action/maps/zzfresh.bsp", "x");
        dialogs.messages.clear();
        Begin();
        // The window shows each team as the file has it.
        for (std::size_t t = 0; t < 3; ++t) {
            if (before.teams[t].first.empty()) continue;
            EXPECT_EQ(e->teams.nameBoxes()[t]->text(), before.teams[t].first);
            EXPECT_EQ(e->teams.modelLists()[t]->text() + "/" + e->teams.skinLists()[t]->text(), before.teams[t].second);
        }
        AddFirstAvailable();
        ASSERT_TRUE(Save());
        const std::string saved = dir.read("action/action.ini");
        const ModReading after = ReadAsTheMod(saved);
        EXPECT_EQ(after.teams, before.teams);
        EXPECT_EQ(after.maps.back(), "zzfresh");
        // The team lines themselves are untouched.
        const auto savedLines = SplitLines(saved);
        for (std::size_t t = 0; t < 3; ++t) {
            for (const std::string* text : {&before.teams[t].first, &before.teams[t].second}) {
                if (text->empty()) continue;
                EXPECT_NE(std::find(savedLines.begin(), savedLines.end(), *text), savedLines.end()) << *text;
            }
        }
        EXPECT_TRUE(dialogs.messages.empty());
        dir.write("action/action.ini", "");
        std::filesystem::remove(dir.path() / "action" / "action.bak");
    }
    if (checked == 0) GTEST_SKIP() << "no real file with team blocks";
}

TEST_F(KeepFixture, AModelTheOperatorPicksReplacesTheOneReadAndAnExtraLeavesOnTheNextLoad) {
    dir.write("baseq2/players/male/grunt.pcx", "x");
    dir.write("action/maps/city.bsp", "x");
    dir.write("action/action.ini", "[team1]\r\nRed\r\ncyborg/oni911\r\n###\r\n[team2]\r\nBlue\r\nmale/nosuch\r\n###\r\n"
                                   "[maplist]\r\n###\r\n");
    dir.write("action/b.ini", "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
    Begin();
    EXPECT_EQ(e->teams.Team1Model.items(), (std::vector<std::string>{"male", "cyborg"}));
    EXPECT_EQ(e->teams.Team1Skin.items(), std::vector<std::string>{"oni911"});
    EXPECT_EQ(e->teams.Team2Model.items(), std::vector<std::string>{"male"});
    EXPECT_EQ(e->teams.Team2Skin.items(), (std::vector<std::string>{"grunt", "nosuch"}));
    EXPECT_FALSE(e->state.bActionIniChanged);

    // Picking another model gives its own skins; team 2 is written back as read.
    e->teams.Team1Model.selectText("male");
    EXPECT_EQ(e->teams.Team1Skin.text(), "grunt");
    ASSERT_TRUE(Save());
    EXPECT_EQ(dir.read("action/action.ini"), "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nmale/nosuch\r\n"
                                             "###\r\n[maplist]\r\n###\r\n");

    // The next file names an installed model: the extra item is gone.
    std::string name = "b";
    e->state.strActionIniFileName = "b.ini";
    e->LoadConfiguration(name);
    EXPECT_EQ(e->teams.Team1Model.items(), std::vector<std::string>{"male"});
    EXPECT_EQ(e->teams.Team1Model.text(), "male");
}

TEST_F(KeepFixture, AModelLineWithoutASkinOrWithoutAModelIsShownAndKeptAsRead) {
    dir.write("baseq2/players/male/grunt.pcx", "x");
    dir.write("action/maps/city.bsp", "x");
    const std::string file = "[team1]\r\nRed\r\nmale/\r\n###\r\n[team2]\r\nBlue\r\n###\r\n[team3]\r\nGreen\r\nmale\r\n"
                             "###\r\n[maplist]\r\n###\r\n";
    dir.write("action/action.ini", file);
    // A team whose block names no model shows none, even when the window held one before.
    Begin();
    EXPECT_EQ(e->teams.Team1Model.text(), "male");
    EXPECT_EQ(e->teams.Team1Skin.text(), "");
    EXPECT_EQ(e->teams.Team2Model.text(), "");
    EXPECT_EQ(e->teams.Team2Skin.count(), 0);
    AddFirstAvailable();
    ASSERT_TRUE(Save());
    EXPECT_EQ(dir.read("action/action.ini"), file.substr(0, file.size() - 5) + "city\r\n###\r\n");
}

TEST_F(KeepFixture, TheRotationKeepsTheFilesSpellingAndTheAvailableRowsTagAndMarker) {
    const MapNameCase windows(false);
    maps::MapFields fields;
    fields.MapDir.setRows({{"city*", 2}, {"Jungle", 1}, {"urban", 0}});
    modini::TakeFromAvailable(fields, {"CITY", "jungle", "nowhere"});
    EXPECT_EQ(fields.MapIni.rows(), (std::vector<form::GridRow>{{"CITY*", 2}, {"jungle", 1}, {"nowhere", maps::kTagNotFound}}));
    EXPECT_EQ(fields.MapDir.rows(), (std::vector<form::GridRow>{{"urban", 0}}));

    dir.write("action/maps/city.bsp", "x");
    dir.write("action/maps/urban.bsp", "x");
    // Names differing only in case are one map: the later stays.
    dir.write("action/action.ini", "[maplist]\r\nCity\r\nJungle\r\nCITY\r\n###\r\n");
    Begin();
    EXPECT_EQ(Rotation(), (std::vector<std::string>{"Jungle", "CITY"}));
    AddFirstAvailable();
    ASSERT_TRUE(Save());
    EXPECT_EQ(dir.read("action/action.ini"), "[maplist]\r\nJungle\r\nCITY\r\nurban\r\n###\r\n");
}

TEST_F(KeepFixture, WhereCaseMattersTheRotationNamesEachMapAsItsFileIsSpelt) {
    const MapNameCase kept(true);
    // The server loads "maps/" + name + ".bsp" as spelt: the rotation, the file written and the
    // server's start map take the spelling of the file found, an exact one first.
    dir.write("action/maps/Rooftops.bsp", "x");
    dir.write("action/maps/City.bsp", "x");
    dir.write("baseq2/maps/city.bsp", "x");
    dir.write("action/pak1.pak", test::PakBytes({"maps/Depot.bsp"}));
    dir.write("action/action.ini", "[maplist]\r\nrooftops\r\ncity\r\nDEPOT\r\nnowhere\r\n###\r\n");
    Begin();
    EXPECT_EQ(e->mapFields.MapIni.rows(),
              (std::vector<form::GridRow>{{"Rooftops", 0}, {"city", 0}, {"Depot", 1}, {"nowhere", maps::kTagNotFound}}));
    // The other spelling is another file, still available.
    EXPECT_EQ(e->mapFields.MapDir.rows(), (std::vector<form::GridRow>{{"City", 0}}));
    e->state.bActionIniChanged = true;
    ASSERT_TRUE(Save());
    EXPECT_EQ(dir.read("action/action.ini"), "[maplist]\r\nRooftops\r\ncity\r\nDepot\r\nnowhere\r\n###\r\n");
    EXPECT_NE(dir.read("action/server.cfg").find("\r\nmap Rooftops\r\n"), std::string::npos);

    // On Windows the rotation keeps action.ini's spelling and loose names are lower-cased.
    const MapNameCase windows(false);
    dir.write("action/action.ini", "[maplist]\r\nrooftops\r\nCITY\r\n###\r\n");
    Begin();
    EXPECT_EQ(e->mapFields.MapIni.rows(), (std::vector<form::GridRow>{{"rooftops", 0}, {"CITY", 0}}));
    EXPECT_EQ(e->mapFields.MapDir.rows(), (std::vector<form::GridRow>{{"Depot", 1}}));
}

TEST_F(KeepFixture, ATwoTeamFileShowsNoThirdTeamAndGetsNoneUnlessItIsFilledIn) {
    dir.write("baseq2/players/male/grunt.pcx", "x");
    const std::string three = "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nmale/grunt\r\n###\r\n"
                              "[team3]\r\nGreen\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n";
    const std::string two = "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nmale/grunt\r\n###\r\n"
                            "[maplist]\r\n###\r\n";
    dir.write("action/action.ini", three);
    dir.write("action/two.ini", two);
    Begin();
    EXPECT_EQ(e->teams.Team3Name.text(), "Green");
    EXPECT_FALSE(e->teams.Team3Absent.visible());
    // A switch to the two-team file: team 3 is shown absent, not as the last file had it.
    e->state.strActionIniFileName = "two.ini";
    modini::ReadActionIni(e->ctx, e->teams, e->mapFields, "two.ini");
    EXPECT_EQ(e->teams.Team3Name.text(), "");
    EXPECT_EQ(e->teams.Team3Model.selectedIndex(), -1);
    EXPECT_EQ(e->teams.Team3Skin.count(), 0);
    EXPECT_TRUE(e->teams.Team3Absent.visible());
    EXPECT_NE(e->teams.Team3Absent.caption().find("no third team"), std::string::npos);
    // A change elsewhere writes no third team.
    e->teams.Team1Name.setText("Reds");
    ASSERT_TRUE(Save());
    EXPECT_EQ(dir.read("action/two.ini").find("[team3]"), std::string::npos);
    // Filled in, it is added; an empty name is no refusal for it.
    e->teams.Team3Name.setText("Greens");
    e->teams.Team3Name.setText("");
    EXPECT_TRUE(dialogs.messages.empty());
    e->teams.Team3Name.setText("Greens");
    e->teams.Team3Model.selectText("male");
    EXPECT_FALSE(e->teams.Team3Absent.visible());
    ASSERT_TRUE(Save());
    EXPECT_NE(dir.read("action/two.ini").find("[team3]\r\nGreens\r\nmale/grunt\r\n###\r\n[maplist]"), std::string::npos);
}

TEST_F(KeepFixture, ALaterMapListIsMergedIntoTheRotationAndWrittenOnce) {
    for (const char* m : {"a", "b", "c", "d"}) dir.write(std::string("action/maps/") + m + ".bsp", "x");
    dir.write("action/action.ini", "[maplist]\r\na\r\nb\r\n###\r\n[mapvote]\r\nmv=1\r\n[maplist]\r\n// more\r\nc\r\n###\r\n");
    Begin();
    // As the mod plays them: every list in one rotation.
    EXPECT_EQ(Rotation(), (std::vector<std::string>{"a", "b", "c"}));
    ASSERT_EQ(e->form.selectRow("MapIni", "2"), "");
    ASSERT_EQ(e->form.click("ButtonRemove"), "");
    ASSERT_TRUE(Save());
    const std::string saved = dir.read("action/action.ini");
    EXPECT_EQ(saved, "[maplist]\r\na\r\nb\r\n###\r\n[mapvote]\r\nmv=1\r\n// more\r\n###\r\n");
    EXPECT_EQ(ReadAsTheMod(saved).maps, (std::vector<std::string>{"a", "b"}));
    // The edit sticks: a reload shows what the window showed.
    std::string name = "default";
    e->LoadConfiguration(name);
    EXPECT_EQ(Rotation(), (std::vector<std::string>{"a", "b"}));
}

TEST(ActionIniMapList, CommentsAndBracketLinesStayWhereTheyStood) {
    using modini::BuildActionIni;
    const std::array<modini::TeamValues, 3> none{};
    const std::string old =
        "[maplist]\n// head\na\n// before b\nb\n[note, not a section\nc\n\n// tail\n###end\n[mapvote]\nx\n";
    EXPECT_EQ(modini::ParseActionIni(old).maps, (std::vector<std::string>{"a", "b", "c"}));
    // b leaves (its comment goes on with c), x comes in, c moves first.
    const std::string built = BuildActionIni(none, {"c", "a", "x"}, &old);
    EXPECT_EQ(built, "[maplist]\r\n// head\r\n// before b\r\n[note, not a section\r\nc\r\na\r\nx\r\n\r\n// tail\r\n"
                     "###end\r\n[mapvote]\r\nx\r\n");
    EXPECT_EQ(ReadAsTheMod(built).maps, (std::vector<std::string>{"c", "a", "x"}));
    // Unchanged, the list is written back as it was.
    const std::vector<std::string> same = {"a", "b", "c"};
    EXPECT_EQ(BuildActionIni(none, same, &old), "[maplist]\r\n// head\r\na\r\n// before b\r\nb\r\n[note, not a section\r\n"
                                                "c\r\n\r\n// tail\r\n###end\r\n[mapvote]\r\nx\r\n");
}

// Saved with what was read, a file is saved the same the second time (inputs the fuzz target
// found: a map list of comments only, map names ending in "*", and such a name beside the same
// name without it).
TEST(ActionIniMapList, ASecondSaveOfWhatWasReadEqualsTheFirst) {
    auto loadAndSave = [](const std::string& text) {
        const modini::ActionIni ini = modini::ParseActionIni(text);
        std::array<modini::TeamValues, 3> teams;
        for (std::size_t i = 0; i < 3; ++i) {
            teams[i].name = ini.teams[i].name;
            modini::SplitModelSkin(ini.teams[i].modelSkin, teams[i].model, teams[i].skin);
        }
        return modini::BuildActionIni(teams, ini.maps, &text);
    };
    for (const std::string text : {"[maplist]\n// only a note\n[note\n", "[maplist]\n*\nx**\n###\n",
                                   "[maplist]\nug*\nug\na\nug*\nug\n"}) {
        const std::string first = loadAndSave(text);
        EXPECT_EQ(loadAndSave(first), first) << text;
        EXPECT_EQ(ReadAsTheMod(first).maps, ReadAsTheMod(text).maps) << text;
    }
    EXPECT_EQ(loadAndSave("[maplist]\n// only a note\n[note\n"), "[maplist]\r\n// only a note\r\n[note\r\n###\r\n");
}

TEST(ActionIniTeams, TeamLinesAreRewrittenOnlyWhenTheirValueChanged) {
    using modini::BuildActionIni;
    const std::string old = "[Team1]\r\n  \"Red\"  \r\n// keep\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\n[team2]\r\nNavy\r\n"
                            "male/sas\r\n###\r\n[maplist]\r\n###\r\n";
    std::array<modini::TeamValues, 3> teams = {modini::TeamValues{"Red", "male", "grunt"}, {"Navy", "male", "sas"}, {}};
    // As read: nothing changes, but the header the mod would pass over ("[Team1]") is mended.
    std::string expected = "[team1]\r\n  \"Red\"  \r\n// keep\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\n[team2]\r\nNavy\r\n"
                           "male/sas\r\n###\r\n[maplist]\r\n###\r\n";
    EXPECT_EQ(BuildActionIni(teams, {}, &old), expected);
    // A new name goes into every block of the team, each line where it stood; a trailing
    // blank is not written (the editor would not read it back).
    teams[1].name = "Sky ";
    teams[0].skin = "sas";
    expected = "[team1]\r\n  \"Red\"  \r\n// keep\r\nmale/sas\r\n###\r\n[team2]\r\nSky\r\n###\r\n[team2]\r\nSky\r\n"
               "male/sas\r\n###\r\n[maplist]\r\n###\r\n";
    const std::string built = BuildActionIni(teams, {}, &old);
    EXPECT_EQ(built, expected);
    const ModReading mod = ReadAsTheMod(built);
    EXPECT_EQ(mod.teams[0], (std::pair<std::string, std::string>{"  \"Red\"  ", "male/sas"}));
    EXPECT_EQ(mod.teams[1], (std::pair<std::string, std::string>{"Sky", "male/sas"}));
    EXPECT_EQ(BuildActionIni(teams, {}, &built), built);

    // A block cut short gets what it lacks after the line it follows.
    const std::string shortBlocks = "[team1]\r\n// none yet\r\n###\r\n[team2]\r\nBlue\r\n[maplist]\r\n###\r\n";
    teams = {modini::TeamValues{"Red", "male", "grunt"}, {"Blue", "male", "sas"}, {}};
    const std::string filled = BuildActionIni(teams, {}, &shortBlocks);
    EXPECT_EQ(filled, "[team1]\r\nRed\r\nmale/grunt\r\n// none yet\r\n###\r\n[team2]\r\nBlue\r\nmale/sas\r\n###\r\n"
                      "[maplist]\r\n###\r\n");
    EXPECT_EQ(ReadAsTheMod(filled).teams[1], (std::pair<std::string, std::string>{"Blue", "male/sas"}));
}

}  // namespace
}  // namespace tolvane::app
