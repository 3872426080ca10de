#pragma once
// The check before start: the configuration as it would be saved, looked at the way the game
// server will read it. RunChecks gathers what the rules need from the Quake 2 directory (map
// files, archives, map lists, scripts, player models) and runs every rule.
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "check/Finding.h"
#include "check/Rules.h"
#include "platform/FileSystem.h"

namespace tolvane::check {

// One team as the mod will read it; the field names are the controls that show each value.
struct TeamEntry {
    std::string nameField;
    std::string name;
    std::string skinField;
    std::string skin;  // "model/skin"
};

struct CheckInput {
    std::string modDir = "action";
    std::string serverCfgFileName = "server.cfg";
    std::string actionIniFileName = "action.ini";
    std::string serverCfg;  // the bytes a save would write
    std::string commandLine;  // the configuration's command-line text, before the program's own
    // The serverinfo fields: control name and value.
    std::vector<std::pair<std::string, std::string>> infoFields;
    std::vector<std::string> scripts;    // the scripts to execute, in order
    std::vector<std::string> rotation;   // the rotation's map names
    std::vector<std::string> catalogue;  // the map names of the mod's map list
    std::vector<TeamEntry> teams;
    bool allowDownload = true;
    bool allowDownloadMaps = true;
};

// The map sources of a Quake 2 directory: map names of every archive of the mod directory and
// of baseq2 (the stock archive included: the server loads its maps), and of baseq2's map list.
struct MapSources {
    // The maps asked about, in lower case: only their names are kept from the archives and map
    // directories read, so a check on a huge install costs its listings, not a copy of them.
    std::unordered_set<std::string> wanted;
    std::unordered_set<std::string> archived;  // lower case
    std::unordered_set<std::string> listed;    // lower case
    // The .bsp files each map directory needs looked at (lower case), and those found there,
    // by lower-case name, as named on disk: each directory is listed once.
    std::unordered_map<std::string, std::unordered_set<std::string>> wantedFiles;
    std::unordered_map<std::string, std::unordered_map<std::string, std::vector<std::string>>> looseFiles;
};
// The sources of the maps named (any case; a map named twice is looked for once).
MapSources ReadMapSources(const platform::FileSystem& fs, const std::string& modDir,
                          const std::vector<std::string>& maps);

// Where one map is found, looking at the map files of the mod's and the base game's map
// directories as they are named on disk. The map must be one that sources was read for.
MapPresence LocateMap(const platform::FileSystem& fs, const std::string& modDir, MapSources& sources,
                      const std::string& map);

// The models and skins of baseq2\players and of the mod's players directory.
PlayerModels ReadPlayerModels(const platform::FileSystem& fs, const std::string& modDir);

// Every rule over the input; findings in file order (server script, action.ini, then the
// command line kept in tolvane.ini), then by rule.
Findings RunChecks(const platform::FileSystem& fs, const CheckInput& input);

}  // namespace tolvane::check
