#include "maps/Discovery.h"

#include <filesystem>
#include <string_view>
#include <unordered_map>

#include "maps/ByteOrder.h"
#include "maps/MapIndex.h"
#include "maps/MapsLstFormat.h"
#include "maps/PakFile.h"
#include "maps/PakFormat.h"
#include "maps/ZipListing.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::maps {

void ScanBspFolders(const Context& ctx, MapFields& maps, const std::vector<std::string>& dirs) {
    // Every folder is listed before any row is made, so the rows and their index are sized
    // once for all of them. The order of the files does not matter: each map name is one row
    // whatever its place.
    std::vector<std::vector<std::string>> listed(dirs.size());
    std::size_t total = 0;
    const bool keepCase = MapNamesKeepFileCase();
    for (std::size_t d = 0; d < dirs.size(); ++d) {
        ctx.progress.show("Processing " + dirs[d] + "\\*.bsp...");
        const bool whole = ctx.fs.listEach(dirs[d] + "\\*.bsp", false, [&](std::string_view file) {
            const std::string_view name = file.substr(0, file.find('.'));
            if (keepCase) listed[d].emplace_back(name);
            else listed[d].push_back(LowerCase(std::string(name)));
        });
        // A folder that could not be read to its end adds nothing, as an empty listing.
        if (!whole) listed[d].clear();
        total += listed[d].size();
    }
    const RowLookup rotation(maps.MapIni.rows());
    // Room for the rows the later start-up steps add (the catalogue's and the archives' maps):
    // room never written costs no memory, as the system gives a page when it is first written,
    // while moving the rows to a bigger list writes every one of them again. Four times the
    // loose maps holds every install where they are at least a quarter of all maps.
    IndexedRows available(maps.MapDir.rows(), total, 4 * (maps.MapDir.rowCount() + total));
    for (auto& names : listed) {
        for (std::string& name : names) {
            // A file called ".bsp" names no map.
            if (name.empty() || rotation.find(name) >= 0) continue;
            // A map found in both map directories keeps the one row, unmarked.
            if (const int row = available.findOrAppend(std::move(name), 0); row >= 0 && available.row(row).tag != 0)
                available.setTag(row, 0);
        }
    }
    if (available.changed()) maps.MapDir.setRows(available.take());
    ctx.progress.hide();
}

void ReadBaseMapsLst(const Context& ctx, MapFields& maps) {
    if (!DirExistsConst(ctx.fs, "baseq2")) return;
    const std::string path = "baseq2\\maps.lst";
    if (!FileExists(ctx.fs, path)) return;
    std::string content;
    std::string error;
    if (!ctx.fs.readFile(path, content, error)) return;
    // Only the names matter here: each line's first word (a line without a blank is all name).
    AddUnlistedMaps(maps, BaseMapListNames(content));
}

namespace {

// The map names the archives hold, in the scan's order, rather than every archive's whole
// directory. Holding them until all archives are read lets the new rows be made in one list of
// the right size.
using ArchiveMaps = std::vector<std::string>;

bool IsPakName(const std::string& path) {
    const std::string lower = LowerCase(path);
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".pak") == 0;
}

void ReadArchive(const Context& ctx, ArchiveMaps& read, const std::string& path, const std::filesystem::path& hostPath) {
    ctx.progress.show("Scanning " + path + "...");
    if (IsPakName(path)) {
        std::string directory;
        if (!ReadPakDirectoryBytes(hostPath, directory)) return;
        ForEachPakMapName(directory, [&read](std::string_view map) { read.emplace_back(map); });
        return;
    }
    // The zip kinds: a file libzip cannot read as an archive holds no maps.
    std::vector<std::string> names;
    if (!ListZipEntries(hostPath, names)) return;
    for (const auto& name : names)
        if (const auto map = MapNameViewOfArchiveEntry(name)) read.emplace_back(*map);
}

void ScanDirectory(const Context& ctx, ArchiveMaps& read, const std::string& dir, bool skipStockArchive) {
    // One listing serves every archive kind: the PAK archives first, then each zip kind, each in
    // listing order. The folder is found once; each archive is a name in it.
    const auto files = ctx.fs.list(dir + "\\*", false);
    const std::filesystem::path hostDir = ctx.fs.resolve(dir);
    const std::string pakPattern = "*.pak";
    for (const auto& file : files) {
        if (!platform::WildcardMatch(pakPattern, file)) continue;
        if (skipStockArchive && LowerCase(file) == "pak0.pak") continue;
        ReadArchive(ctx, read, dir + "\\" + file, hostDir / file);
    }
    for (const std::string pattern : kZipArchivePatterns)
        for (const auto& file : files)
            if (platform::WildcardMatch(pattern, file)) ReadArchive(ctx, read, dir + "\\" + file, hostDir / file);
}

// The rows of the rotation by map name ignoring case, as the rotation takes its maps (a few
// hundred rows): the first row whose map name matches, as it stands when asked.
class RotationNames {
public:
    explicit RotationNames(const std::vector<form::GridRow>& rows) : rows_(rows) {
        keys_.reserve(rows.size());
        for (const auto& row : rows) keys_.push_back(LowerCase(std::string(MapKey(row.text))));
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            const auto n = static_cast<std::size_t>(names_.add(keys_[i]));
            if (n == rowsOf_.size()) rowsOf_.emplace_back();
            rowsOf_[n].push_back(i);
        }
    }
    // `lowered` is a map name in lower case; -1 when no row names it.
    int find(std::string_view lowered) const {
        const int n = names_.find(lowered);
        if (n < 0) return -1;
        // A row marked a second time stands for another name ("keep*" once "keep**").
        for (const std::size_t row : rowsOf_[static_cast<std::size_t>(n)])
            if (LowerCase(std::string(MapKey(rows_[row].text))) == lowered) return static_cast<int>(row);
        return -1;
    }

private:
    const std::vector<form::GridRow>& rows_;
    std::vector<std::string> keys_;  // fixed once filled: the name set holds views into it
    NameSet names_;
    std::vector<std::vector<std::size_t>> rowsOf_;
};

// The maps of the archives read, in their order. A map the rotation holds (ignoring case) is
// noted there: one no scan had found becomes an archive map, unmarked; one found before (a
// loose file, or an archive earlier in this scan) takes "*" and tag 1; a marked one is left
// alone. Every other map is a new MapDir row with tag 1; MapDir is not looked at (duplicates
// are merged afterwards).
void AddArchiveMaps(ArchiveMaps& read, MapFields& maps) {
    if (read.empty()) return;
    std::vector<form::GridRow> rotation = maps.MapIni.rows();
    const RotationNames rotationNames(rotation);
    const bool keepCase = MapNamesKeepFileCase();
    bool rotationChanged = false;
    std::string key;
    // The new rows go straight after MapDir's, in one pass over the maps read, with room for
    // all of them made once (room left unwritten costs no memory).
    maps.MapDir.editRows([&](std::vector<form::GridRow>& rows) {
        form::ReserveMoreRows(rows, read.size());
        for (std::string& map : read) {
            const int row = rotation.empty() ? -1 : [&] {
                key.assign(map);
                for (char& c : key) c = LowerAscii(c);
                return rotationNames.find(key);
            }();
            if (row < 0) {
                rows.push_back({std::move(map), 1});
                continue;
            }
            form::GridRow& found = rotation[static_cast<std::size_t>(row)];
            const bool marked = !found.text.empty() && found.text.back() == '*';
            if (found.tag == kTagNotFound || found.tag == -1) {
                // Where letter case matters the rotation names the map as the archive does.
                if (found.tag == kTagNotFound && keepCase) found.text = map;
                found.tag = 1;
            } else if (found.tag == 0 || !marked) {
                found.tag = 1;
                found.text += "*";
            } else {
                continue;
            }
            rotationChanged = true;
        }
    });
    if (rotationChanged) maps.MapIni.setRows(std::move(rotation));
}

}  // namespace

void ScanPakArchives(const Context& ctx, MapFields& maps) {
    ArchiveMaps read;
    if (DirExistsConst(ctx.fs, ctx.state.strModDir)) ScanDirectory(ctx, read, ctx.state.strModDir, false);
    // The base game's first archive holds the stock maps and is not opened.
    if (DirExistsConst(ctx.fs, "baseq2")) ScanDirectory(ctx, read, "baseq2", true);
    AddArchiveMaps(read, maps);
    ctx.progress.hide();
}

namespace {

// The duplicate merge worked out before any row moves: which rows survive, the survivors of
// maps found more than once with their new tags and markers, and the survivors in the order of
// their map names.
struct MergePlan {
    struct Change {
        std::uint32_t row;
        std::int32_t tag;
        bool marked;
    };
    std::vector<bool> survives;
    std::vector<Change> changes;                 // only maps found more than once
    std::vector<std::uint32_t> survivorsByName;  // row numbers
    std::size_t removed = 0;
};

// Of each map the last row survives. Compared from the last row up, it meets the earlier rows
// of its map first to last, and each meeting may mark it. The rows are grouped by map name
// (each group in row order) and that sequence runs within each group. A map found once keeps
// its row as it is, so only the few groups of several rows read tags.
MergePlan PlanMerge(const std::vector<form::GridRow>& rows) {
    std::vector<bool> sameMap;
    std::vector<std::uint32_t> order = StableRowOrder(rows, RowKey::MapName, &sameMap);
    MergePlan plan;
    plan.survives.assign(rows.size(), false);
    std::size_t kept = 0;
    for (std::size_t g = 0; g < order.size();) {
        std::size_t end = g + 1;
        while (end < order.size() && sameMap[end]) ++end;
        const std::size_t s = order[end - 1];
        plan.survives[s] = true;
        if (end - g > 1) {
            plan.removed += end - g - 1;
            std::int32_t tag = rows[s].tag;
            bool marked = false;
            for (std::size_t k = g; k + 1 < end; ++k) {
                const std::int32_t other = rows[order[k]].tag;
                if ((tag == 1 || other == 1) && tag != -1 && other != -1) {
                    marked = true;
                    tag = 1;
                }
            }
            plan.changes.push_back({static_cast<std::uint32_t>(s), tag, marked});
        }
        // The survivors in name order take the places of the order read so far.
        order[kept++] = static_cast<std::uint32_t>(s);
        g = end;
    }
    order.resize(kept);
    plan.survivorsByName = std::move(order);
    return plan;
}

// Keeps the surviving rows with their tags and markers, in their order or in the order of
// their map names, moving each row at most once.
void ApplyMerge(std::vector<form::GridRow>& rows, const MergePlan& plan, MergeOrder order) {
    for (const MergePlan::Change& change : plan.changes) {
        form::GridRow& row = rows[change.row];
        row.tag = change.tag;
        if (change.marked && (row.text.empty() || row.text.back() != '*')) row.text += '*';
    }
    if (order == MergeOrder::ByName) form::GatherRows(rows, plan.survivorsByName);
    else form::KeepRows(rows, plan.survives);
}

}  // namespace

void MergeAvailableDuplicates(form::Grid& MapDir, MergeOrder order) {
    const MergePlan plan = PlanMerge(MapDir.rows());
    // Nothing to merge and no new order: no row moves, and none is marked.
    if (plan.removed == 0 && order == MergeOrder::AsFound) return;
    MapDir.editRows([&](std::vector<form::GridRow>& rows) { ApplyMerge(rows, plan, order); });
}

}  // namespace tolvane::maps
