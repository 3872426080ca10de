#pragma once
// The rules of the check, one small function each, over plain values: what the engines and the
// mod would cut, drop or refuse in the files the editor writes. Each rule appends its findings
// to `out`; `file` is the file the value ends up in.
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/Finding.h"

namespace tolvane::check {

// The limits of the consumers.
inline constexpr std::size_t kInfoValueLimit = 64;        // a serverinfo value must be shorter
inline constexpr std::size_t kScriptLineLimit = 1024;     // a script line must be shorter
inline constexpr std::size_t kScriptSizeLimit = 32768;    // a script may not be larger
inline constexpr std::size_t kRotationLimit = 1000;       // maps the mod keeps
inline constexpr std::size_t kTeamNameLimit = 23;         // characters of a team name the mod keeps
inline constexpr std::size_t kTeamSkinLimit = 31;         // characters of "model/skin" the mod keeps
inline constexpr std::size_t kInfoStringLimit = 512;      // the whole server information must be shorter

// A serverinfo value (host name, admin name, ..., any "set X Y s"): 64 characters or more, or
// holding a backslash, a double quote or a semicolon.
void CheckInfoValue(Findings& out, const std::string& file, const std::string& field, const std::string& value,
                    const std::string& control = {});

// The lines of a server script as it would be written: a line of 1024 bytes or more, and the
// value of each "set X Y s" line whose variable is not in `checkedElsewhere` (lower case; those
// are checked through their fields).
void CheckScriptLines(Findings& out, const std::string& file, const std::string& content,
                      const std::set<std::string>& checkedElsewhere);

// The serverinfo variables as the server will hold them: name (as written, letter case counts)
// and value. Kept in name order, the order in which the engines build the server information.
using ServerInfo = std::map<std::string, std::string>;

// True for the variables the engines and the mod register as server information (hostname,
// maxclients, timelimit, fraglimit, teamplay, ...); names compared exactly.
bool IsServerInfoVariable(const std::string& name);

// Applies one assignment as the console would: a value the server refuses in server information
// (64 characters or more, or holding a backslash, a double quote or a semicolon) changes
// nothing; flagged (a "set X Y s" line) makes any variable server information. An empty value
// leaves the key out.
void SetServerInfo(ServerInfo& info, std::set<std::string>& flagged, const std::string& name,
                   const std::string& value, bool serverInfoFlag);

// Applies the assignments of a script's lines in order: "set X Y", "set X Y s", "X Y" for a
// serverinfo variable, and "map NAME" (the map name is server information too).
void ApplyScriptServerInfo(ServerInfo& info, std::set<std::string>& flagged, const std::string& content);

// The server information reaching 512 bytes: the engines build it key by key in name order as
// "\key\value" pairs and drop each pair that would make it 512 bytes or more.
void CheckServerInfoTotal(Findings& out, const std::string& file, const ServerInfo& info);

// A "+set NAME VALUE" among the command line's arguments whose value holds a blank: one engine
// joins the arguments again and refuses the set. `serverCfg` names the file to use instead.
void CheckCommandLineSets(Findings& out, const std::string& file, const std::vector<std::string>& arguments,
                          const std::string& serverCfg);

// A script to execute that is the server settings file itself in another letter case.
void CheckSelfExec(Findings& out, const std::string& file, const std::string& script,
                   const std::string& serverCfgFileName, const std::string& control = {});

// A server script larger than 32 KiB.
void CheckScriptSize(Findings& out, const std::string& file, std::size_t size);

// A file name the console would split: a blank, a semicolon or a double quote in it.
void CheckConsoleWord(Findings& out, const std::string& file, const std::string& field, const std::string& word,
                      const std::string& control = {});

// An "exec" of a script that none of `scripts` (the file names the server can run, any case)
// names.
void CheckExecTarget(Findings& out, const std::string& file, const std::string& script,
                     const std::vector<std::string>& scripts, const std::string& control = {});

// The player models of the players directories: each model's name (lower case) with the names
// of its skins (lower case, without ".pcx").
using PlayerModels = std::map<std::string, std::set<std::string>>;

// A team name longer than 23 characters.
void CheckTeamName(Findings& out, const std::string& file, const std::string& field, const std::string& name,
                   const std::string& control = {});
// A team's "model/skin" longer than 31 characters, or one that no players directory holds.
// Models and skins are matched ignoring case, as the program looks paths up everywhere else.
void CheckTeamSkin(Findings& out, const std::string& file, const std::string& field, const std::string& skin,
                   const PlayerModels& models, const std::string& control = {});

// A rotation of more than 1000 maps.
void CheckRotationLength(Findings& out, const std::string& file, std::size_t maps);

// Where one map of the rotation is found.
struct MapPresence {
    bool loose = false;         // a map file named exactly "<map>.bsp" in a map directory
    std::string otherCaseFile;  // a map file whose name matches only ignoring case, as found
    bool archived = false;      // an entry of a game archive
    bool listed = false;        // a map list names it
};

// A rotation map found nowhere, or whose map file exists only in another letter case.
void CheckRotationMap(Findings& out, const std::string& file, const std::string& map, const MapPresence& where);

// Downloading switched off while a rotation map exists only as a loose file.
void CheckMapDownload(Findings& out, const std::string& file, const std::string& map, const MapPresence& where,
                      bool allowDownload, bool allowDownloadMaps);

}  // namespace tolvane::check
