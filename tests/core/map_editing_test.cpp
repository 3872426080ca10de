// The Maps tab's buttons: moving maps in and out of the rotation, ordering and shuffling it, and
// editing the catalogue; and the same buttons pressed from the command line.
#include <sstream>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

// Draws the queued values, then repeats the last one.
struct FixedRandom : platform::Random {
    std::vector<float> draws;
    std::size_t at = 0;
    int reseeds = 0;
    void reseed() override { ++reseeds; }
    float next() override { return draws.at(std::min(at++, draws.size() - 1)); }
};

using Rows = std::vector<form::GridRow>;

struct MapEditingFixture : ::testing::Test, test::EditorHarness {
    FixedRandom random;
    std::unique_ptr<Editor> e;

    void Start() {
        dir.mkdir("action");
        e = std::make_unique<Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->random = &random;
        e->state.bActionIniChanged = false;
        e->state.bMapsLstChanged = false;
    }
    maps::MapFields& m() { return e->mapFields; }
};

TEST_F(MapEditingFixture, SeveralPickedMapsMoveTogetherInTheirListOrder) {
    Start();
    m().MapDir.setRows({{"alpha", 0}, {"bravo", 1}, {"city", 0}, {"delta", 2}});
    m().MapIni.setRows({{"urban", 0}});
    m().MapDir.setCurrentRow(3);
    m().MapDir.pickRows({3, 0, 3, 9});  // any order, repeats and rows past the end
    m().ButtonAdd.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"urban", 0}, {"alpha", 0}, {"delta", 2}}));
    EXPECT_EQ(m().MapDir.rows(), (Rows{{"bravo", 1}, {"city", 0}}));
    EXPECT_EQ(m().MapIni.currentRow(), 2);
    EXPECT_EQ(m().MapDir.currentRow(), 0);
    EXPECT_TRUE(e->state.bActionIniChanged);

    // A change of the rows drops the picks: the current row alone is what a button moves.
    EXPECT_EQ(m().MapDir.pickedRows(), std::vector<int>{0});
    m().MapIni.pickRows({0, 2});
    m().ButtonRemove.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"alpha", 0}}));
    EXPECT_EQ(m().MapDir.rows(), (Rows{{"bravo", 1}, {"city", 0}, {"delta", 2}, {"urban", 0}}));
    EXPECT_EQ(m().MapDir.currentRow(), 3);  // the first map moved back, found in name order

    // Picking none (a filter that hides every map) moves nothing and changes nothing.
    e->state.bActionIniChanged = false;
    m().MapDir.pickRows({});
    m().ButtonAdd.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"alpha", 0}}));
    EXPECT_FALSE(e->state.bActionIniChanged);
    // Moving the current row is a new pick of that row alone.
    m().MapDir.pickRows({});
    m().MapDir.setCurrentRow(1);
    m().ButtonAdd.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"alpha", 0}, {"city", 0}}));
}

TEST_F(MapEditingFixture, MapsMoveBetweenTheListsWithTheirMarkerAndTag) {
    Start();
    m().MapDir.setRows({{"alpha", 0}, {"city*", 1}, {"zulu", -1}});
    m().MapIni.setRows({{"urban", 0}});
    m().MapDir.setCurrentRow(1);
    m().ButtonAdd.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"urban", 0}, {"city*", 1}}));
    EXPECT_EQ(m().MapIni.currentRow(), 1);
    EXPECT_TRUE(e->state.bActionIniChanged);

    // Back out: sorted into place and selected there, also as the last row.
    m().MapIni.setCurrentRow(0);
    m().ButtonRemove.click();
    EXPECT_EQ(m().MapDir.rows(), (Rows{{"alpha", 0}, {"urban", 0}, {"zulu", -1}}));
    EXPECT_EQ(m().MapDir.currentRow(), 1);
    m().ButtonRemove.click();
    EXPECT_EQ(m().MapDir.rows(), (Rows{{"alpha", 0}, {"city*", 1}, {"urban", 0}, {"zulu", -1}}));
    EXPECT_EQ(m().MapDir.currentRow(), 1);
    EXPECT_EQ(m().MapIni.rowCount(), 0);
    m().MapDir.setRows({{"zzz", 0}});
    m().MapDir.setCurrentRow(0);
    m().MapIni.setRows({{"aaa", 0}});
    m().MapIni.setCurrentRow(0);
    m().ButtonRemove.click();
    EXPECT_EQ(m().MapDir.currentRow(), 0);

    // Adding the last available map empties the list; Add then does nothing.
    m().MapDir.setRows({{"only", 0}});
    m().MapDir.setCurrentRow(0);
    m().ButtonAdd.click();
    EXPECT_EQ(m().MapDir.rowCount(), 0);
    const Rows before = m().MapIni.rows();
    m().ButtonAdd.click();
    EXPECT_EQ(m().MapIni.rows(), before);
}

TEST_F(MapEditingFixture, UpAndDownStopAtTheEndsWithoutMarkingAnything) {
    Start();
    m().MapIni.setRows({{"a", 0}, {"b*", 1}});
    m().MapIni.setCurrentRow(0);
    m().ButtonServerUp.click();
    EXPECT_FALSE(e->state.bActionIniChanged);
    m().ButtonServerDown.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"b*", 1}, {"a", 0}}));
    EXPECT_EQ(m().MapIni.currentRow(), 1);
    EXPECT_TRUE(e->state.bActionIniChanged);
    e->state.bActionIniChanged = false;
    m().ButtonServerDown.click();
    EXPECT_FALSE(e->state.bActionIniChanged);

    m().MapList.setRows({{"One [a]", 0}, {"Two [b]", 0}});
    m().MapList.setCurrentRow(1);
    m().ButtonDown.click();
    EXPECT_FALSE(e->state.bMapsLstChanged);
    m().ButtonUp.click();
    EXPECT_EQ(m().MapList.text(0), "Two [b]");
    EXPECT_EQ(m().MapList.currentRow(), 0);
    EXPECT_TRUE(e->state.bMapsLstChanged);
    e->state.bMapsLstChanged = false;
    m().ButtonUp.click();
    EXPECT_FALSE(e->state.bMapsLstChanged);
}

TEST_F(MapEditingFixture, TheShuffleCarriesTextsThroughTheDrawnRows) {
    Start();
    m().MapIni.setRows({{"a", 0}, {"b", 0}, {"c", 0}});
    m().MapIni.setCurrentRow(2);
    // n = 3: x < 0.5 draws row 1, otherwise row 2; fifteen draws.
    random.draws = {0.0f, 0.6f, 0.6f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    m().ButtonRandom.click();
    // carried a; (1) b<->a: [_,a,c] c=b; (2) row2: [_,a,b] c=c; (3) row2: [_,a,c] c=b; then 12 x row 1:
    // even count of exchanges with row 1 leaves [_,a,c] carrying b; b fills row 0.
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"b", 0}, {"a", 0}, {"c", 0}}));
    EXPECT_EQ(m().MapIni.currentRow(), 2);
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_TRUE(dialogs.messages.empty());

    // The largest float below 1 must still draw a row of the list.
    Rows many;
    for (int i = 0; i < 300; ++i) many.push_back({"m" + std::to_string(i), i});
    m().MapIni.setRows(many);
    random.draws = {0.99999994f};
    random.at = 0;
    m().ButtonRandom.click();
    auto shuffled = m().MapIni.rows();
    std::sort(shuffled.begin(), shuffled.end(), [](auto& x, auto& y) { return x.tag < y.tag; });
    EXPECT_EQ(shuffled, many);
}

TEST_F(MapEditingFixture, TheShuffleLeavesShortListsAndReportsEveryDuplicatePair) {
    Start();
    m().MapIni.setRows({{"solo", 0}});
    m().ButtonRandom.click();
    EXPECT_EQ(m().MapIni.rows(), (Rows{{"solo", 0}}));
    EXPECT_TRUE(e->state.bActionIniChanged);

    m().MapIni.setRows({{"x", 0}, {"x", 0}, {"y", 0}, {"x", 0}});
    random.draws = {0.0f};
    m().ButtonRandom.click();
    EXPECT_EQ(m().MapIni.rowCount(), 4);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>(3, "Duplicates of x found!"));
}

TEST_F(MapEditingFixture, TheCatalogueTakesOnlyWhatMapsLstCanHold) {
    Start();
    m().MapList.setRows({{"Old Town [town]", 0}});
    // Cancelling the name changes nothing; cancelling the description keeps an empty one.
    dialogs.inputAnswers = {std::nullopt};
    m().ButtonNew.click();
    EXPECT_FALSE(e->state.bMapsLstChanged);
    dialogs.inputAnswers = {"urban", std::nullopt};
    m().ButtonNew.click();
    EXPECT_EQ(m().MapList.text(0), " [urban]");
    EXPECT_TRUE(e->state.bMapsLstChanged);
    EXPECT_EQ(dialogs.prompts, (std::vector<std::string>{"Map File Name", "Map File Name", "Map Description"}));

    e->state.bMapsLstChanged = false;
    dialogs.inputAnswers = {"two words"};
    m().ButtonNew.click();
    dialogs.inputAnswers = {"city", "The \"Big\" City"};
    m().ButtonNew.click();
    EXPECT_EQ(m().MapList.rowCount(), 2);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(e->state.bMapsLstChanged);

    // Rename changes the description only, and not to the same text or to nothing.
    m().MapList.setCurrentRow(1);
    dialogs.inputAnswers = {"Old Town"};
    m().ButtonRename.click();
    dialogs.inputAnswers = {std::nullopt};
    m().ButtonRename.click();
    EXPECT_FALSE(e->state.bMapsLstChanged);
    dialogs.inputAnswers = {"New Town"};
    m().ButtonRename.click();
    EXPECT_EQ(m().MapList.text(1), "New Town [town]");
    EXPECT_EQ(dialogs.prompts.back(), "Rename Old Town [town] to what?");

    m().ButtonDelete.click();
    m().ButtonDelete.click();
    EXPECT_EQ(m().MapList.rowCount(), 0);
    m().ButtonDelete.click();
}

TEST_F(MapEditingFixture, TheButtonsWorkFromTheCommandLine) {
    for (const char* map : {"city", "jungle", "urban"}) dir.write(std::string("action/maps/") + map + ".bsp", "x");
    dir.write("action/action.ini", "[maplist]\r\n###\r\n");
    dir.write("action/maps.lst", "old \"Old\"\r\n");
    const Options o = ParseCommandLine({"--save", dir.path().string(), "--row", "MapDir=3", "--click", "ButtonAdd",
                                        "--row", "MapDir=0", "--click", "ButtonAdd", "--click", "ButtonServerUp",
                                        "--answer", "city", "--answer", "Big City", "--click", "ButtonNew"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(o, out, err), 0) << err.str();
    EXPECT_EQ(dir.read("action/action.ini"), "[maplist]\r\ncity\r\nurban\r\n###\r\n");
    EXPECT_EQ(dir.read("action/maps.lst"), "city \"Big City\"\r\nold \"Old\"\r\n");
    EXPECT_NE(dir.read("action/server.cfg").find("\r\nmap city\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tolvane::app
