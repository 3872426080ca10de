#include "modini/ActionIni.h"

#include <algorithm>
#include <unordered_set>

#include "form/Lists.h"
#include "maps/MapIndex.h"
#include "modini/ActionIniFormat.h"
#include "state/FileUtils.h"
#include "state/ShownPath.h"
#include "state/TextReaders.h"

namespace tolvane::modini {

namespace {

// The default teams of a configuration without its file: two teams of the stock model.
void SetDefaultTeams(const Context& ctx, teams::TeamFields& teams) {
    const char* names[] = {"Morrow Quill", "Jewels"};
    const char* skins[] = {"chucky", "jewels"};
    for (std::size_t i = 0; i < 2; ++i) {
        form::ComboList& model = *teams.modelLists()[i];
        if (!form::InComboBox(model, "actionmale")) continue;
        teams.nameBoxes()[i]->setText(names[i]);
        model.selectText("actionmale");
        form::ComboList& skin = *teams.skinLists()[i];
        teams::ScanPlayerSkins(ctx, skin, "actionmale");
        if (form::InComboBox(skin, skins[i])) skin.selectText(skins[i]);
        ctx.state.bActionIniChanged = true;
    }
}

// A model or skin the file names stays as written: one no players directory holds is shown
// as an extra item of its list, so that a save writes it back unless the operator picks another.
void SelectOrAdd(form::ComboList& list, const std::string& text) {
    if (form::InComboBox(list, text)) list.selectText(text);
    else {
        list.addItem(text);
        list.setSelectedIndex(list.count() - 1);
    }
}

void ApplyTeam(teams::TeamFields& teams, std::size_t i, const IniTeam& team, std::string& skin) {
    teams.SetNameAsRead(i, team.name);
    std::string model;
    SplitModelSkin(team.modelSkin, model, skin);
    form::ComboList& list = *teams.modelLists()[i];
    // The extra model of the configuration read before leaves the list.
    if (std::string& extra = teams.extraModel[i]; !extra.empty() && extra != model) {
        std::vector<std::string> items = list.items();
        if (const auto at = std::find(items.begin(), items.end(), extra); at != items.end()) items.erase(at);
        list.setItems(std::move(items));
        extra.clear();
    }
    // No model in the file: none is shown (nor written).
    if (model.empty()) {
        list.setSelectedIndex(-1);
        return;
    }
    if (!form::InComboBox(list, model)) teams.extraModel[i] = model;
    SelectOrAdd(list, model);
}

// Of maps named more than once (in any letter case) the last stays, in its place.
void KeepLastOfEachMap(std::vector<std::string>& maps) {
    std::unordered_set<std::string> seen;
    std::vector<bool> keep(maps.size());
    for (std::size_t i = maps.size(); i-- > 0;) keep[i] = seen.insert(LowerCase(maps[i])).second;
    std::size_t to = 0;
    for (std::size_t i = 0; i < maps.size(); ++i) {
        if (!keep[i]) continue;
        if (to != i) maps[to] = std::move(maps[i]);
        ++to;
    }
    maps.resize(to);
}

}  // namespace

void TakeFromAvailable(maps::MapFields& maps, const std::vector<std::string>& names) {
    // Each rotation map takes the first available row of its name (ignoring case) that an
    // earlier rotation row of the same name did not take. The rotation's names are indexed (a
    // few hundred) and MapDir is walked once, rather than every available map indexed.
    struct Waiting {
        std::vector<std::size_t> rotationRows;
        std::size_t next = 0;
    };
    std::vector<std::string> lowered;
    lowered.reserve(names.size());
    for (const auto& name : names) lowered.push_back(LowerCase(name));
    maps::NameSet rotationNames;
    std::vector<Waiting> waiting;
    std::vector<form::GridRow> rotation;
    rotation.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto n = static_cast<std::size_t>(rotationNames.add(lowered[i]));
        if (n == waiting.size()) waiting.emplace_back();
        waiting[n].rotationRows.push_back(i);
        // Until a row or an archive shows where the map is.
        rotation.push_back({names[i], maps::kTagNotFound});
    }
    const auto& available = maps.MapDir.rows();
    std::vector<bool> taken(available.size(), false);
    std::vector<bool> served(names.size(), false);
    bool anyTaken = false;
    const bool keepCase = maps::MapNamesKeepFileCase();
    std::string key;
    const auto groupOf = [&](std::size_t i) {
        // Map names are mostly lower case already: only a name with a capital is copied.
        std::string_view name = maps::MapKey(available[i].text);
        if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            key.assign(name);
            for (char& c : key) c = LowerAscii(c);
            name = key;
        }
        return rotationNames.find(name);
    };
    const auto give = [&](std::size_t row, std::size_t i) {
        const form::GridRow& from = available[i];
        const bool marked = !from.text.empty() && from.text.back() == '*';
        // The rotation keeps the file's spelling (action.ini's), with the row's tag and marker.
        // Where letter case matters to the server, a map found on disk is named as its file.
        const bool onDisk = from.tag == 0 || from.tag == 1;
        std::string text = keepCase && onDisk ? std::string(maps::MapKey(from.text)) : names[row];
        if (marked) text += '*';
        rotation[row] = {std::move(text), from.tag};
        served[row] = true;
        taken[i] = true;
        anyTaken = true;
    };
    if (keepCase) {
        // A row spelled exactly as a rotation map goes to it first: "Rooftops" and "rooftops"
        // are two files there.
        for (std::size_t i = 0; i < available.size(); ++i) {
            const int n = groupOf(i);
            if (n < 0) continue;
            const std::string_view name = maps::MapKey(available[i].text);
            for (const std::size_t row : waiting[static_cast<std::size_t>(n)].rotationRows) {
                if (served[row] || names[row] != name) continue;
                give(row, i);
                break;
            }
        }
    }
    for (std::size_t i = 0; i < available.size(); ++i) {
        if (taken[i]) continue;
        const int n = groupOf(i);
        if (n < 0) continue;
        Waiting& w = waiting[static_cast<std::size_t>(n)];
        while (w.next < w.rotationRows.size() && served[w.rotationRows[w.next]]) ++w.next;
        if (w.next == w.rotationRows.size()) continue;
        give(w.rotationRows[w.next++], i);
    }
    if (anyTaken) {
        // The rows left keep their order, each moved at most once.
        std::vector<bool> left(taken.size());
        for (std::size_t i = 0; i < taken.size(); ++i) left[i] = !taken[i];
        maps.MapDir.editRows([&left](std::vector<form::GridRow>& rows) { form::KeepRows(rows, left); });
    }
    maps.MapIni.setRows(std::move(rotation));
}

void ReadActionIni(const Context& ctx, teams::TeamFields& teams, maps::MapFields& maps, const std::string& fileName) {
    const std::string& modDir = ctx.state.strModDir;
    const std::string path = modDir + "\\" + fileName;
    ctx.progress.show("Processing " + path + "...");
    if (!DirExistsConst(ctx.fs, modDir)) {
        ctx.progress.hide();
        return;
    }
    // The rotation being replaced goes back among the available maps.
    if (maps.MapIni.rowCount() > 0) {
        std::vector<form::GridRow> available = maps.MapDir.rows();
        available.insert(available.end(), maps.MapIni.rows().begin(), maps.MapIni.rows().end());
        maps.MapDir.setRows(std::move(available));
        form::SortGrid(maps.MapDir);
    }
    maps.MapIni.clear();
    if (!FileExists(ctx.fs, path)) {
        SetDefaultTeams(ctx, teams);
        // The new file holds two teams unless the operator fills in the third.
        teams.team3InFile = false;
        teams.ShowTeam3Absence();
        ctx.progress.hide();
        return;
    }
    std::string content;
    std::string error;
    // A file that cannot be read reads as empty; the save will not replace it.
    ctx.fs.readFile(path, content, error);
    ActionIni ini = ParseActionIni(content);
    std::array<std::string, 3> skins;
    for (std::size_t i = 0; i < 3; ++i)
        if (ini.teams[i].present) ApplyTeam(teams, i, ini.teams[i], skins[i]);
    // Without a third team the mod plays with two: team 3 is shown empty, not as it was.
    teams.team3InFile = ini.teams[2].present;
    if (!teams.team3InFile) teams.ClearTeam3();
    // Duplicates go first, so the occurrence that stays is the one that takes its row (tag and
    // marker) from the available maps. Names differing only in case are one map to the server.
    KeepLastOfEachMap(ini.maps);
    TakeFromAvailable(maps, ini.maps);
    // A team the file leaves out keeps what it held.
    for (std::size_t i = 0; i < 3; ++i) {
        if (!ini.teams[i].present) continue;
        form::ComboList& list = *teams.skinLists()[i];
        teams::ScanPlayerSkins(ctx, list, teams.modelLists()[i]->text());
        if (!skins[i].empty()) SelectOrAdd(list, skins[i]);
    }
    teams.ShowTeam3Absence();
    ctx.state.bActionIniChanged = false;
    ctx.progress.hide();
}

bool WriteActionIni(const Context& ctx, teams::TeamFields& teams, const maps::MapFields& maps) {
    const AppState& st = ctx.state;
    if (!st.bActionIniChanged) return true;
    if (!DirExistsConst(ctx.fs, st.strModDir)) {
        ctx.message("ERROR: action directory not found!\rCannot save " + st.strActionIniFileName);
        return false;
    }
    const std::string path = st.strModDir + "\\" + st.strActionIniFileName;
    std::string old;
    bool hasOld = false;
    if (FileExists(ctx.fs, path)) {
        // Its foreign lines would be lost: an old file that cannot be read is left alone.
        std::string error;
        if (!ctx.fs.readFile(path, old, error)) {
            ctx.message("Could not save " + ShownPath(path) + ": cannot read the old file (" + error + ")\rThe file was left as it was.");
            return false;
        }
        hasOld = true;
    }
    std::array<TeamValues, 3> values;
    for (std::size_t i = 0; i < 3; ++i)
        values[i] = {teams.nameBoxes()[i]->text(), teams.modelLists()[i]->text(), teams.skinLists()[i]->text()};
    // A team without a name cannot be written: the mod would take its model line for the name.
    // One the file holds just so is left as it is.
    const ActionIni before = hasOld ? ParseActionIni(old) : ActionIni{};
    for (std::size_t i = 0; i < 3; ++i) {
        const bool written = hasOld ? before.teams[i].present : i < 2;
        if (!written || !values[i].name.empty() || (hasOld && TeamAsInFile(before, i, values[i]))) continue;
        ctx.message("Could not save " + ShownPath(path) + ": team " + std::to_string(i + 1) +
                    " has no name.\rThe mod would read its model line as its name. The file was left as it was.");
        return false;
    }
    std::vector<std::string> rotation;
    rotation.reserve(static_cast<std::size_t>(maps.MapIni.rowCount()));
    for (const auto& row : maps.MapIni.rows()) rotation.push_back(row.text);
    return ReplaceFileViaTemp(ctx, path, BuildActionIni(values, rotation, hasOld ? &old : nullptr));
}

}  // namespace tolvane::modini
