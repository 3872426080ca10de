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

void ScanBspFiles(const Context& ctx, MapFields& maps, const std::string& dir) {
    ctx.progress.show("Processing " + dir + "\\*.bsp...");
    // The order of the files does not matter: each map name is one row whatever its place.
    const auto files = ctx.fs.list(dir + "\\*.bsp", false, platform::FileSystem::Order::Unsorted);
    const RowLookup rotation(maps.MapIni.rows());
    IndexedRows available(maps.MapDir.rows(), files.size());
    for (const auto& file : files) {
        std::string name = LowerCase(std::string(file, 0, file.find('.')));
        // A file called ".bsp" names no map.
        if (name.empty() || rotation.find(name) >= 0) continue;
        // A map found in both map directories keeps the one row, unmarked.
        if (const int row = available.findOrAppend(std::move(name), 0); row >= 0 && available.row(row).tag != 0)
            available.setTag(row, 0);
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
    std::vector<std::string> names;
    for (const auto& line : SplitLines(content)) names.push_back(MapListLineName(line));
    std::vector<form::GridRow> added;
    for (auto& name : NamesNotListed(names, {&maps.MapIni, &maps.MapDir})) added.push_back({std::move(name), -1});
    maps.MapDir.appendRows(std::move(added));
}

namespace {

// The rotation and the maps found while the archives are read. MapDir is not looked at during
// the scan (duplicates are merged afterwards), so its new rows are only collected.
struct ArchiveScan {
    explicit ArchiveScan(const form::Grid& MapIni) : rotation(MapIni.rows()) {}
    IndexedRows rotation;
    std::vector<form::GridRow> found;

    void add(std::string_view entryName) {
        const auto map = MapNameViewOfArchiveEntry(entryName);
        if (!map) return;
        const int row = rotation.find(*map);
        if (row < 0) {
            found.push_back({std::string(*map), 1});
        } else if (rotation.row(row).tag == 0) {
            // A rotation map found as a loose file and now in an archive as well.
            rotation.setTag(row, 1);
            rotation.setText(row, rotation.row(row).text + "*");
        }
    }

    void commit(MapFields& maps) {
        if (rotation.changed()) maps.MapIni.setRows(rotation.take());
        maps.MapDir.appendRows(std::move(found));
        found.clear();
    }
};

bool IsPakName(const std::string& path) {
    const std::string lower = LowerCase(path);
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".pak") == 0;
}

void ReadArchive(const Context& ctx, ArchiveScan& scan, const std::string& path, const std::filesystem::path& hostPath) {
    ctx.progress.show("Scanning " + path + "...");
    if (IsPakName(path)) {
        std::string directory;
        if (!ReadPakDirectoryBytes(hostPath, directory)) return;
        for (const auto name : PakEntryNames(directory)) scan.add(name);
        return;
    }
    // The zip kinds: a file libzip cannot read as an archive holds no maps.
    std::vector<std::string> names;
    if (!ListZipEntries(hostPath, names)) return;
    for (const auto& name : names) scan.add(name);
}

void ScanDirectory(const Context& ctx, ArchiveScan& scan, const std::string& dir, bool skipStockArchive) {
    // One listing serves every archive kind: the PAK archives first, then each zip kind, each in
    // listing order. The folder is found once; each archive is a name in it.
    const auto files = ctx.fs.list(dir + "\\*", false);
    const std::filesystem::path hostDir = ctx.fs.resolve(dir);
    const std::string pakPattern = "*.pak";
    for (const auto& file : files) {
        if (!platform::WildcardMatch(pakPattern, file)) continue;
        if (skipStockArchive && LowerCase(file) == "pak0.pak") continue;
        ReadArchive(ctx, scan, dir + "\\" + file, hostDir / file);
    }
    for (const std::string pattern : kZipArchivePatterns)
        for (const auto& file : files)
            if (platform::WildcardMatch(pattern, file)) ReadArchive(ctx, scan, dir + "\\" + file, hostDir / file);
}

}  // namespace

// An archive's kind follows its extension: ".pak" is read as a PAK directory, the zip kinds
// through libzip.
void ReadPakDirectory(const Context& ctx, MapFields& maps, const std::string& path) {
    ArchiveScan scan(maps.MapIni);
    ReadArchive(ctx, scan, path, ctx.fs.resolve(path));
    scan.commit(maps);
}

void ScanPakArchives(const Context& ctx, MapFields& maps) {
    ArchiveScan scan(maps.MapIni);
    if (DirExistsConst(ctx.fs, ctx.state.strModDir)) ScanDirectory(ctx, scan, ctx.state.strModDir, false);
    // The base game's first archive holds the stock maps and is not opened.
    if (DirExistsConst(ctx.fs, "baseq2")) ScanDirectory(ctx, scan, "baseq2", true);
    scan.commit(maps);
    ctx.progress.hide();
}

std::vector<form::GridRow> MergeDuplicateRows(const std::vector<form::GridRow>& rows, bool remove,
                                              std::vector<std::string>* reports, std::vector<std::uint32_t>* nameOrder) {
    if (!remove) {
        // Every pair is reported: rows from the last up, each with the rows before it in order.
        std::unordered_map<std::string_view, std::vector<std::size_t>> rowsOf;
        rowsOf.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) rowsOf[MapKey(rows[i].text)].push_back(i);
        for (std::size_t n = rows.size(); n-- > 1;) {
            for (std::size_t j : rowsOf[MapKey(rows[n].text)]) {
                if (j >= n) break;
                if (reports) reports->push_back("Duplicates of " + rows[n].text + " found!");
            }
        }
        return rows;
    }
    // Of each map the last row survives. Compared from the last row up, it meets the earlier
    // rows of its map first to last, and each meeting may mark it. The rows are grouped by map
    // name (each group in row order) and that sequence runs within each group.
    std::vector<std::string_view> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows) keys.push_back(MapKey(row.text));
    std::vector<bool> sameMap;
    const std::vector<std::uint32_t> order = StableByteOrder(keys, &sameMap);
    std::vector<bool> survives(rows.size(), false);
    // The tags apart from the rows: the groups visit rows all over a list of megabytes, and a
    // small array of tags keeps those visits in the cache.
    std::vector<std::int32_t> given(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) given[i] = rows[i].tag;
    std::vector<std::int32_t> tags(rows.size());
    std::vector<bool> marked(rows.size(), false);
    for (std::size_t g = 0; g < order.size();) {
        std::size_t end = g + 1;
        while (end < order.size() && sameMap[end]) ++end;
        const std::size_t s = order[end - 1];
        survives[s] = true;
        std::int32_t tag = given[s];
        for (std::size_t k = g; k + 1 < end; ++k) {
            const std::int32_t other = given[order[k]];
            if ((tag == 1 || other == 1) && tag != -1 && other != -1) {
                marked[s] = true;
                tag = 1;
            }
        }
        tags[s] = tag;
        g = end;
    }
    // The survivors, in their rows' order.
    std::vector<form::GridRow> out;
    out.reserve(rows.size());
    std::vector<std::uint32_t> placeOf(nameOrder ? rows.size() : 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!survives[i]) continue;
        if (nameOrder) placeOf[i] = static_cast<std::uint32_t>(out.size());
        out.push_back({rows[i].text, tags[i]});
        if (marked[i] && (out.back().text.empty() || out.back().text.back() != '*')) out.back().text += '*';
    }
    if (nameOrder) {
        // Each map's survivor is the last of its group in the name order.
        nameOrder->clear();
        nameOrder->reserve(out.size());
        for (std::size_t k = 0; k < order.size(); ++k)
            if (k + 1 == order.size() || !sameMap[k + 1]) nameOrder->push_back(placeOf[order[k]]);
    }
    return out;
}

void MergeAvailableDuplicates(const Context& ctx, form::Grid& MapDir, bool remove,
                              std::vector<std::uint32_t>* nameOrder) {
    std::vector<std::string> reports;
    auto merged = MergeDuplicateRows(MapDir.rows(), remove, &reports, nameOrder);
    for (const auto& text : reports) ctx.message(text);
    if (remove && merged.size() != static_cast<std::size_t>(MapDir.rowCount())) MapDir.setRows(std::move(merged));
}

}  // namespace tolvane::maps
