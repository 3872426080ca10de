#include "settings/ServerCfgReader.h"

#include <exception>

#include "settings/Dmflags.h"
#include "settings/NumericCoupling.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::settings {

namespace {

std::string TrimBlanks(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// The line without a trailing "//" comment. As in the game's console, a comment starts at a
// "//" that begins a word (after a blank or tab) outside double quotes; "http://" is no comment.
// A "//" at the very start of the line is left alone: such a line is a comment as a whole
// and is never owned.
std::string WithoutTrailingComment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (!quoted && i > 0 && line[i] == '/' && line[i + 1] == '/' && (line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    }
    return line;
}

std::optional<CfgSetting> SplitLine(const std::string& line) {
    const std::size_t p = line.find(' ');
    if (p == std::string::npos) return std::nullopt;
    CfgSetting s{LowerCase(TrimBlanks(line.substr(0, p))), TrimBlanks(line.substr(p + 1))};

    const std::string trimmed = TrimBlanks(line);
    const bool flagged = trimmed.size() >= 2 && trimmed.compare(trimmed.size() - 2, 2, " s") == 0;
    if (flagged) {
        if (s.name == "set") {
            const std::size_t b = s.value.find(' ');
            if (b != std::string::npos) s.name = s.value.substr(0, b);
        }
        const std::size_t q1 = line.find('"');
        if (q1 == std::string::npos) {
            s.value = line;
        } else {
            const std::size_t q2 = line.find('"', q1 + 1);
            s.value = q2 == std::string::npos ? line.substr(q1 + 1) : line.substr(q1 + 1, q2 - q1 - 1);
        }
        s.value = TrimBlanks(s.value);
    } else if (s.name == "set") {
        const std::size_t b = s.value.find(' ');
        if (b != std::string::npos) {
            s.name = s.value.substr(0, b);
            s.value = s.value.substr(b + 1);
        }
    }
    return s;
}

// A value written in double quotes as a whole ("768") means the text inside, as the game's
// console reads it. Used for numbers and switches only; the text fields keep their own rules.
std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"' &&
        value.find('"', 1) == value.size() - 1)
        return value.substr(1, value.size() - 2);
    return value;
}

form::NumericField* NumericFor(ServerFields& f, const std::string& name) {
    if (name == "fraglimit") return &f.FragLimit;
    if (name == "timelimit") return &f.TimeLimit;
    if (name == "maxclients") return &f.MaxClients;
    if (name == "timeout") return &f.TimeOut;
    if (name == "motd_time") return &f.TimeMOTD;
    if (name == "weapons") return &f.MaxWeapons;
    if (name == "items") return &f.MaxItems;
    if (name == "splatlimit") return &f.SplatLimit;
    if (name == "bholelimit") return &f.BHoleLimit;
    if (name == "knifelimit") return &f.KnifeLimit;
    if (name == "roundlimit") return &f.RoundLimit;
    if (name == "roundtimelimit") return &f.RoundTimeLimit;
    if (name == "tgren") return &f.TeamGrenades;
    if (name == "port") return &f.Port;
    return nullptr;
}

form::CheckBox* SwitchFor(ServerFields& f, const std::string& name) {
    if (name == "skipmotd") return &f.SkipMOTD;
    if (name == "ir") return &f.Infrared;
    if (name == "radiolog") return &f.RadioLog;
    if (name == "teamplay") return &f.TeamPlay;
    if (name == "dedicated") return &f.Dedicated;
    if (name == "actionmaps") return &f.RotateMaps;
    if (name == "allow_download") return &f.AllowDownload;
    if (name == "allow_download_maps") return &f.AllowDownloadMaps;
    if (name == "allow_download_players") return &f.AllowDownloadPlayers;
    if (name == "allow_download_models") return &f.AllowDownloadModels;
    if (name == "allow_download_sounds") return &f.AllowDownloadSounds;
    return nullptr;
}

form::CheckBox* InvertedFor(ServerFields& f, const std::string& name) {
    if (name == "shelloff") return &f.Shells;
    if (name == "noscore") return &f.Scores;
    if (name == "nohud") return &f.ShowHUD;
    return nullptr;
}

// A check box holds 0, 1 or 2; any other result leaves the box as it was.
void SetCheckValue(form::CheckBox& box, std::int64_t value) {
    if (value >= 0 && value <= 2) box.setValue(static_cast<int>(value));
}

void ApplyMasterServers(ServerFields& f, std::string value) {
    form::TextBox* boxes[] = {&f.MasterServer1, &f.MasterServer2, &f.MasterServer3};
    for (form::TextBox* box : boxes) {
        const std::size_t b = value.find(' ');
        if (b == std::string::npos) {
            box->setText(value);
            return;
        }
        box->setText(value.substr(0, b));
        value = value.substr(b + 1);
    }
    // The fourth box takes the rest, blanks and further servers included.
    f.MasterServer4.setText(value);
}

}  // namespace

std::optional<CfgSetting> SplitCfgLine(const std::string& line) {
    std::string stripped = WithoutTrailingComment(line);
    // A comment right after the first word would leave no value at all; the line then splits
    // as written, so the comment cannot change which variable a line names.
    if (stripped.size() != line.size() && TrimBlanks(stripped).find(' ') == std::string::npos) stripped = line;
    return SplitLine(stripped);
}

void ApplyServerSetting(ServerFields& f, form::Grid& scriptList, const std::string& name, const std::string& value) {
    if (name == "hostname") {
        // Only enclosing double quotes are removed, so a flagged line, whose value comes
        // without its quotes already, keeps its whole text.
        if (value.size() < 2) return;
        if (value.front() == '"' && value.back() == '"') f.HostName.setText(value.substr(1, value.size() - 2));
        else f.HostName.setText(value);
        return;
    }
    if (name == "rcon_password") {
        // "none" leaves the password as it was. An empty quoted value is how the file switches
        // the remote console off, and reads as no password (not as two quote characters).
        if (value == "none") return;
        f.Password.setText(value == "\"\"" ? std::string() : value);
        return;
    }
    if (name == "setmaster") return ApplyMasterServers(f, value);
    if (name == "Admin") return f.AdminName.setText(value);
    if (name == "WebSite") return f.WebSite.setText(value);
    if (name == "e-mail") return f.Email.setText(value);
    if (name == "location") return f.Location.setText(value);
    // A script row is its file name alone; its origin tag stays 0.
    if (name == "exec") return scriptList.append(value);

    if (form::NumericField* field = NumericFor(f, name)) {
        // Setting the text runs the coupling: the spinner follows a number within its bounds,
        // and a number above the upper bound is refused with a message.
        field->setText(Unquoted(value));
        return;
    }

    const auto number = ReadInt32(Unquoted(value));
    if (form::CheckBox* box = SwitchFor(f, name)) {
        if (number) SetCheckValue(*box, *number);
        return;
    }
    if (form::CheckBox* box = InvertedFor(f, name)) {
        if (number) SetCheckValue(*box, 1 - static_cast<std::int64_t>(*number));
        return;
    }
    if (name == "public") {
        if (number) f.PublicServer.setValue(*number >= 1 ? 1 : 0);
        return;
    }
    if (name == "dmflags") {
        if (number) DecodeDmflags(f, *number);
        return;
    }
    // "deathmatch", "ininame", "map" and every other name: nothing to take.
}

void ReadServerCfg(const Context& ctx, ServerFields& fields, form::Grid& scriptList, const std::string& fileName) {
    const std::string path = ctx.state.strModDir + "\\" + fileName;
    ctx.progress.show("Processing " + path + "...");
    // The grid's column width and alignment are the window's business; the model only empties it.
    scriptList.clear();

    std::vector<std::string> lines;
    if (DirExistsConst(ctx.fs, ctx.state.strModDir) && FileExists(ctx.fs, path) && ReadLines(ctx.fs, path, lines)) {
        for (const std::string& line : lines) {
            // A line whose handling fails is abandoned; reading goes on with the next one.
            try {
                if (const auto setting = SplitCfgLine(line)) ApplyServerSetting(fields, scriptList, setting->name, setting->value);
            } catch (const std::exception&) {
            }
        }
    }
    ctx.progress.hide();
}

}  // namespace tolvane::settings
