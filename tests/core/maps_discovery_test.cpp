// Map discovery and the catalogue on generated Quake 2 directories: loose maps, the base map
// list, PAK and zip archives built by the test, the duplicate merge, maps.lst read and saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <random>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/Editor.h"
#include "form/Lists.h"
#include "maps/Catalogue.h"
#include "maps/Discovery.h"
#include "maps/MapIndex.h"
#include "platform/FileFaults.h"
#include "support/ArchiveFixtures.h"
#include "support/TestSupport.h"

namespace tolvane::maps {
namespace {

using Rows = std::vector<form::GridRow>;

Rows Sorted(Rows rows) {
    std::sort(rows.begin(), rows.end(), [](const form::GridRow& a, const form::GridRow& b) { return a.text < b.text; });
    return rows;
}

// Map names as a host has them, for one test: lower-cased (Windows) or as their files spell
// them (a file system that tells case apart).
struct MapNameCase {
    bool was = MapNamesKeepFileCase();
    explicit MapNameCase(bool keep) { SetMapNamesKeepFileCase(keep); }
    ~MapNameCase() { SetMapNamesKeepFileCase(was); }
};

struct MapsFixture : test::CoreFixture {
    MapFields maps;
    void Pak(const std::string& rel, const std::vector<std::string>& names) { dir.write(rel, test::PakBytes(names)); }
    void Zip(const std::string& rel, const std::vector<std::string>& names) {
        ASSERT_TRUE(test::WriteZip(dir.path() / rel, names));
    }
};

// A directory holding every kind of source, with maps found in several places.
void WriteInstall(MapsFixture& f) {
    for (const char* m : {"action/maps/Rooftops.BSP", "action/maps/warehouse.bsp", "action/maps/both.bsp",
                          "baseq2/maps/harbor.bsp", "baseq2/maps/rooftops.bsp", "baseq2/maps/both.bsp",
                          "baseq2/maps/q2dm1.bsp", "action/maps/notes.txt"})
        f.dir.write(m, "IBSP");
    // A comma in a description must not make a second map.
    f.dir.write("baseq2/maps.lst", "base1 \"Outer Base\"\r\nq2dm1 \"The Edge\"\r\nharbor \"Harbor, at dusk\"\r\n");
    f.dir.write("action/maps.lst", "// the server's maps\r\ndepot \"Freight Depot\"\r\nlighthouse \"Light\"\r\nwarehouse \"W\"\r\n");
    f.Pak("action/pak0.pak", {"pics/logo.pcx", "maps/warehouse.bsp", "maps/subway.bsp", "maps/depot.bsp"});
    f.Pak("baseq2/pak0.pak", {"maps/hidden_stock.bsp"});
    f.Pak("baseq2/PAK1.PAK", {"maps/harbor.bsp", "maps/subway.bsp", "maps/CastleKeep.bsp", "maps/ctf/flagrun.bsp",
                              "maps/Ignored.BSP", "maps/v1.2/oldbase.bsp"});
    f.Zip("action/extra.pk3", {"maps/", "maps/zipped.bsp", "maps/rooftops.bsp", "maps/base1.bsp", "textures/a.wal"});
    f.dir.write("baseq2/broken.pk3", "PK\x03\x04 not really a zip");
    f.dir.write("baseq2/empty.pak", "");
}

TEST_F(MapsFixture, StartUpListsEveryMapOnceWithItsOriginAndMarker) {
    TOLVANE_NEEDS_ZIP();
    const MapNameCase windows(false);
    WriteInstall(*this);
    test::RecordingLauncher launcher;
    app::Editor e(fs, dialogs, progress, launcher);
    e.StartUp();
    EXPECT_EQ(e.mapFields.MapDir.rows(), (Rows{{"CastleKeep", 1},
                                              {"Ignored", 1},      // ".BSP": the engine loads it
                                              {"base1", 1},        // archive and map list: no marker
                                              {"both", 0},         // both map directories: no marker
                                              {"ctf/flagrun", 1},
                                              {"depot", 1},
                                              {"harbor*", 1},      // loose file and archive
                                              {"lighthouse", -1},  // only in the catalogue
                                              {"q2dm1", 0},
                                              {"rooftops*", 1},    // loose files and a zip archive
                                              {"subway*", 1},      // two archives
                                              {"warehouse*", 1},
                                              {"zipped", 1}}));
    EXPECT_EQ(e.mapFields.MapList.rows(), (Rows{{"Freight Depot [depot]", 0}, {"Light [lighthouse]", 0}, {"W [warehouse]", 0}}));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(progress.visible);
    // The progress texts, in start-up order.
    std::vector<std::string> mapSteps;
    for (const auto& t : progress.shown)
        if (t.find("maps") != std::string::npos || t.rfind("Scanning", 0) == 0 || t.rfind("Sorting", 0) == 0)
            mapSteps.push_back(t);
    EXPECT_EQ(mapSteps, (std::vector<std::string>{
                            "Processing action\\maps\\*.bsp...", "Processing baseq2\\maps\\*.bsp...",
                            "Reading action\\maps.lst...", "Scanning action\\pak0.pak...",
                            "Scanning action\\extra.pk3...", "Scanning baseq2\\empty.pak...",
                            "Scanning baseq2\\PAK1.PAK...", "Scanning baseq2\\broken.pk3...", "Sorting map listing..."}));
    // The dump lists the three grids, the map grids with their tags.
    std::ostringstream dump;
    e.Dump(dump);
    EXPECT_NE(dump.str().find("MapDir.count=13\nMapDir[0]=CastleKeep\nMapDir[0].tag=1\n"), std::string::npos);
    EXPECT_NE(dump.str().find("MapIni.count=0\n"), std::string::npos);
    EXPECT_NE(dump.str().find("MapList.count=3\nMapList[0]=Freight Depot [depot]\nMapList[1]"), std::string::npos);
}

TEST_F(MapsFixture, RotationMapsAreMarkedThereAndNotListedAsAvailable) {
    dir.write("baseq2/maps/harbor.bsp", "IBSP");
    dir.write("baseq2/maps/lone.bsp", "IBSP");
    Pak("action/a.pak", {"maps/harbor.bsp", "maps/subway.bsp", "maps/base1.bsp", "maps/keep.bsp"});
    Pak("action/b.pak", {"maps/subway.bsp", "maps/keep.bsp"});
    // Rows read from the mod settings file: tag 0 unless the map was known otherwise.
    maps.MapIni.setRows({{"harbor", 0}, {"subway", 0}, {"base1", -1}, {"keep*", 0}, {"harbor", 0}});
    ScanBspFolders(ctx, maps, {"baseq2\\maps"});
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"lone", 0}}));
    ScanPakArchives(ctx, maps);
    // Marked once, on the first row naming the map; a row marked already is left alone. A row
    // that already ended in "*" stands for another name once marked again. A map known only
    // from a list is found in one archive: an archive map, unmarked.
    EXPECT_EQ(maps.MapIni.rows(), (Rows{{"harbor*", 1}, {"subway*", 1}, {"base1", 1}, {"keep**", 1}, {"harbor", 0}}));
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"lone", 0}, {"keep", 1}}));
}

TEST_F(MapsFixture, OnlyAMapFoundInMoreThanOnePlaceIsMarkedInTheRotation) {
    TOLVANE_NEEDS_ZIP();
    Pak("action/a.pak", {"maps/lone.bsp", "maps/twice.bsp", "maps/Loose.bsp", "maps/listed.bsp"});
    Zip("action/b.pk3", {"maps/twice.bsp", "maps/listed.bsp"});
    // As the rotation take leaves them: found nowhere yet, a loose file, a map list's map.
    maps.MapIni.setRows({{"LONE", kTagNotFound}, {"twice", kTagNotFound}, {"loose", 0}, {"listed", -1}});
    ScanPakArchives(ctx, maps);
    EXPECT_EQ(maps.MapIni.rows(), (Rows{{MapNamesKeepFileCase() ? "lone" : "LONE", 1}, {"twice*", 1}, {"loose*", 1},
                                        {"listed*", 1}}));
    EXPECT_TRUE(maps.MapDir.rows().empty());

    // At start-up: a rotation map that only an archive holds is listed without the marker.
    dir.write("action/action.ini", "[maplist]\r\nlone\r\ntwice\r\n###\r\n");
    test::RecordingLauncher launcher;
    app::Editor e(fs, dialogs, progress, launcher);
    e.StartUp();
    EXPECT_EQ(e.mapFields.MapIni.rows(), (Rows{{"lone", 1}, {"twice*", 1}}));
}

TEST_F(MapsFixture, WhereCaseMattersLooseMapsKeepTheirFilesSpelling) {
    TOLVANE_NEEDS_ZIP();
    const MapNameCase kept(true);
    // Two spellings are two files to the server; each is listed as spelt, and an archive's
    // entry as it spells it.
    dir.write("action/maps/Rooftops.bsp", "IBSP");
    dir.write("baseq2/maps/rooftops.bsp", "IBSP");
    dir.write("baseq2/maps/Harbor.bsp", "IBSP");
    Pak("action/a.pak", {"maps/Harbor.bsp", "maps/CastleKeep.bsp"});
    ScanBspFolders(ctx, maps, {"action\\maps", "baseq2\\maps"});
    EXPECT_EQ(Sorted(maps.MapDir.rows()), (Rows{{"Harbor", 0}, {"Rooftops", 0}, {"rooftops", 0}}));
    ScanPakArchives(ctx, maps);
    MergeAvailableDuplicates(maps.MapDir, MergeOrder::ByName);
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"CastleKeep", 1}, {"Harbor*", 1}, {"Rooftops", 0}, {"rooftops", 0}}));

    // On Windows a loose map's name is lower-cased, as before.
    const MapNameCase windows(false);
    maps.MapDir.clear();
    ScanBspFolders(ctx, maps, {"action\\maps", "baseq2\\maps"});
    EXPECT_EQ(Sorted(maps.MapDir.rows()), (Rows{{"harbor", 0}, {"rooftops", 0}}));
}

TEST_F(MapsFixture, ArchiveEntriesNotEndingInBspAreNoMaps) {
    TOLVANE_NEEDS_ZIP();
    Pak("action/a.pak", {"maps/x.bspx", "maps/two.bsp.old", "maps/one.bsp", "maps/Caps.BSP"});
    Zip("action/b.pk3", {"maps/y.bspx", "maps/three.bsp.old", "maps/four.bsp", "maps/Zip.Bsp"});
    ScanPakArchives(ctx, maps);
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"one", 1}, {"Caps", 1}, {"four", 1}, {"Zip", 1}}));
}

TEST_F(MapsFixture, BothMapFoldersInOneScanGiveWhatTwoScansGive) {
    // Names that meet across the folders ignoring case, names cut at their first ".", a bare
    // ".bsp", files that are not maps, a map of the rotation, and rows MapDir already held.
    std::mt19937 random(5);
    const std::vector<std::string> stems = {"Keep", "keep", "KEEP.v2", "keep.old", "harbor", "ctf_x", "", "lone", "Lone"};
    for (const char* folder : {"action/maps/", "baseq2/maps/"})
        for (int i = 0; i < 40; ++i)
            dir.write(folder + stems[random() % stems.size()] + std::to_string(random() % 5) + (i % 7 ? ".bsp" : ".BSP"),
                      "IBSP");
    dir.write("action/maps/.bsp", "IBSP");
    dir.write("baseq2/maps/readme.txt", "x");
    const Rows before{{"harbor1", -1}, {"zzz", 1}, {"keep2", 1}};
    const Rows rotation{{"lone3", 0}};
    MapFields twice;
    twice.MapDir.setRows(before);
    twice.MapIni.setRows(rotation);
    ScanBspFolders(ctx, twice, {"action\\maps"});
    ScanBspFolders(ctx, twice, {"baseq2\\maps"});
    maps.MapDir.setRows(before);
    maps.MapIni.setRows(rotation);
    ScanBspFolders(ctx, maps, {"action\\maps", "baseq2\\maps"});
    // The folders' listing orders may differ between the two runs: compare as sets of rows,
    // after checking that the rows held before stay first, in their order.
    ASSERT_GE(maps.MapDir.rowCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(maps.MapDir.text(i), before[static_cast<std::size_t>(i)].text);
    auto sorted = [](Rows rows) {
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.text < b.text; });
        return rows;
    };
    EXPECT_EQ(sorted(maps.MapDir.rows()), sorted(twice.MapDir.rows()));
    EXPECT_EQ(maps.MapIni.rows(), rotation);
    // Rows met again in a folder are loose files now; the others keep their tags.
    EXPECT_EQ(maps.MapDir.rows()[1], (form::GridRow{"zzz", 1}));
}

TEST_F(MapsFixture, MissingDirectoriesAndDamagedArchivesAreSkippedSilently) {
    TOLVANE_NEEDS_ZIP();
    ScanPakArchives(ctx, maps);
    ReadBaseMapsLst(ctx, maps);
    EXPECT_EQ(maps.MapDir.rowCount(), 0);
    dir.write("action/zero.pk3", "");
    dir.write("action/junk.zip", std::string(5000, 'x'));
    dir.write("action/short.pak", "PACK");
    dir.mkdir("action/folder.pak");
    std::string hostile = test::PakBytes({"maps/ok.bsp"});
    hostile[4] = '\xff';  // directory offset far past the end
    dir.write("action/hostile.pak", hostile);
    Pak("action/good.pak", {"maps/good.bsp"});
    Zip("action/good.pkz", {"maps/zipgood.bsp"});
    ScanPakArchives(ctx, maps);
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"good", 1}, {"zipgood", 1}}));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The merge as the pairwise procedure does it: from the last row up, each compared with every
// row before it from the first; an equal earlier row is deleted.
Rows PairwiseMerge(Rows rows) {
    auto key = [](const std::string& t) { return std::string(MapKey(t)); };
    for (int n = static_cast<int>(rows.size()) - 1; n >= 1; --n) {
        for (int j = 0; j < n;) {
            if (key(rows[j].text) != key(rows[n].text)) {
                ++j;
                continue;
            }
            if ((rows[n].tag == 1 || rows[j].tag == 1) && rows[n].tag != -1 && rows[j].tag != -1) {
                if (rows[n].text.empty() || rows[n].text.back() != '*') rows[n].text += '*';
                rows[n].tag = 1;
            }
            rows.erase(rows.begin() + j);
            --n;
        }
    }
    return rows;
}

TEST(MergeDuplicates, OnePassGivesThePairwiseResult) {
    std::mt19937 random(11);
    const std::vector<std::string> names = {"a", "a*", "b", "b*", "c", "a**", ""};
    for (int round = 0; round < 500; ++round) {
        Rows rows;
        const int n = static_cast<int>(random() % 14);
        for (int i = 0; i < n; ++i)
            rows.push_back({names[random() % names.size()], static_cast<std::int32_t>(random() % 4) - 1 + (random() % 9 == 0 ? 5 : 0)});
        form::Grid grid{"MapDir"};
        grid.setRows(rows);
        MergeAvailableDuplicates(grid);
        ASSERT_EQ(grid.rows(), PairwiseMerge(rows)) << "round " << round;
    }
}

TEST_F(MapsFixture, LongListsOfAlikeNamesMergeAsThePairwiseProcedureDoes) {
    // Enough rows that the names are grouped by radix passes, names sharing their first 8, 16
    // or 32 bytes, and names with and without the marker.
    std::mt19937 random(13);
    const std::vector<std::string> stems = {"q", "ctf_", "q2dm_longer_stem_", "action_map_pack_number_one_and_then_some_"};
    for (int round = 0; round < 20; ++round) {
        Rows rows;
        const int n = 40 + static_cast<int>(random() % 400);
        for (int i = 0; i < n; ++i) {
            std::string name = stems[random() % stems.size()] + std::to_string(random() % 30);
            if (random() % 4 == 0) name += '*';
            rows.push_back({name, static_cast<std::int32_t>(random() % 3) - 1});
        }
        const Rows merged = PairwiseMerge(rows);
        // The grid is merged in place to the same rows, in either order.
        form::Grid grid{"MapDir"};
        grid.setRows(rows);
        MergeAvailableDuplicates(grid);
        ASSERT_EQ(grid.rows(), merged) << "round " << round;
        // By name: the same rows, each once, in the order of their map names.
        Rows byName = merged;
        std::sort(byName.begin(), byName.end(), [](const auto& a, const auto& b) { return MapKey(a.text) < MapKey(b.text); });
        for (std::size_t k = 1; k < byName.size(); ++k) ASSERT_NE(MapKey(byName[k - 1].text), MapKey(byName[k].text));
        grid.setRows(rows);
        MergeAvailableDuplicates(grid, MergeOrder::ByName);
        ASSERT_EQ(grid.rows(), byName) << "round " << round;
        // The sort that follows at start-up then gives what sorting the merged rows gives.
        form::Grid sortedFromFound{"MapDir"};
        sortedFromFound.setRows(merged);
        form::SortGrid(sortedFromFound);
        form::SortGrid(grid);
        ASSERT_EQ(grid.rows(), sortedFromFound.rows());
    }
}

TEST(MapLists, ListsAddTheNamesNoRowAndNoEarlierNameStandsFor) {
    // The check each list did name by name: the rotation, the available maps, then the names
    // already added, each row standing for its text less one "*".
    auto oneByOne = [](const std::vector<std::string>& names, const Rows& rotation, Rows available) {
        std::vector<std::string> taken;
        auto listed = [](const Rows& rows, const std::string& name) {
            return std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return MapKey(r.text) == name; });
        };
        for (const auto& name : names) {
            if (name.empty() || listed(rotation, name) || listed(available, name)) continue;
            taken.push_back(name);
            available.push_back({name, -1});
        }
        return taken;
    };
    std::mt19937 random(17);
    const std::vector<std::string> words = {"a", "a*", "a**", "b", "b*", "", "c"};
    for (int round = 0; round < 500; ++round) {
        std::vector<std::string> names;
        Rows rotation, available;
        for (int i = static_cast<int>(random() % 8); i > 0; --i) names.push_back(words[random() % words.size()]);
        for (int i = static_cast<int>(random() % 3); i > 0; --i) rotation.push_back({words[random() % words.size()], 0});
        for (int i = static_cast<int>(random() % 4); i > 0; --i) available.push_back({words[random() % words.size()], 0});
        MapFields fields;
        fields.MapIni.setRows(rotation);
        fields.MapDir.setRows(available);
        AddUnlistedMaps(fields, names);
        Rows expected = available;
        for (const auto& name : oneByOne(names, rotation, available)) expected.push_back({name, -1});
        ASSERT_EQ(fields.MapDir.rows(), expected) << "round " << round;
        ASSERT_EQ(fields.MapIni.rows(), rotation);
    }
}

TEST_F(MapsFixture, AMapListRowMergedWithAnArchiveRowTakesNoMarker) {
    maps.MapDir.setRows({{"a", 0}, {"b", 1}, {"a*", 1}, {"a", -1}});
    MergeAvailableDuplicates(maps.MapDir);
    EXPECT_TRUE(dialogs.texts().empty());
    // The last row of "a" stays; it is known from a map list only, so it takes no marker.
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"b", 1}, {"a", -1}}));
}

// --- the catalogue --------------------------------------------------------------------------

TEST_F(MapsFixture, CatalogueMapsKnownNowhereElseBecomeAvailable) {
    dir.write("action/maps.lst", "q2dm1 \"Edge\"\r\nnew \"Fresh, and new\"\r\nrot \"In rotation\"\r\nnew \"Again\"\r\n");
    maps.MapIni.setRows({{"rot", 0}});
    maps.MapDir.setRows({{"q2dm1*", 1}});
    state.bMapsLstChanged = true;
    ReadMapsLst(ctx, maps, "maps.lst");
    EXPECT_EQ(maps.MapList.rows(), (Rows{{"Edge [q2dm1]", 0}, {"Fresh, and new [new]", 0}, {"In rotation [rot]", 0},
                                         {"Again [new]", 0}}));
    EXPECT_EQ(maps.MapDir.rows(), (Rows{{"q2dm1*", 1}, {"new", -1}}));
    EXPECT_FALSE(state.bMapsLstChanged);
    EXPECT_EQ(progress.shown, std::vector<std::string>{"Reading action\\maps.lst..."});
    EXPECT_FALSE(progress.visible);

    // No file: an empty list and the flag cleared. No mod directory: nothing changes.
    dir.write("action/maps.lst", "");
    std::filesystem::remove(dir.path() / "action/maps.lst");
    state.bMapsLstChanged = true;
    ReadMapsLst(ctx, maps, "maps.lst");
    EXPECT_EQ(maps.MapList.rowCount(), 0);
    EXPECT_FALSE(state.bMapsLstChanged);
    maps.MapList.append("kept [k]");
    state.strModDir = "gone";
    state.bMapsLstChanged = true;
    ReadMapsLst(ctx, maps, "maps.lst");
    EXPECT_EQ(maps.MapList.rowCount(), 1);
    EXPECT_TRUE(state.bMapsLstChanged);
}

TEST_F(MapsFixture, SavingTheCatalogueKeepsItsOtherLinesAndTheOldFile) {
    const std::string old = "# maps\r\nb \"Beta\"\r\na \"Alpha\"\r\n# after alpha\r\n";
    dir.write("action/maps.lst", old);
    state.strMapsLstFileName = "maps.lst";
    ReadMapsLst(ctx, maps, "maps.lst");
    // Unchanged catalogue: nothing is written.
    dir.write("action/maps.lst", "edited by hand\r\n");
    EXPECT_TRUE(WriteMapsLst(ctx, maps));
    EXPECT_EQ(dir.read("action/maps.lst"), "edited by hand\r\n");
    dir.write("action/maps.lst", old);

    state.bMapsLstChanged = true;
    maps.MapList.setRows({{"Alpha [a]", 0}, {"New [c]", 0}, {"Beta [b]", 0}});
    EXPECT_TRUE(WriteMapsLst(ctx, maps));
    EXPECT_EQ(dir.read("action/maps.lst"), "# maps\r\na \"Alpha\"\r\n# after alpha\r\nc \"New\"\r\nb \"Beta\"\r\n");
    EXPECT_EQ(dir.read("action/maps.bak"), old);
    EXPECT_FALSE(dir.exists("action/maps.tmp"));
    EXPECT_TRUE(state.bMapsLstChanged);  // the flag stays set

    // An empty catalogue leaves no maps.lst: the last one becomes the backup.
    const std::string last = dir.read("action/maps.lst");
    maps.MapList.clear();
    EXPECT_TRUE(WriteMapsLst(ctx, maps));
    EXPECT_FALSE(dir.exists("action/maps.lst"));
    EXPECT_EQ(dir.read("action/maps.bak"), last);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MapsFixture, SavingWithoutTheModDirectoryOrAWritableOneReportsAndKeepsTheFile) {
    state.strMapsLstFileName = "maps.lst";
    state.bMapsLstChanged = true;
    maps.MapList.append("Alpha [a]");
    EXPECT_FALSE(WriteMapsLst(ctx, maps));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"ERROR: action directory not found!\rCannot save maps.lst"});

    // A full disk makes the write of the temporary file fail.
    dir.write("action/maps.lst", "a \"Old\"\r\n");
    const auto full = platform::SetFileFaultHook([](platform::FileOp op, const std::filesystem::path&) {
        return op == platform::FileOp::Write ? ENOSPC : 0;
    });
    EXPECT_FALSE(WriteMapsLst(ctx, maps));
    platform::SetFileFaultHook(full);
    EXPECT_EQ(dir.read("action/maps.lst"), "a \"Old\"\r\n");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].text.find(test::HostPath("action\\maps.lst")), std::string::npos);
}

#ifndef _WIN32
TEST_F(MapsFixture, AnUnreadableCatalogueIsNeverSetAsideWhenTheListIsEmptied) {
    // maps.lst cannot be read at start-up (an ordinary user lacks the permission; for the
    // superuser the name leads to a file whose reading fails), so the list shows nothing. A
    // save of the emptied list must not move it over the old backup.
    dir.write("action/maps.bak", "old \"Backup\"\r\n");
    dir.write("action/maps.lst", "a \"Alpha\"\r\n");
    const auto path = dir.path() / "action/maps.lst";
    if (::geteuid() != 0) {
        ::chmod(path.c_str(), 0);
    } else {
        std::filesystem::remove(path);
        std::filesystem::create_symlink("/proc/self/mem", path);
    }
    test::RecordingLauncher launcher;
    app::Editor e(fs, dialogs, progress, launcher);
    e.StartUp();
    EXPECT_EQ(e.mapFields.MapList.rowCount(), 0);
    e.state.bMapsLstChanged = true;
    EXPECT_FALSE(e.SaveSequence());
    EXPECT_EQ(dir.read("action/maps.bak"), "old \"Backup\"\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(path) || std::filesystem::exists(path));
    const auto texts = dialogs.texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.find(test::HostPath("action\\maps.lst")) != std::string::npos; }),
              1);
    if (::geteuid() != 0) ::chmod(path.c_str(), 0644);
}
#endif

TEST_F(MapsFixture, SaveSequenceWritesTheCatalogueAfterTheModSettingsFile) {
    dir.write("action/maps.lst", "a \"Alpha\"\r\nb \"Beta\"\r\n");
    test::RecordingLauncher launcher;
    app::Editor e(fs, dialogs, progress, launcher);
    e.StartUp();
    e.mapFields.MapList.remove(0);
    e.state.bMapsLstChanged = true;
    EXPECT_TRUE(e.SaveSequence());
    EXPECT_EQ(dir.read("action/maps.lst"), "b \"Beta\"\r\n");
}

}  // namespace
}  // namespace tolvane::maps
