#include "check/Check.h"

#include "maps/MapsLstFormat.h"
#include "maps/PakFile.h"
#include "maps/PakFormat.h"
#include "maps/ZipListing.h"
#include "platform/Process.h"
#include "state/TextReaders.h"

namespace tolvane::check {

namespace {

// text in lower case, into out (which keeps its room from one name to the next).
void LowerInto(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out) c = LowerAscii(c);
}

void AddArchived(MapSources& sources, std::string_view map, std::string& lower) {
    LowerInto(map, lower);
    if (sources.wanted.count(lower)) sources.archived.insert(lower);
}

void AddArchiveEntry(MapSources& sources, std::string_view entry, std::string& lower) {
    if (auto map = maps::MapNameOfArchiveEntry(entry)) AddArchived(sources, *map, lower);
}

void ReadPak(const platform::FileSystem& fs, const std::string& path, MapSources& sources) {
    std::string directory;
    if (!maps::ReadPakDirectoryBytes(fs, path, directory)) return;
    std::string lower;
    for (const auto map : maps::PakMapNames(directory)) AddArchived(sources, map, lower);
}

void ReadArchivesOf(const platform::FileSystem& fs, const std::string& dir, MapSources& sources) {
    for (const auto& file : fs.list(dir + "\\*.pak", false)) ReadPak(fs, dir + "\\" + file, sources);
    for (const char* pattern : maps::kZipArchivePatterns) {
        for (const auto& file : fs.list(dir + "\\" + pattern, false)) {
            std::vector<std::string> names;
            if (!maps::ListZipEntries(fs.resolve(dir + "\\" + file), names)) continue;
            std::string lower;
            for (const auto& name : names) AddArchiveEntry(sources, name, lower);
        }
    }
}

// The file that holds a map's name as written ("ctf/flag" is "flag.bsp" in "maps\ctf").
std::pair<std::string, std::string> MapFileOf(const std::string& mapsDir, const std::string& map) {
    std::string path = mapsDir + "\\" + map;
    for (char& c : path)
        if (c == '/') c = '\\';
    const std::size_t cut = path.rfind('\\');
    return {path.substr(0, cut), path.substr(cut + 1) + ".bsp"};
}

// A script as the console's exec finds it: in the mod directory, then the base game's. Read
// without the whole-file read, which would remember a failure: the check only looks.
bool ReadScript(const platform::FileSystem& fs, const std::string& modDir, const std::string& script,
                std::string& content) {
    for (const std::string& dir : {modDir, std::string("baseq2")}) {
        const std::string path = dir + "\\" + script;
        if (!fs.isFile(path)) continue;
        // Far past what a server runs as a script (an archive named by mistake): not read.
        const auto size = fs.fileSize(path);
        if (!size || *size > 64 * kScriptSizeLimit) return false;
        return fs.readAt(path, 0, static_cast<std::size_t>(*size), content);
    }
    return false;
}

// The server information once the command line, the scripts to execute and the settings file
// have run, in that order.
ServerInfo ServerInfoOf(const platform::FileSystem& fs, const CheckInput& in,
                        const std::vector<std::string>& arguments) {
    ServerInfo info;
    std::set<std::string> flagged;
    for (std::size_t i = 0; i + 2 < arguments.size(); ++i)
        if (LowerCase(arguments[i]) == "+set" && arguments[i + 2].find_first_of(" \t") == std::string::npos)
            SetServerInfo(info, flagged, arguments[i + 1], arguments[i + 2], false);
    SetServerInfo(info, flagged, "game", "action", false);  // the program's own "+set game action"
    for (const auto& script : in.scripts) {
        if (LowerCase(script) == LowerCase(in.serverCfgFileName)) continue;
        std::string content;
        if (ReadScript(fs, in.modDir, script, content)) ApplyScriptServerInfo(info, flagged, content);
    }
    ApplyScriptServerInfo(info, flagged, in.serverCfg);
    return info;
}

}  // namespace

MapSources ReadMapSources(const platform::FileSystem& fs, const std::string& modDir,
                          const std::vector<std::string>& maps) {
    MapSources sources;
    for (const auto& map : maps) {
        if (map.empty()) continue;
        sources.wanted.insert(LowerCase(map));
        for (const std::string& mapsDir : {modDir + "\\maps", std::string("baseq2\\maps")}) {
            const auto [dir, fileName] = MapFileOf(mapsDir, map);
            sources.wantedFiles[LowerCase(dir)].insert(LowerCase(fileName));
        }
    }
    ReadArchivesOf(fs, modDir, sources);
    ReadArchivesOf(fs, "baseq2", sources);
    std::string content;
    std::string error;
    if (fs.readFile("baseq2\\maps.lst", content, error))
        for (const auto& line : SplitLines(content)) {
            const std::string name = maps::MapListLineName(line);
            if (!name.empty()) sources.listed.insert(LowerCase(name));
        }
    return sources;
}

MapPresence LocateMap(const platform::FileSystem& fs, const std::string& modDir, MapSources& sources,
                      const std::string& map) {
    MapPresence where;
    const std::string lower = LowerCase(map);
    where.archived = sources.archived.count(lower) > 0;
    where.listed = sources.listed.count(lower) > 0;
    for (const std::string& mapsDir : {modDir + "\\maps", std::string("baseq2\\maps")}) {
        const auto [dir, fileName] = MapFileOf(mapsDir, map);
        const std::string lowerDir = LowerCase(dir);
        // (No structured binding: clang 14 cannot capture one in the lambda below.)
        const auto emplaced = sources.looseFiles.try_emplace(lowerDir);
        auto& files = emplaced.first->second;
        if (emplaced.second) {
            const auto& wanted = sources.wantedFiles[lowerDir];
            std::string name;
            fs.listEach(dir + "\\*.bsp", false, [&](std::string_view entry) {
                LowerInto(entry, name);
                if (wanted.count(name)) files[name].emplace_back(entry);
            });
        }
        const auto named = files.find(LowerCase(fileName));
        if (named == files.end()) continue;
        for (const auto& found : named->second) {
            if (found == fileName) where.loose = true;
            else if (where.otherCaseFile.empty()) where.otherCaseFile = found;
        }
    }
    return where;
}

PlayerModels ReadPlayerModels(const platform::FileSystem& fs, const std::string& modDir) {
    PlayerModels models;
    for (const std::string& players : {std::string("baseq2\\players"), modDir + "\\players"}) {
        for (const auto& model : fs.list(players + "\\*", true)) {
            if (!fs.isDirectory(players + "\\" + model)) continue;
            auto& skins = models[LowerCase(model)];
            for (const auto& skin : fs.list(players + "\\" + model + "\\*.pcx", false))
                skins.insert(LowerCase(skin.substr(0, skin.size() - 4)));
        }
    }
    return models;
}

Findings RunChecks(const platform::FileSystem& fs, const CheckInput& in) {
    Findings out;
    const std::string cfg = in.modDir + "\\" + in.serverCfgFileName;
    const std::string ini = in.modDir + "\\" + in.actionIniFileName;

    // The server script: its names, its serverinfo values, its lines and size, its scripts.
    CheckConsoleWord(out, cfg, "file name", in.serverCfgFileName);
    CheckConsoleWord(out, ini, "file name", in.actionIniFileName);
    std::set<std::string> checkedElsewhere = {"hostname"};
    for (const auto& [control, value] : in.infoFields) CheckInfoValue(out, cfg, control, value, control);
    // The fields written as "set X Y s" lines are reported through their fields.
    for (const char* name : {"admin", "website", "e-mail", "location"}) checkedElsewhere.insert(name);
    CheckScriptLines(out, cfg, in.serverCfg, checkedElsewhere);
    CheckScriptSize(out, cfg, in.serverCfg.size());
    // exec looks through the mod directory, then the base game's.
    std::vector<std::string> available = fs.list(in.modDir + "\\*", false);
    for (const auto& name : fs.list("baseq2\\*", false)) available.push_back(name);
    // Split as the server's command line, whose first word is the program.
    std::vector<std::string> arguments = platform::SplitCommandLine("quake2.exe " + in.commandLine);
    if (!arguments.empty()) arguments.erase(arguments.begin());
    CheckServerInfoTotal(out, cfg, ServerInfoOf(fs, in, arguments));
    for (const auto& script : in.scripts) {
        if (script == in.serverCfgFileName) continue;  // the writer leaves it out
        if (LowerCase(script) == LowerCase(in.serverCfgFileName)) {
            CheckSelfExec(out, cfg, script, in.serverCfgFileName, "ScriptList");
            continue;
        }
        CheckConsoleWord(out, cfg, "exec " + script, script, "ScriptList");
        CheckExecTarget(out, cfg, script, available, "ScriptList");
    }

    // The teams and the rotation, read by the mod from action.ini.
    if (!in.teams.empty()) {
        const PlayerModels models = ReadPlayerModels(fs, in.modDir);
        for (const auto& team : in.teams) {
            CheckTeamName(out, ini, team.nameField, team.name, team.nameField);
            CheckTeamSkin(out, ini, team.skinField, team.skin, models, team.skinField);
        }
    }
    CheckRotationLength(out, ini, in.rotation.size());
    if (!in.rotation.empty()) {
        MapSources sources = ReadMapSources(fs, in.modDir, in.rotation);
        for (const auto& name : in.catalogue) sources.listed.insert(LowerCase(name));
        std::set<std::string> seen;
        for (const auto& map : in.rotation) {
            if (map.empty() || !seen.insert(map).second) continue;  // one finding per map
            const MapPresence where = LocateMap(fs, in.modDir, sources, map);
            CheckRotationMap(out, ini, map, where);
            CheckMapDownload(out, cfg, map, where, in.allowDownload, in.allowDownloadMaps);
        }
    }

    // The command line, kept with the configuration in the registry.
    CheckCommandLineSets(out, in.modDir + "\\tolvane.ini", arguments, in.serverCfgFileName);
    return out;
}

}  // namespace tolvane::check
