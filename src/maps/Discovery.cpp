#include "maps/Discovery.h"

#include <fstream>
#include <string_view>
#include <unordered_map>

#include "maps/MapIndex.h"
#include "maps/MapsLstFormat.h"
#include "maps/PakFormat.h"
#include "maps/ZipListing.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::maps {

void ScanBspFiles(const Context& ctx, MapFields& maps, const std::string& dir) {
    ctx.progress.show("Processing " + dir + "\\*.bsp...");
    const IndexedRows rotation(maps.MapIni.rows());
    IndexedRows available(maps.MapDir.rows());
    for (const auto& file : ctx.fs.list(dir + "\\*.bsp", false)) {
        std::string name = LowerCase(file.substr(0, file.find('.')));
        // A file called ".bsp" names no map.
        if (name.empty() || rotation.find(name) >= 0) continue;
        const int row = available.find(name);
        // A map found in both map directories keeps the one row, unmarked.
        if (row >= 0) available.setTag(row, 0);
        else available.append(std::move(name), 0);
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
    const IndexedRows rotation(maps.MapIni.rows());
    IndexedRows available(maps.MapDir.rows());
    // Only the names matter here: each line's first word (a line without a blank is all name).
    for (const auto& line : SplitLines(content)) {
        std::string name = MapListLineName(line);
        if (name.empty() || rotation.find(name) >= 0 || available.find(name) >= 0) continue;
        available.append(std::move(name), -1);
    }
    if (available.changed()) maps.MapDir.setRows(available.take());
}

namespace {

// The rotation and the maps found while the archives are read. MapDir is not looked at during
// the scan (duplicates are merged afterwards), so its new rows are only collected.
struct ArchiveScan {
    explicit ArchiveScan(const form::Grid& MapIni) : rotation(MapIni.rows()) {}
    IndexedRows rotation;
    std::vector<form::GridRow> found;

    void add(std::string_view entryName) {
        auto map = MapNameOfArchiveEntry(entryName);
        if (!map) return;
        const int row = rotation.find(*map);
        if (row < 0) {
            found.push_back({std::move(*map), 1});
        } else if (rotation.row(row).tag == 0) {
            // A rotation map found as a loose file and now in an archive as well.
            rotation.setTag(row, 1);
            rotation.setText(row, rotation.row(row).text + "*");
        }
    }

    void commit(MapFields& maps) {
        if (rotation.changed()) maps.MapIni.setRows(rotation.take());
        if (found.empty()) return;
        std::vector<form::GridRow> rows = maps.MapDir.rows();
        rows.insert(rows.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
        found.clear();
        maps.MapDir.setRows(std::move(rows));
    }
};

bool IsPakName(const std::string& path) {
    const std::string lower = LowerCase(path);
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".pak") == 0;
}

// Reads only the header and the directory of a PAK archive, never its file data, through one
// opening of the file.
void ReadPakArchive(const platform::FileSystem& fs, const std::string& path, ArchiveScan& scan) {
    std::ifstream in(fs.resolve(path), std::ios::binary);
    if (!in.seekg(0, std::ios::end)) return;
    const std::streamoff size = in.tellg();
    char header[kPakHeaderSize];
    if (size < 0 || !in.seekg(0) || !in.read(header, sizeof header)) return;
    const auto span = LocatePakDirectory(std::string_view(header, sizeof header), static_cast<std::uint64_t>(size));
    if (!span) return;
    std::string directory(static_cast<std::size_t>(span->length), '\0');
    if (!in.seekg(static_cast<std::streamoff>(span->offset)) || !in.read(directory.data(), static_cast<std::streamsize>(directory.size())))
        return;
    for (const auto name : PakEntryNames(directory)) scan.add(name);
}

void ReadArchive(const Context& ctx, ArchiveScan& scan, const std::string& path) {
    ctx.progress.show("Scanning " + path + "...");
    if (IsPakName(path)) {
        ReadPakArchive(ctx.fs, path, scan);
        return;
    }
    // The zip kinds: a file libzip cannot read as an archive holds no maps.
    std::vector<std::string> names;
    if (!ListZipEntries(ctx.fs.resolve(path), names)) return;
    for (const auto& name : names) scan.add(name);
}

void ScanDirectory(const Context& ctx, ArchiveScan& scan, const std::string& dir, bool skipStockArchive) {
    for (const auto& file : ctx.fs.list(dir + "\\*.pak", false)) {
        if (skipStockArchive && LowerCase(file) == "pak0.pak") continue;
        ReadArchive(ctx, scan, dir + "\\" + file);
    }
    for (const char* pattern : kZipArchivePatterns)
        for (const auto& file : ctx.fs.list(dir + "\\" + pattern, false)) ReadArchive(ctx, scan, dir + "\\" + file);
}

}  // namespace

// An archive's kind follows its extension: ".pak" is read as a PAK directory, the zip kinds
// through libzip.
void ReadPakDirectory(const Context& ctx, MapFields& maps, const std::string& path) {
    ArchiveScan scan(maps.MapIni);
    ReadArchive(ctx, scan, path);
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
                                              std::vector<std::string>* reports) {
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
    // rows of its map first to last, and each meeting may mark it: the same sequence runs here
    // as one pass from the top.
    NameTable firstRowOf;
    firstRowOf.reserve(rows.size());
    std::vector<std::size_t> firstOf(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        firstOf[i] = static_cast<std::size_t>(firstRowOf.insert(MapKey(rows[i].text), static_cast<int>(i), rows));
    // The last row of each map, found going backwards.
    std::vector<std::size_t> lastOf(rows.size());
    {
        std::vector<std::size_t> seen(rows.size(), rows.size());
        for (std::size_t i = rows.size(); i-- > 0;) {
            std::size_t& last = seen[firstOf[i]];
            if (last == rows.size()) last = i;
            lastOf[i] = last;
        }
    }
    // The survivors' tags and markers as the earlier rows meet them, then the survivors alone.
    std::vector<std::int32_t> tags(rows.size());
    std::vector<bool> marked(rows.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) tags[i] = rows[i].tag;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t s = lastOf[i];
        if (s == i) continue;
        const std::int32_t other = rows[i].tag;
        if ((tags[s] == 1 || other == 1) && tags[s] != -1 && other != -1) {
            marked[s] = true;
            tags[s] = 1;
        }
    }
    std::vector<form::GridRow> out;
    out.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (lastOf[i] != i) continue;
        out.push_back({rows[i].text, tags[i]});
        if (marked[i] && (out.back().text.empty() || out.back().text.back() != '*')) out.back().text += '*';
    }
    return out;
}

void MergeAvailableDuplicates(const Context& ctx, form::Grid& MapDir, bool remove) {
    std::vector<std::string> reports;
    auto merged = MergeDuplicateRows(MapDir.rows(), remove, &reports);
    for (const auto& text : reports) ctx.message(text);
    if (remove && merged.size() != static_cast<std::size_t>(MapDir.rowCount())) MapDir.setRows(std::move(merged));
}

}  // namespace tolvane::maps
