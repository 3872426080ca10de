#include "maps/MapEditing.h"

#include <algorithm>
#include <unordered_map>

#include "form/Lists.h"
#include "maps/MapsLstFormat.h"

namespace tolvane::maps {

namespace {

// Exchanges two rows and makes `to` current. A map's origin tag moves with its name, as in the
// sorts, so a map moved back to the available maps still says where it was found.
void Exchange(form::Grid& grid, int from, int to) {
    std::vector<form::GridRow> rows = grid.rows();
    std::swap(rows[static_cast<std::size_t>(from)], rows[static_cast<std::size_t>(to)]);
    grid.setRows(std::move(rows));
    grid.setCurrentRow(to);
}

// Moves the current row one place up (step -1) or down (+1); false when it cannot move.
bool MoveCurrent(form::Grid& grid, int step) {
    const int r = grid.currentRow();
    if (r < 0 || r + step < 0 || r + step >= grid.rowCount()) return false;
    Exchange(grid, r, r + step);
    return true;
}

// maps.lst holds `name "description"`: a name is one word without quotes, a description has no
// double quote. What it cannot hold is refused rather than written wrong.
bool NameFitsCatalogue(const Context& ctx, const std::string& name) {
    if (name.find_first_of(" \t\"") == std::string::npos) return true;
    ctx.message("maps.lst cannot store a map name holding a blank or a double quote: " + name);
    return false;
}

bool DescriptionFitsCatalogue(const Context& ctx, const std::string& description) {
    if (description.find('"') == std::string::npos) return true;
    ctx.message("maps.lst cannot store a double quote in a map description: " + description);
    return false;
}

// Moves the picked rows of `from` (in their order there) to the end of `to`, in one change of
// each grid; returns the moved rows.
std::vector<form::GridRow> MovePicked(form::Grid& from, form::Grid& to) {
    const std::vector<int> picked = from.pickedRows();
    std::vector<form::GridRow> moved;
    if (picked.empty()) return moved;
    moved.reserve(picked.size());
    for (int r : picked) moved.push_back(from.rows()[static_cast<std::size_t>(r)]);
    from.editRows([&picked](std::vector<form::GridRow>& rows) {
        std::vector<bool> keep(rows.size(), true);
        for (int r : picked) keep[static_cast<std::size_t>(r)] = false;
        form::KeepRows(rows, keep);
    });
    // The first row after the ones taken out is current, as it was after a single move.
    from.setCurrentRow(picked.front());
    to.editRows([&moved](std::vector<form::GridRow>& rows) { rows.insert(rows.end(), moved.begin(), moved.end()); });
    return moved;
}

}  // namespace

// Every map picked in the available list (the current one when none are picked) joins the end of
// the rotation; the last of them becomes the rotation's current row.
void ReportRotationDuplicates(const Context& ctx, const form::Grid& MapIni) {
    // One message per pair, the later row of the pair taken from the last row up.
    const auto& rows = MapIni.rows();
    std::unordered_map<std::string, int> count;
    std::vector<int> earlier(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) earlier[i] = count[rows[i].text]++;
    for (std::size_t i = rows.size(); i-- > 0;)
        for (int k = 0; k < earlier[i]; ++k) ctx.message("Duplicates of " + rows[i].text + " found!");
}

void ButtonAdd_Click(const Context& ctx, MapFields& maps) {
    if (MovePicked(maps.MapDir, maps.MapIni).empty()) return;
    ctx.state.bActionIniChanged = true;
    maps.MapIni.setCurrentRow(maps.MapIni.rowCount() - 1);
}

// The picked rotation maps go back to the available list, which stays in name order; the first
// of them becomes its current row.
void ButtonRemove_Click(const Context& ctx, MapFields& maps) {
    const std::vector<form::GridRow> moved = MovePicked(maps.MapIni, maps.MapDir);
    if (moved.empty()) return;
    ctx.state.bActionIniChanged = true;
    form::SortGrid(maps.MapDir);
    const auto& rows = maps.MapDir.rows();
    const auto at = std::find_if(rows.begin(), rows.end(), [&](const form::GridRow& row) { return row.text == moved.front().text; });
    maps.MapDir.setCurrentRow(static_cast<int>(at - rows.begin()));
}

void ButtonServerUp_Click(const Context& ctx, MapFields& maps) {
    if (MoveCurrent(maps.MapIni, -1)) ctx.state.bActionIniChanged = true;
}

void ButtonServerDown_Click(const Context& ctx, MapFields& maps) {
    if (MoveCurrent(maps.MapIni, +1)) ctx.state.bActionIniChanged = true;
}

void ButtonRandom_Click(const Context& ctx, MapFields& maps, platform::Random& random) {
    ctx.state.bActionIniChanged = true;
    const int n = maps.MapIni.rowCount();
    // With fewer than two rows there is nothing to exchange: the rotation stays as it is.
    if (n < 2) return;
    random.reseed();
    std::vector<form::GridRow> rows = maps.MapIni.rows();
    form::GridRow carried = rows[0];
    for (int step = 0; step < 5 * n; ++step) {
        const float x = random.next();
        // Single precision can round x * (n - 1) + 1 up to n for x just below 1: keep k a row.
        const int k = std::clamp(static_cast<int>(x * static_cast<float>(n - 1) + 1.0f), 1, n - 1);
        std::swap(carried, rows[static_cast<std::size_t>(k)]);
    }
    rows[0] = std::move(carried);
    const int current = maps.MapIni.currentRow();
    maps.MapIni.setRows(std::move(rows));
    maps.MapIni.setCurrentRow(current);
    ReportRotationDuplicates(ctx, maps.MapIni);
}

void ButtonNew_Click(const Context& ctx, MapFields& maps) {
    const auto name = ctx.dialogs.input("Map File Name", "Add Map to Map List", "");
    if (!name || name->empty() || !NameFitsCatalogue(ctx, *name)) return;
    const std::string description = ctx.dialogs.input("Map Description", "Add Map to Map List", "").value_or("");
    if (!DescriptionFitsCatalogue(ctx, description)) return;
    ctx.state.bMapsLstChanged = true;
    maps.MapList.insert(0, description + " [" + *name + "]");
}

void ButtonRename_Click(const Context& ctx, MapFields& maps) {
    const int r = maps.MapList.currentRow();
    if (r < 0) return;
    const std::string row = maps.MapList.text(r);
    std::string description;
    std::string name;
    SplitCatalogueRow(row, description, name);
    const auto answer = ctx.dialogs.input("Rename " + row + " to what?", "Rename Map", description);
    if (!answer || answer->empty() || *answer == description) return;
    if (!DescriptionFitsCatalogue(ctx, *answer)) return;
    ctx.state.bMapsLstChanged = true;
    maps.MapList.setText(r, *answer + " [" + name + "]");
}

void ButtonDelete_Click(const Context& ctx, MapFields& maps) {
    const int r = maps.MapList.currentRow();
    if (r < 0) return;
    ctx.state.bMapsLstChanged = true;
    maps.MapList.remove(r);
}

void ButtonUp_Click(const Context& ctx, MapFields& maps) {
    if (MoveCurrent(maps.MapList, -1)) ctx.state.bMapsLstChanged = true;
}

void ButtonDown_Click(const Context& ctx, MapFields& maps) {
    if (MoveCurrent(maps.MapList, +1)) ctx.state.bMapsLstChanged = true;
}

void ConnectMapButtons(const Context& ctx, MapFields& maps, platform::Random* const& random) {
    auto on = [&ctx, &maps](form::Button& button, void (*handler)(const Context&, MapFields&)) {
        button.clicked.attach([&ctx, &maps, handler] { handler(ctx, maps); });
    };
    on(maps.ButtonAdd, ButtonAdd_Click);
    on(maps.ButtonRemove, ButtonRemove_Click);
    on(maps.ButtonServerUp, ButtonServerUp_Click);
    on(maps.ButtonServerDown, ButtonServerDown_Click);
    on(maps.ButtonNew, ButtonNew_Click);
    on(maps.ButtonRename, ButtonRename_Click);
    on(maps.ButtonDelete, ButtonDelete_Click);
    on(maps.ButtonUp, ButtonUp_Click);
    on(maps.ButtonDown, ButtonDown_Click);
    maps.ButtonRandom.clicked.attach([&ctx, &maps, &random] { ButtonRandom_Click(ctx, maps, *random); });
}

}  // namespace tolvane::maps
