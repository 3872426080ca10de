#include "maps/Catalogue.h"

#include "state/ShownPath.h"
#include "maps/MapIndex.h"
#include "maps/MapsLstFormat.h"
#include "state/FileUtils.h"

namespace tolvane::maps {

void ReadMapsLst(const Context& ctx, MapFields& maps, const std::string& fileName) {
    const std::string& modDir = ctx.state.strModDir;
    ctx.progress.show("Reading " + modDir + "\\" + fileName + "...");
    if (!DirExistsConst(ctx.fs, modDir)) {
        ctx.progress.hide();
        return;
    }
    maps.MapList.clear();
    const std::string path = modDir + "\\" + fileName;
    std::string content;
    std::string error;
    // A catalogue that is missing or cannot be read lists nothing.
    if (FileExists(ctx.fs, path) && ctx.fs.readFile(path, content, error)) {
        const std::vector<MapsLstEntry> entries = MapsLstEntries(content);
        std::vector<form::GridRow> catalogue;
        std::vector<std::string> names;
        catalogue.reserve(entries.size());
        names.reserve(entries.size());
        for (const auto& entry : entries) {
            catalogue.push_back({CatalogueRow(entry.name, entry.description), 0});
            names.emplace_back(entry.name);
        }
        if (!catalogue.empty()) maps.MapList.setRows(std::move(catalogue));
        // A catalogued map that is neither in the rotation nor available is added (tag -1).
        AddUnlistedMaps(maps, names);
    }
    ctx.state.bMapsLstChanged = false;
    ctx.progress.hide();
}

bool WriteMapsLst(const Context& ctx, const MapFields& maps) {
    if (!ctx.state.bMapsLstChanged) return true;
    if (!DirExistsConst(ctx.fs, ctx.state.strModDir)) {
        ctx.message("ERROR: action directory not found!\rCannot save maps.lst");
        return false;
    }
    const std::string path = ctx.state.strModDir + "\\" + ctx.state.strMapsLstFileName;
    // No catalogue remains: the old file is set aside as its backup, with the checks of a
    // replace (a file that could not be read, or changed since, is left alone).
    if (maps.MapList.rowCount() == 0) return SetFileAside(ctx, path);
    std::string error;
    // The old file's other lines (comments, blank lines) are carried into the new one; a file
    // that exists but cannot be read is left alone rather than lose them.
    std::string old;
    if (FileExists(ctx.fs, path) && !ctx.fs.readFile(path, old, error)) {
        ctx.message("Could not save " + ShownPath(path) + ": " + error + "\rThe file was left as it was.");
        return false;
    }
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(maps.MapList.rowCount()));
    for (const auto& row : maps.MapList.rows()) rows.push_back(row.text);
    return WriteFileWithBackup(ctx, path, BuildMapsLst(rows, old));
}

}  // namespace tolvane::maps
