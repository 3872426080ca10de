#include "check/Rules.h"

#include <algorithm>

#include "state/TextReaders.h"

namespace tolvane::check {

namespace {

// The commands of one script line as the console reads them: split at ";" outside quotes,
// words parted by blanks and control characters, a quoted word running to the next quote
// (there are no escapes), and "//" outside quotes ending the line.
std::vector<std::vector<std::string>> ConsoleCommands(const std::string& line) {
    std::vector<std::vector<std::string>> commands(1);
    std::size_t i = 0;
    while (i < line.size()) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c <= ' ') {
            ++i;
        } else if (c == ';') {
            commands.emplace_back();
            ++i;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            break;
        } else if (c == '"') {
            const std::size_t end = line.find('"', i + 1);
            commands.back().push_back(line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
            i = end == std::string::npos ? line.size() : end + 1;
        } else {
            const std::size_t start = i;
            while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ' && line[i] != ';' && line[i] != '"')
                ++i;
            commands.back().push_back(line.substr(start, i - start));
        }
    }
    return commands;
}

// The value a serverinfo variable cannot take: the engines refuse it or leave it out.
bool RefusedInfoValue(const std::string& value) {
    return value.size() >= kInfoValueLimit || value.find_first_of("\\\";") != std::string::npos;
}

bool HasConsoleSeparator(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == ';' || c == '"';
    });
}

}  // namespace

void CheckInfoValue(Findings& out, const std::string& file, const std::string& field, const std::string& value,
                    const std::string& control) {
    if (value.size() >= kInfoValueLimit)
        out.push_back({file, field,
                       "the value is " + std::to_string(value.size()) +
                           " characters long; servers drop or refuse a server information value of 64 or more. "
                           "Shorten it to at most 63 characters.",
                       control});
    if (value.find_first_of("\\\";") != std::string::npos)
        out.push_back({file, field,
                       "the value holds a backslash, a double quote or a semicolon, which servers refuse in server "
                       "information: the setting is not applied. Remove those characters.",
                       control});
}

void CheckScriptLines(Findings& out, const std::string& file, const std::string& content,
                      const std::set<std::string>& checkedElsewhere) {
    const std::vector<std::string> lines = SplitLines(content);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = "line " + std::to_string(n + 1);
        if (line.size() >= kScriptLineLimit)
            out.push_back({file, where,
                           "the line is " + std::to_string(line.size()) +
                               " bytes long; servers cut or drop a line of 1024 bytes or more. Split it into "
                               "shorter lines.",
                           {}});
        for (const auto& words : ConsoleCommands(line)) {
            if (words.size() != 4 || LowerCase(words[0]) != "set" || words[3] != "s") continue;
            if (checkedElsewhere.count(LowerCase(words[1]))) continue;
            CheckInfoValue(out, file, where + " (" + words[1] + ")", words[2]);
        }
    }
}

bool IsServerInfoVariable(const std::string& name) {
    // The engines' own (the host name, limits, game flags, game and map, protocol and version)
    // and the mod's.
    static const std::set<std::string> names = {
        "cheats", "dmflags", "fraglimit", "game", "hostname", "mapname", "maxclients", "protocol",
        "timelimit", "version",
        "actionversion", "allitem", "allweapon", "capturelimit", "ctf", "gamedate", "gamename", "items",
        "matchmode", "needpass", "roundlimit", "roundtimelimit", "t1", "t2", "t3", "teamplay", "tgren",
        "use_3teams", "use_classic", "use_tourney", "weapons",
    };
    return names.count(name) > 0;
}

void SetServerInfo(ServerInfo& info, std::set<std::string>& flagged, const std::string& name,
                   const std::string& value, bool serverInfoFlag) {
    if (name.empty() || RefusedInfoValue(name)) return;
    if (serverInfoFlag) flagged.insert(name);
    if (!flagged.count(name) && !IsServerInfoVariable(name)) return;
    if (RefusedInfoValue(value)) return;
    if (value.empty()) info.erase(name);
    else info[name] = value;
}

void ApplyScriptServerInfo(ServerInfo& info, std::set<std::string>& flagged, const std::string& content) {
    for (const std::string& line : SplitLines(content)) {
        for (const auto& words : ConsoleCommands(line)) {
            if (words.size() < 2) continue;
            const std::string command = LowerCase(words[0]);
            if (command == "set") {
                // Three words set the value; a fourth may only be a flag, "s" for server information.
                if (words.size() == 3) {
                    SetServerInfo(info, flagged, words[1], words[2], false);
                } else if (words.size() == 4 && words[3] == "s") {
                    SetServerInfo(info, flagged, words[1], words[2], true);
                } else if (words.size() == 4 && words[3] == "u") {
                    // A user information variable now; only the variables the server registers
                    // as server information get that flag back.
                    flagged.erase(words[1]);
                    if (!IsServerInfoVariable(words[1])) info.erase(words[1]);
                    else SetServerInfo(info, flagged, words[1], words[2], false);
                }
            } else if (command == "map") {
                SetServerInfo(info, flagged, "mapname", words[1], false);
            } else if (IsServerInfoVariable(words[0])) {
                SetServerInfo(info, flagged, words[0], words[1], false);
            }
        }
    }
}

void CheckServerInfoTotal(Findings& out, const std::string& file, const ServerInfo& info) {
    std::size_t kept = 0;
    std::size_t total = 0;
    std::string dropped;
    for (const auto& [key, value] : info) {
        const std::size_t pair = key.size() + value.size() + 2;  // "\key\value"
        total += pair;
        if (kept + pair >= kInfoStringLimit) dropped += (dropped.empty() ? "" : ", ") + key;
        else kept += pair;
    }
    if (dropped.empty()) return;
    out.push_back({file, "server information",
                   "the server information (every serverinfo setting as \\key\\value) comes to " +
                       std::to_string(total) +
                       " bytes; servers keep it under 512 bytes, print \"Info string length exceeded\" and drop " +
                       dropped +
                       ". Shorten the host name and the other server information values, or drop the \"s\" "
                       "from set lines that browsers need not show.",
                   {}});
}

void CheckCommandLineSets(Findings& out, const std::string& file, const std::vector<std::string>& arguments,
                          const std::string& serverCfg) {
    for (std::size_t i = 0; i + 2 < arguments.size(); ++i) {
        if (LowerCase(arguments[i]) != "+set") continue;
        const std::string& name = arguments[i + 1];
        const std::string& value = arguments[i + 2];
        if (value.find_first_of(" \t") == std::string::npos) continue;
        out.push_back({file, "Command Line Options",
                       "\"+set " + name + " " + value +
                           "\": a value holding a blank works on one engine only; yquake2 joins the words again, "
                           "prints \"usage: set <variable> <value> [u / s]\" and never sets " + name +
                           ". Set it in " + serverCfg + " instead (set " + name + " \"" + value + "\").",
                       "CommandLine"});
    }
}

void CheckSelfExec(Findings& out, const std::string& file, const std::string& script,
                   const std::string& serverCfgFileName, const std::string& control) {
    if (script == serverCfgFileName || LowerCase(script) != LowerCase(serverCfgFileName)) return;
    out.push_back({file, "exec " + script,
                   "this is the server settings file itself in another letter case: where file names ignore "
                   "case the server runs it again from within itself, over and over. Remove it from the "
                   "scripts to execute.",
                   control});
}

void CheckScriptSize(Findings& out, const std::string& file, std::size_t size) {
    if (size <= kScriptSizeLimit) return;
    out.push_back({file, "size",
                   "the file is " + std::to_string(size) +
                       " bytes; some servers ignore a script larger than 32768 bytes entirely. Move settings into "
                       "a script of their own on the Scripts tab.",
                   {}});
}

void CheckConsoleWord(Findings& out, const std::string& file, const std::string& field, const std::string& word,
                      const std::string& control) {
    if (!HasConsoleSeparator(word)) return;
    out.push_back({file, field,
                   "\"" + word +
                       "\" holds a blank, a semicolon or a double quote: the server's console splits the name there "
                       "and reads another file or command. Rename the file without them.",
                   control});
}

void CheckExecTarget(Findings& out, const std::string& file, const std::string& script,
                     const std::vector<std::string>& scripts, const std::string& control) {
    const std::string wanted = LowerCase(script);
    const bool found =
        std::any_of(scripts.begin(), scripts.end(), [&](const std::string& s) { return LowerCase(s) == wanted; });
    if (found) return;
    out.push_back({file, "exec " + script,
                   "no such script in the mod directory: the server says it cannot find it and runs nothing. "
                   "Create the script or remove it from the scripts to execute.",
                   control});
}

void CheckTeamName(Findings& out, const std::string& file, const std::string& field, const std::string& name,
                   const std::string& control) {
    if (name.size() <= kTeamNameLimit) return;
    out.push_back({file, field,
                   "the team name is " + std::to_string(name.size()) +
                       " characters long; the mod cuts it to \"" + name.substr(0, kTeamNameLimit) +
                       "\". Shorten it to at most 23 characters.",
                   control});
}

void CheckTeamSkin(Findings& out, const std::string& file, const std::string& field, const std::string& skin,
                   const PlayerModels& models, const std::string& control) {
    if (skin.empty()) return;
    if (skin.size() > kTeamSkinLimit)
        out.push_back({file, field,
                       "\"" + skin + "\" is " + std::to_string(skin.size()) +
                           " characters long; the mod cuts it to 31 and players see another skin. Use shorter "
                           "model and skin names.",
                       control});
    const std::size_t slash = skin.find('/');
    const std::string model = LowerCase(skin.substr(0, slash));
    const auto found = models.find(model);
    if (found == models.end()) {
        out.push_back({file, field,
                       "no players directory holds the model \"" + skin.substr(0, slash) +
                           "\": players see a default model. Install the model under players or pick another.",
                       control});
        return;
    }
    const std::string skinName = slash == std::string::npos ? std::string() : LowerCase(skin.substr(slash + 1));
    // No skin chosen (the model offered none): nothing to look for.
    if (!skinName.empty() && !found->second.count(skinName))
        out.push_back({file, field,
                       "the model \"" + skin.substr(0, slash) + "\" has no skin \"" +
                           (slash == std::string::npos ? std::string() : skin.substr(slash + 1)) +
                           "\": players see a default skin. Install the skin or pick one the model has.",
                       control});
}

void CheckRotationLength(Findings& out, const std::string& file, std::size_t maps) {
    if (maps <= kRotationLimit) return;
    out.push_back({file, "MapIni",
                   "the rotation holds " + std::to_string(maps) +
                       " maps; the mod keeps 1000 and overwrites its own memory past that. Remove maps until "
                       "at most 1000 are left.",
                   "MapIni"});
}

void CheckRotationMap(Findings& out, const std::string& file, const std::string& map, const MapPresence& where) {
    if (where.loose || where.archived) return;
    if (!where.otherCaseFile.empty()) {
        out.push_back({file, "MapIni",
                       "the map " + map + " exists only as " + where.otherCaseFile +
                           "; a server on a case-sensitive system cannot load it. Rename the file to " + map +
                           ".bsp or the rotation entry to the file's name.",
                       "MapIni"});
        return;
    }
    if (where.listed) return;
    out.push_back({file, "MapIni",
                   "the map " + map +
                       " is found nowhere (no map file, no archive, no map list): when the rotation reaches it "
                       "the server cannot load it and stops. Install the map or remove it from the rotation.",
                   "MapIni"});
}

void CheckMapDownload(Findings& out, const std::string& file, const std::string& map, const MapPresence& where,
                      bool allowDownload, bool allowDownloadMaps) {
    if (!where.loose || where.archived || (allowDownload && allowDownloadMaps)) return;
    const std::string control = allowDownload ? "AllowDownloadMaps" : "AllowDownload";
    out.push_back({file, control,
                   "the rotation map " + map +
                       " exists only as a loose map file and downloading is off: players who lack it cannot "
                       "join. Allow downloading or ship the map in an archive.",
                   control});
}

}  // namespace tolvane::check
