// action.ini over bytes: what the reader takes from a file, the file the writer makes, the lines
// it keeps, and a reader written from the mod's own rules held against the writer's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "modini/ActionIniFormat.h"
#include "state/TextReaders.h"
#include "support/TestSupport.h"

namespace tolvane::modini {
namespace {

// The mod's reading of the file: line by line, exact (case-sensitive) headers, "###" ends a
// section, "//" lines skipped, and the map list also ends at the next section header.
struct ModView {
    std::array<std::pair<std::string, std::string>, 3> teams;   // name, model/skin
    std::array<bool, 3> present{};
    std::vector<std::string> maps;
};

ModView ReadAsTheModDoes(const std::string& file) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : file) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    ModView view;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("//", 0) == 0) continue;
        for (std::size_t t = 0; t < 3; ++t) {
            if (l != "[team" + std::to_string(t + 1) + "]") continue;
            view.present[t] = true;
            std::vector<std::string> got;
            while (++i < lines.size() && lines[i] != "###")
                if (lines[i].rfind("//", 0) != 0) got.push_back(lines[i]);
            view.teams[t] = {got.size() > 0 ? got[0] : "", got.size() > 1 ? got[1] : ""};
        }
        if (l == "[maplist]") {
            while (++i < lines.size() && lines[i] != "###" && lines[i].rfind("[", 0) != 0)
                if (lines[i].rfind("//", 0) != 0 && !lines[i].empty()) view.maps.push_back(lines[i]);
            if (i < lines.size() && lines[i] != "###") --i;
        }
    }
    return view;
}

const std::array<TeamValues, 3> kTeams = {TeamValues{"Red, White", "male", "grunt"},
                                          TeamValues{"Blue", "actionmale", "chucky"}, TeamValues{"", "", ""}};

TEST(ActionIniParse, LinesAreReadWholeWithHeadersInAnyCase) {
    const ActionIni ini = ParseActionIni(
        "; notes, with a comma\r\n[Team1]\r\n  Red, White  \r\nmale/grunt\r\n###\r\n[TEAM2]\r\n\"Blue\" ignored\r\n"
        "actionmale/\r\n###\r\n[MapList]\r\nUrban\r\n// teamjungle\r\n\r\nCity, Two\r\n");
    EXPECT_TRUE(ini.teams[0].present);
    EXPECT_EQ(ini.teams[0].name, "Red, White");
    EXPECT_EQ(ini.teams[0].modelSkin, "male/grunt");
    EXPECT_EQ(ini.teams[1].name, "Blue");
    EXPECT_EQ(ini.teams[1].modelSkin, "actionmale/");
    EXPECT_FALSE(ini.teams[2].present);
    // No "###": the list runs to the end; comments are not maps; names are spelt as written.
    EXPECT_EQ(ini.maps, (std::vector<std::string>{"Urban", "City, Two"}));
}

TEST(ActionIniParse, TheMapListEndsAtTheNextSectionAndShortBlocksStopAtAHeader) {
    const ActionIni ini = ParseActionIni(
        "[maplist]\nurban\n[mapvote]\nmv_public=1\n[team3]\nGreen\n[team1]\n// the mod skips me\nOnly\n");
    EXPECT_EQ(ini.maps, std::vector<std::string>{"urban"});
    EXPECT_TRUE(ini.teams[2].present);
    EXPECT_EQ(ini.teams[2].name, "Green");
    EXPECT_EQ(ini.teams[2].modelSkin, "");
    EXPECT_EQ(ini.teams[0].name, "Only");

    std::string model, skin;
    SplitModelSkin("male", model, skin);
    EXPECT_EQ(model, "male");
    EXPECT_EQ(skin, "");
    SplitModelSkin("male/a/b", model, skin);
    EXPECT_EQ(model, "male");
    EXPECT_EQ(skin, "a/b");
}

TEST(ActionIniBuild, ANewFileHoldsTwoTeamsAndTheRotation) {
    EXPECT_EQ(BuildActionIni(kTeams, {"urban*", "city"}, nullptr),
              "[team1]\r\nRed, White\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nactionmale/chucky\r\n###\r\n"
              "[maplist]\r\nurban\r\ncity\r\n###\r\n");
    auto three = kTeams;
    three[2] = {"Green", "female", "sas"};
    EXPECT_EQ(BuildActionIni(three, {}, nullptr),
              "[team1]\r\nRed, White\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nactionmale/chucky\r\n###\r\n"
              "[team3]\r\nGreen\r\nfemale/sas\r\n###\r\n[maplist]\r\n###\r\n");
    three[2].skin.clear();
    EXPECT_EQ(BuildActionIni(three, {}, nullptr), BuildActionIni(kTeams, {}, nullptr));
}

TEST(ActionIniBuild, ForeignLinesAndTheSectionsAfterTheMapListSurviveByteForByte) {
    const std::string old =
        "// My Server, \"Tuesday\" rules\r\n[Team1]\r\nOld\r\nmale/x\r\n###\r\n\tKeep Me, Too\r\n"
        "[team2]\nOld2\nmale/y\n###\n[MAPLIST]\r\n// teamjungle\r\nold1\r\n\r\nold2\r\n###\r\n"
        "[mapvote]\r\nmv_public=1\r\n[kickvote]\r\nkv_use=1\r\n";
    // The file has no third team and the window none filled in: none is added.
    const std::string twoTeams =
        "// My Server, \"Tuesday\" rules\r\n[team1]\r\nRed, White\r\nmale/grunt\r\n###\r\n\tKeep Me, Too\r\n"
        "[team2]\r\nBlue\r\nactionmale/chucky\r\n###\r\n[maplist]\r\n// teamjungle\r\nurban\r\ncity\r\n\r\n###\r\n"
        "[mapvote]\r\nmv_public=1\r\n[kickvote]\r\nkv_use=1\r\n";
    EXPECT_EQ(BuildActionIni(kTeams, {"urban", "city*"}, &old), twoTeams);
    auto three = kTeams;
    three[2] = {"Green", "female", ""};
    EXPECT_EQ(BuildActionIni(three, {"urban", "city*"}, &old), twoTeams);
    // Filled in by the operator (name, model and skin): added before the map list.
    three[2].skin = "sas";
    const std::size_t list = twoTeams.find("[maplist]");
    EXPECT_EQ(BuildActionIni(three, {"urban", "city*"}, &old),
              twoTeams.substr(0, list) + "[team3]\r\nGreen\r\nfemale/sas\r\n###\r\n" + twoTeams.substr(list));
    // A map list without "###" ends at the next section, which stays.
    const std::string noEnd = "[maplist]\nold\n[mapvote]\nx=1\n";
    EXPECT_EQ(BuildActionIni(kTeams, {"urban"}, &noEnd),
              "[maplist]\r\nurban\r\n###\r\n[mapvote]\r\nx=1\r\n");
    // A comment inside a team block is kept, after the header.
    const std::string commented = "[team2]\n// blues\nOld\nmale/x\n###\n";
    EXPECT_EQ(BuildActionIni(kTeams, {}, &commented),
              "[team2]\r\n// blues\r\nBlue\r\nactionmale/chucky\r\n###\r\n[maplist]\r\n###\r\n");
}

TEST(ActionIniBuild, AFileWithoutAMapListGetsOneAndReadsItBack) {
    const std::string old = "[team1]\r\nA\r\nmale/x\r\n###\r\n";
    const std::string built = BuildActionIni(kTeams, {"urban"}, &old);
    EXPECT_EQ(built, "[team1]\r\nRed, White\r\nmale/grunt\r\n###\r\n[maplist]\r\nurban\r\n###\r\n");
    EXPECT_EQ(ParseActionIni(built).maps, std::vector<std::string>{"urban"});
    // A second save of the same values changes nothing.
    EXPECT_EQ(BuildActionIni(kTeams, {"urban"}, &built), built);
}

TEST(ActionIniBuild, TheModReadsWhatTheEditorShows) {
    const std::string old = "// notes\r\n[TEAM1]\r\nx\r\ny/z\r\n###\r\n[team2]\r\nq\r\nw/e\r\n###\r\n[team3]\r\n"
                            "\r\n[maplist]\r\n// off\r\nold\r\n[configvote]\r\ncv_use=1\r\n";
    auto three = kTeams;
    three[2] = {"Green Team", "female", "sas"};
    const std::vector<std::string> rotation = {"urban*", "city", "teamjungle"};
    for (const std::string* base : {static_cast<const std::string*>(nullptr), &old}) {
        const ModView mod = ReadAsTheModDoes(BuildActionIni(three, rotation, base));
        for (std::size_t t = 0; t < (base ? 3u : 2u); ++t) {
            ASSERT_TRUE(mod.present[t]) << t;
            EXPECT_EQ(mod.teams[t].first, three[t].name);
            EXPECT_EQ(mod.teams[t].second, three[t].model + "/" + three[t].skin);
        }
        EXPECT_EQ(mod.maps, (std::vector<std::string>{"urban", "city", "teamjungle"}));
        // And the editor reads back what it wrote.
        const ActionIni again = ParseActionIni(BuildActionIni(three, rotation, base));
        EXPECT_EQ(again.teams[0].name, "Red, White");
        EXPECT_EQ(again.maps, mod.maps);
    }
}

// Real mod settings files from public server repositories: saved with what was read, they read
// back the same, keep every comment line, and a second save changes nothing.
TEST(ActionIniCorpus, RealFilesSurviveLoadAndSave) {
    std::vector<std::filesystem::path> files;
    if (const auto root = test::CorpusDir(); !root.empty())
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            if (e.is_regular_file() && e.path().extension() == ".ini") files.push_back(e.path());
    int checked = 0;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string lower = LowerCase(original);
        if (lower.find("[maplist]") == std::string::npos && lower.find("[team1]") == std::string::npos) continue;
        SCOPED_TRACE(file.string());
        ++checked;
        const ActionIni read = ParseActionIni(original);
        std::array<TeamValues, 3> teams;
        for (std::size_t i = 0; i < 3; ++i) {
            teams[i].name = read.teams[i].name;
            SplitModelSkin(read.teams[i].modelSkin, teams[i].model, teams[i].skin);
        }
        const std::string saved = BuildActionIni(teams, read.maps, &original);
        const ActionIni again = ParseActionIni(saved);
        EXPECT_EQ(again.maps, read.maps);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(again.teams[i].present, read.teams[i].present);
            EXPECT_EQ(again.teams[i].name, read.teams[i].name);
        }
        EXPECT_EQ(ReadAsTheModDoes(saved).maps, read.maps);
        std::vector<std::string> savedLines = SplitLines(saved);
        for (const auto& line : SplitLines(original)) {
            if (line.rfind("//", 0) != 0) continue;
            const auto at = std::find(savedLines.begin(), savedLines.end(), line);
            EXPECT_NE(at, savedLines.end()) << line;
            if (at != savedLines.end()) savedLines.erase(at);
        }
        EXPECT_EQ(BuildActionIni(teams, read.maps, &saved), saved);
    }
    if (checked == 0) GTEST_SKIP() << "no corpus of real mod settings files beside the checkout";
}

}  // namespace
}  // namespace tolvane::modini
