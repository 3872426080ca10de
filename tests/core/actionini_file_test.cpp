// action.ini in the editor: what a load puts into the teams and the rotation, the default teams,
// where the maps of a replaced rotation go, and the file a save writes.
#include <algorithm>
#include <random>

#include "app/Editor.h"
#include "maps/MapIndex.h"
#include "modini/ActionIni.h"
#include "state/TextReaders.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

// Map names as a host has them, for one test: lower-cased (Windows) or as their files spell
// them (a file system that tells case apart).
struct MapNameCase {
    bool was = maps::MapNamesKeepFileCase();
    explicit MapNameCase(bool keep) { maps::SetMapNamesKeepFileCase(keep); }
    ~MapNameCase() { maps::SetMapNamesKeepFileCase(was); }
};

struct ActionIniFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void Players() {
        for (const char* f : {"actionmale/chucky.pcx", "actionmale/jewels.pcx", "actionmale/Agent.PCX",
                              "actionmale/agent_i.pcx", "actionmale/weapon.pcx", "male/grunt.pcx"})
            dir.write(std::string("baseq2/players/") + f, "x");
        dir.write("action/players/female/sas.pcx", "x");
    }
    void Start() {
        e = std::make_unique<Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
    std::vector<form::GridRow> Rows(const form::Grid& g) { return g.rows(); }
};

TEST_F(ActionIniFixture, AMissingFileGivesTheDefaultTeamsAndMarksTheFile) {
    Players();
    dir.mkdir("action");
    Start();
    EXPECT_EQ(e->teams.Team1Name.text(), "Morrow Quill");
    EXPECT_EQ(e->teams.Team1Model.text(), "actionmale");
    EXPECT_EQ(e->teams.Team1Skin.text(), "chucky");
    EXPECT_EQ(e->teams.Team2Name.text(), "Jewels");
    EXPECT_EQ(e->teams.Team2Skin.text(), "jewels");
    // Icons and the weapon texture are no skins; names come out lower-cased and sorted.
    EXPECT_EQ(e->teams.Team1Skin.items(), (std::vector<std::string>{"agent", "chucky", "jewels"}));
    EXPECT_EQ(e->teams.Team3Name.text(), "Name");
    EXPECT_TRUE(e->state.bActionIniChanged);

    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    ASSERT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/action.ini"),
              "[team1]\r\nMorrow Quill\r\nactionmale/chucky\r\n###\r\n[team2]\r\nJewels\r\nactionmale/jewels\r\n###\r\n"
              "[maplist]\r\n###\r\n");
}

TEST_F(ActionIniFixture, ALoadFillsTeamsAndRotationAndTakesMapsOutOfTheAvailableOnes) {
    const MapNameCase windows(false);
    Players();
    for (const char* m : {"urban", "city", "jungle", "Extra"}) dir.write(std::string("action/maps/") + m + ".bsp", "x");
    dir.write("action/action.ini",
              "[TEAM1]\r\nRed, White\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nnosuch/thing\r\n###\r\n"
              "[team3]\r\nGreen\r\nfemale/nosuch\r\n###\r\n[maplist]\r\nCITY\r\n// jungle\r\nurban\r\ncity\r\n###\r\n");
    Start();
    EXPECT_EQ(e->teams.Team1Name.text(), "Red, White");
    EXPECT_EQ(e->teams.Team1Skin.text(), "grunt");
    // A model or skin no players directory holds is shown as read, as an extra item.
    EXPECT_EQ(e->teams.Team2Name.text(), "Blue");
    EXPECT_EQ(e->teams.Team2Model.text(), "nosuch");
    EXPECT_EQ(e->teams.Team2Skin.items(), std::vector<std::string>{"thing"});
    EXPECT_EQ(e->teams.Team2Skin.text(), "thing");
    EXPECT_EQ(e->teams.Team1Model.items().back(), "male");  // the extra is team 2's only
    EXPECT_EQ(e->teams.Team3Model.text(), "female");
    EXPECT_EQ(e->teams.Team3Skin.items(), (std::vector<std::string>{"sas", "nosuch"}));
    EXPECT_EQ(e->teams.Team3Skin.text(), "nosuch");
    // The later "city" stays, in its place; a "//" line is no map.
    EXPECT_EQ(Rows(e->mapFields.MapIni), (std::vector<form::GridRow>{{"urban", 0}, {"city", 0}}));
    EXPECT_EQ(Rows(e->mapFields.MapDir), (std::vector<form::GridRow>{{"extra", 0}, {"jungle", 0}}));
    EXPECT_FALSE(e->state.bActionIniChanged);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ActionIniFixture, ASwitchGivesTheOldRotationBackToTheAvailableMaps) {
    const MapNameCase windows(false);
    for (const char* m : {"urban", "city", "jungle"}) dir.write(std::string("action/maps/") + m + ".bsp", "x");
    dir.write("action/tolvane.ini", "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
                                    "\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n");
    dir.write("action/action.ini", "[maplist]\r\nurban\r\ncity\r\n###\r\n");
    dir.write("action/ctf.ini", "[maplist]\r\ncity\r\n###\r\n");
    Start();
    ASSERT_EQ(e->mapFields.MapDir.rowCount(), 1);
    // The catalogue or an archive found the map in a second place: the marker and tag stay with
    // it wherever it goes.
    e->mapFields.MapDir.setRows({{"jungle*", 1}, {"Keep", 0}});
    dir.write("action/ctf.ini", "[maplist]\r\ncity\r\njungle\r\ncity\r\nKEEP\r\n###\r\n");
    std::string name = "ctf";
    e->state.strActionIniFileName = "ctf.ini";
    e->LoadConfiguration(name);
    // The rotation keeps the file's spelling.
    EXPECT_EQ(Rows(e->mapFields.MapIni), (std::vector<form::GridRow>{{"jungle*", 1}, {"city", 0}, {"KEEP", 0}}));
    EXPECT_EQ(Rows(e->mapFields.MapDir), (std::vector<form::GridRow>{{"urban", 0}}));
}

TEST(RotationTake, EachRotationMapTakesTheFirstAvailableRowOfItsNameAsAWalkPerMapWould) {
    // Map by map: the first available row naming it (ignoring case, less one "*") leaves the
    // available maps; the rotation row keeps the name as written, with that row's tag and
    // marker. A map with no row comes in as written, tagged as found nowhere.
    auto oneByOne = [](const std::vector<std::string>& names, std::vector<form::GridRow> available) {
        std::vector<form::GridRow> rotation;
        for (const auto& name : names) {
            const auto it = std::find_if(available.begin(), available.end(), [&](const form::GridRow& r) {
                return LowerCase(std::string(maps::MapKey(r.text))) == LowerCase(name);
            });
            if (it == available.end()) {
                rotation.push_back({name, maps::kTagNotFound});
                continue;
            }
            rotation.push_back({it->text.back() == '*' ? name + "*" : name, it->tag});
            available.erase(it);
        }
        return std::make_pair(rotation, available);
    };
    const MapNameCase windows(false);
    std::mt19937 random(3);
    const std::vector<std::string> words = {"urban", "URBAN", "urban*", "city", "City*", "jungle"};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> names;
        std::vector<form::GridRow> available;
        for (int i = static_cast<int>(random() % 5); i > 0; --i) names.push_back(words[random() % words.size()]);
        for (int i = static_cast<int>(random() % 6); i > 0; --i)
            available.push_back({words[random() % words.size()], static_cast<std::int32_t>(random() % 3) - 1});
        maps::MapFields fields;
        fields.MapDir.setRows(available);
        modini::TakeFromAvailable(fields, names);
        const auto [rotation, left] = oneByOne(names, available);
        ASSERT_EQ(fields.MapIni.rows(), rotation) << "round " << round;
        ASSERT_EQ(fields.MapDir.rows(), left) << "round " << round;
    }
}

TEST_F(ActionIniFixture, ASaveRewritesOnlyAChangedFileAndKeepsItsOtherLines) {
    Players();
    const std::string file = "; Server notes, KEEP\r\n[Team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\nurban\r\n###\r\n"
                             "[mapvote]\r\nmv_public=1\r\n";
    dir.write("action/action.ini", file);
    dir.write("action/maps/city.bsp", "x");
    Start();
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    ASSERT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/action.ini"), file);
    EXPECT_FALSE(dir.exists("action/action.bak"));

    e->teams.Team1Name.setText("Reds");
    e->teams.Team1Model.selectText("actionmale");
    EXPECT_EQ(e->teams.Team1Skin.text(), "agent");
    e->mapFields.MapIni.append("city*", 1);
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    ASSERT_TRUE(e->ButtonSave_Click());
    EXPECT_EQ(dir.read("action/action.ini"),
              "; Server notes, KEEP\r\n[team1]\r\nReds\r\nactionmale/agent\r\n###\r\n[maplist]\r\nurban\r\ncity\r\n###\r\n"
              "[mapvote]\r\nmv_public=1\r\n");
    EXPECT_EQ(dir.read("action/action.bak"), file);
}

TEST_F(ActionIniFixture, WithoutTheModDirectoryNothingIsReadOrWritten) {
    dir.write("baseq2/players/actionmale/chucky.pcx", "x");
    Start();
    EXPECT_EQ(e->teams.Team1Name.text(), "Name");
    e->state.bActionIniChanged = true;
    dialogs.dialogSteps.push_back([](platform::DialogModel& m) { m.confirm(); });
    e->ButtonSave_Click();
    const auto texts = dialogs.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "ERROR: action directory not found!\rCannot save action.ini"),
              texts.end());
    EXPECT_FALSE(dir.exists("action/action.ini"));
}

}  // namespace
}  // namespace tolvane::app
