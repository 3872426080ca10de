#include "settings/ServerCfgWriter.h"

#include <algorithm>
#include <optional>

#include "settings/Dmflags.h"
#include "settings/NumericCoupling.h"
#include "settings/ServerCfgReader.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::settings {

namespace {

std::string SetLineText(const std::string& name, const std::string& value) {
    return "set " + name + " " + (IsNumber(value) ? value : std::string("0"));
}

std::string Value(const form::CheckBox& box) { return std::to_string(box.value()); }
std::string Inverted(const form::CheckBox& box) { return std::to_string(1 - box.value()); }

// A text field written as a serverinfo string: in double quotes with the "s" flag, and only
// when it holds something.
std::optional<std::string> InfoLine(const std::string& name, const form::TextBox& box) {
    if (box.text().empty()) return std::nullopt;
    return "set " + name + " \"" + box.text() + "\" s";
}

// The current line of an owned variable; nothing when its condition fails.
std::optional<std::string> OwnedLine(const ServerFields& f, const std::string& name) {
    if (name == "hostname") return "hostname \"" + f.HostName.text() + "\"";
    if (name == "rcon_password") {
        // An empty password is written as an empty value, which switches the remote console
        // off; the word "none" would be taken by the game as the password "none".
        return "rcon_password " + (f.Password.text().empty() ? std::string("\"\"") : f.Password.text());
    }
    if (name == "fraglimit") return SetLineText(name, f.FragLimit.text());
    if (name == "timelimit") return SetLineText(name, f.TimeLimit.text());
    if (name == "maxclients") return SetLineText(name, f.MaxClients.text());
    if (name == "public") return SetLineText(name, Value(f.PublicServer));
    if (name == "actionmaps") return SetLineText(name, Value(f.RotateMaps));
    if (name == "timeout") return SetLineText(name, f.TimeOut.text());
    if (name == "motd_time") return SetLineText(name, f.TimeMOTD.text());
    if (name == "skipmotd") return SetLineText(name, Value(f.SkipMOTD));
    if (name == "weapons") return SetLineText(name, f.MaxWeapons.text());
    if (name == "items") return SetLineText(name, f.MaxItems.text());
    if (name == "ir") return SetLineText(name, Value(f.Infrared));
    if (name == "radiolog") return SetLineText(name, Value(f.RadioLog));
    if (name == "splatlimit") return SetLineText(name, f.SplatLimit.text());
    if (name == "bholelimit") return SetLineText(name, f.BHoleLimit.text());
    if (name == "shelloff") return SetLineText(name, Inverted(f.Shells));
    if (name == "knifelimit") return SetLineText(name, f.KnifeLimit.text());
    if (name == "teamplay") return SetLineText(name, Value(f.TeamPlay));
    if (name == "roundlimit") return SetLineText(name, f.RoundLimit.text());
    if (name == "roundtimelimit") return SetLineText(name, f.RoundTimeLimit.text());
    if (name == "tgren") return SetLineText(name, f.TeamGrenades.text());
    if (name == "noscore") return SetLineText(name, Inverted(f.Scores));
    if (name == "nohud") return SetLineText(name, Inverted(f.ShowHUD));
    if (name == "port") return SetLineText(name, f.Port.text());
    if (name == "dedicated") return SetLineText(name, Value(f.Dedicated));
    if (name == "dmflags") return SetLineText(name, std::to_string(EncodeDmflags(f)));
    if (name == "allow_download") return SetLineText(name, Value(f.AllowDownload));
    if (name == "setmaster") {
        if (f.MasterServer1.text().empty() && f.MasterServer2.text().empty() && f.MasterServer3.text().empty() &&
            f.MasterServer4.text().empty())
            return std::nullopt;
        return "setmaster " + f.MasterServer1.text() + " " + f.MasterServer2.text() + " " + f.MasterServer3.text() +
               " " + f.MasterServer4.text();
    }
    if (name == "Admin") return InfoLine(name, f.AdminName);
    if (name == "WebSite") return InfoLine(name, f.WebSite);
    if (name == "e-mail") return InfoLine(name, f.Email);
    if (name == "location") return InfoLine(name, f.Location);
    if (name == "allow_download_maps") return SetLineText(name, Value(f.AllowDownloadMaps));
    if (name == "allow_download_players") return SetLineText(name, Value(f.AllowDownloadPlayers));
    if (name == "allow_download_models") return SetLineText(name, Value(f.AllowDownloadModels));
    if (name == "allow_download_sounds") return SetLineText(name, Value(f.AllowDownloadSounds));
    return std::nullopt;
}

bool IsOwned(const std::string& name) {
    const auto& owned = OwnedServerVariables();
    return std::find(owned.begin(), owned.end(), name) != owned.end();
}

}  // namespace

const std::vector<std::string>& OwnedServerVariables() {
    static const std::vector<std::string> names = {
        "hostname",       "rcon_password", "fraglimit",  "timelimit",      "maxclients", "public",
        "actionmaps",     "timeout",       "motd_time",  "skipmotd",       "weapons",    "items",
        "ir",             "radiolog",      "splatlimit", "bholelimit",     "shelloff",   "knifelimit",
        "teamplay",       "roundlimit",    "roundtimelimit", "tgren",      "noscore",    "nohud",
        "port",           "dedicated",     "dmflags",    "allow_download", "setmaster",  "Admin",
        "WebSite",        "e-mail",        "location",   "allow_download_maps", "allow_download_players",
        "allow_download_models", "allow_download_sounds"};
    return names;
}

bool RewriteServerSetting(CfgOutput& out, const ServerFields& fields, const std::string& name) {
    if (name == "exec" || name == "deathmatch" || name == "ininame" || name == "map") return true;
    if (!IsOwned(name)) return false;
    // "setmaster" counts as written even when its line is dropped, so emptied master servers
    // do not come back at the end.
    if (name == "setmaster") out.written.insert(name);
    if (const auto line = OwnedLine(fields, name)) {
        out.line(*line);
        out.written.insert(name);
    }
    return true;
}

void AppendUnwrittenSettings(CfgOutput& out, const ServerFields& fields) {
    for (const std::string& name : OwnedServerVariables()) {
        if (out.written.count(name)) continue;
        if (const auto line = OwnedLine(fields, name)) {
            out.line(*line);
            out.written.insert(name);
        }
    }
}

void WriteSetLine(CfgOutput& out, const std::string& name, const std::string& value) {
    out.line(SetLineText(name, value));
}

std::string BuildServerCfg(const ServerFields& fields, const form::Grid& scriptList, const form::Grid& mapIni,
                           const std::string& serverCfgFileName, const std::string& actionIniFileName,
                           const std::string* oldContent) {
    CfgOutput out;
    // The scripts run first; the settings file itself is never executed from within.
    for (int i = 0; i < scriptList.rowCount(); ++i)
        if (scriptList.text(i) != serverCfgFileName) out.line("exec " + scriptList.text(i));

    // With an empty rotation the server still needs a start map: the old file's last one.
    std::string oldMapLine;
    if (oldContent) {
        for (const std::string& line : SplitLines(*oldContent)) {
            const auto setting = SplitCfgLine(line);
            if (setting && setting->name == "map") oldMapLine = line;
            if (!setting || !RewriteServerSetting(out, fields, setting->name)) out.line(line);
        }
    }

    AppendUnwrittenSettings(out, fields);
    out.line("set deathmatch 1");
    out.line("set ininame " + actionIniFileName);
    if (mapIni.rowCount() > 0) {
        std::string map = mapIni.text(0);
        if (!map.empty() && map.back() == '*') map.pop_back();  // the duplicate marker
        out.line("map " + map);
    } else if (!oldMapLine.empty()) {
        out.line(oldMapLine);
    }
    return out.text;
}

bool WriteServerCfg(const Context& ctx, const ServerFields& fields, const form::Grid& scriptList,
                    const form::Grid& mapIni) {
    const AppState& st = ctx.state;
    if (!DirExistsConst(ctx.fs, st.strModDir)) {
        ctx.message("ERROR: action directory not found!\rCannot save " + st.strServerCfgFileName);
        return false;
    }
    const std::string target = st.strModDir + "\\" + st.strServerCfgFileName;

    std::string old;
    bool hasOld = false;
    if (FileExists(ctx.fs, target)) {
        // An old file that exists but cannot be read is not replaced: its lines would be lost.
        std::string error;
        if (!ctx.fs.readFile(target, old, error)) {
            ctx.message("Could not save " + target + ": cannot read the old file (" + error + ")\r" +
                        "The file was left as it was.");
            return false;
        }
        hasOld = true;
    }

    const std::string content =
        BuildServerCfg(fields, scriptList, mapIni, st.strServerCfgFileName, st.strActionIniFileName, hasOld ? &old : nullptr);
    // Failures to write the temporary file, keep the backup or rename are reported by the
    // replace itself, which leaves the old file in place.
    return ReplaceFileViaTemp(ctx, target, content);
}

}  // namespace tolvane::settings
