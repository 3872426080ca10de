#include "settings/ServerCfgFormat.h"

#include <exception>

#include "form/NumericCoupling.h"
#include "settings/Dmflags.h"
#include "settings/ServerVariables.h"
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

    // The flagged form needs its quoted text: a line without a double quote that merely ends in
    // " s" (a password or a last master server "s") is a plain line, not the whole line as value.
    const std::string trimmed = TrimBlanks(line);
    const bool flagged = trimmed.size() >= 2 && trimmed.compare(trimmed.size() - 2, 2, " s") == 0 &&
                         line.find('"') != std::string::npos;
    if (flagged) {
        if (s.name == "set") {
            const std::size_t b = s.value.find(' ');
            if (b != std::string::npos) s.name = s.value.substr(0, b);
        }
        const std::size_t q1 = line.find('"');
        const std::size_t q2 = line.find('"', q1 + 1);
        s.value = q2 == std::string::npos ? line.substr(q1 + 1) : line.substr(q1 + 1, q2 - q1 - 1);
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
// console reads it. The host name keeps its own rule.
std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"' &&
        value.find('"', 1) == value.size() - 1)
        return value.substr(1, value.size() - 2);
    return value;
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

bool IsTextKind(VarKind kind) {
    return kind == VarKind::HostName || kind == VarKind::Password || kind == VarKind::Info;
}

// What a text variable's field becomes from a value read; nothing when the value leaves the
// field as it was.
std::optional<std::string> TextValueRead(VarKind kind, const std::string& value) {
    switch (kind) {
    case VarKind::HostName:
        // Only enclosing double quotes are removed, so a flagged line, whose value comes
        // without its quotes already, keeps its whole text.
        if (value.size() < 2) return std::nullopt;
        if (value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
        return value;
    case VarKind::Password:
        // "none" leaves the password as it was. An empty quoted value is how the file switches
        // the remote console off, and reads as no password (not as two quote characters).
        if (value == "none") return std::nullopt;
        return Unquoted(value);
    case VarKind::Info:
        // The console reads "set Admin \"Crew\"" as Crew; the quotes are not part of the text.
        return Unquoted(value);
    default:
        return std::nullopt;
    }
}

void ApplyVariable(ServerFields& f, const ServerVariable& v, const std::string& value) {
    if (IsTextKind(v.kind)) {
        if (const auto text = TextValueRead(v.kind, value)) (f.*v.text).setText(*text);
        return;
    }
    switch (v.kind) {
    case VarKind::MasterServers:
        return ApplyMasterServers(f, value);
    case VarKind::Numeric: {
        // Setting the text runs the coupling: the spinner follows a number within its bounds,
        // and a number above the upper bound is refused with a message. Blanks around the
        // number ("1 " in quotes) are dropped: written back they would not read the same.
        const std::string text = Unquoted(value);
        const std::size_t b = text.find_first_not_of(" \t");
        return (f.*v.numeric).setText(b == std::string::npos ? text : text.substr(b, text.find_last_not_of(" \t") - b + 1));
    }
    default:
        break;
    }
    const auto number = form::ReadInt32(Unquoted(value));
    if (!number) return;
    switch (v.kind) {
    case VarKind::Switch: return SetCheckValue(f.*v.box, *number);
    case VarKind::Inverted: return SetCheckValue(f.*v.box, 1 - static_cast<std::int64_t>(*number));
    case VarKind::Public: return (f.*v.box).setValue(*number >= 1 ? 1 : 0);
    case VarKind::Dmflags: return ReadDmflags(f, *number);
    default: return;
    }
}

std::string SetLineText(const std::string& name, const std::string& value) {
    return "set " + name + " " + (form::IsNumber(value) ? value : std::string("0"));
}

// The line a text value holding a double quote was read from, while the field still holds
// what that line gives. The writer's own forms cannot carry such a value (the console has no
// escape for a quote), so the operator's line goes back as it was written.
std::optional<std::string> LineReadFrom(const ServerFields& f, const ServerVariable& v) {
    const std::string& text = (f.*v.text).text();
    if (text.find('"') == std::string::npos) return std::nullopt;
    const auto read = f.readLines.find(v.name);
    if (read == f.readLines.end()) return std::nullopt;
    const auto setting = SplitCfgLine(read->second);
    if (!setting || setting->name != v.name || TextValueRead(v.kind, setting->value) != text) return std::nullopt;
    return read->second;
}

// The current line of an owned variable; nothing when its condition fails.
std::optional<std::string> OwnedLine(const ServerFields& f, const ServerVariable& v) {
    const std::string name = v.name;
    if (IsTextKind(v.kind))
        if (auto line = LineReadFrom(f, v)) return line;
    switch (v.kind) {
    case VarKind::HostName: return name + " \"" + (f.*v.text).text() + "\"";
    case VarKind::Password: {
        // An empty password is written as an empty quoted value, which switches the remote
        // console off. A password holding a blank goes in double quotes too, or the game would
        // take its first word only; so does the password "none", which written bare would read
        // back as no change at all.
        const std::string& pw = (f.*v.text).text();
        if (pw.empty() || pw == "none" || pw.find_first_of(" \t") != std::string::npos)
            return name + " \"" + pw + "\"";
        return name + " " + pw;
    }
    case VarKind::Numeric: return SetLineText(name, (f.*v.numeric).text());
    case VarKind::Switch:
    case VarKind::Public: return SetLineText(name, std::to_string((f.*v.box).value()));
    case VarKind::Inverted: return SetLineText(name, std::to_string(1 - (f.*v.box).value()));
    case VarKind::Dmflags: return SetLineText(name, std::to_string(DmflagsToWrite(f)));
    case VarKind::MasterServers: {
        // The line is written the way it reads back: blanks before the first server and after
        // the last are dropped on reading, the first three servers end at a blank and the fourth
        // box takes the rest. So the boxes are joined, trimmed and split again as the reader
        // does; empty boxes between servers stay as two blanks in a row.
        std::string joined = TrimBlanks(f.MasterServer1.text() + " " + f.MasterServer2.text() + " " +
                                        f.MasterServer3.text() + " " + f.MasterServer4.text());
        // No server address holds a double quote, and one on the line would make it read as a
        // quoted "s"-flagged line or hide a comment: it is left out.
        std::erase(joined, '"');
        joined = TrimBlanks(joined);
        // A word that would start a comment on the written line ("//" after a blank or tab, only
        // possible when a quote hid it on the line read) ends the list: it would not read back.
        for (std::size_t p = joined.find("//"); p != std::string::npos; p = joined.find("//", p + 1)) {
            if (p == 0 || joined[p - 1] == ' ' || joined[p - 1] == '\t') {
                joined = TrimBlanks(joined.substr(0, p));
                break;
            }
        }
        if (joined.empty()) return std::nullopt;
        std::string line = name;
        for (int box = 0; box < 3; ++box) {
            const std::size_t b = joined.find(' ');
            line += " " + joined.substr(0, b);
            joined = b == std::string::npos ? std::string() : joined.substr(b + 1);
        }
        return line + " " + joined;
    }
    case VarKind::Info: {
        // A serverinfo string: in double quotes with the "s" flag, and only when it holds
        // something. Blanks at either end are left out: this form reads back without them, so
        // writing them would change the line on every save.
        const std::string text = TrimBlanks((f.*v.text).text());
        if (text.empty()) return std::nullopt;
        return "set " + name + " \"" + text + "\" s";
    }
    }
    return std::nullopt;
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
    // A script row is its file name alone; its origin tag stays 0. The row is written back as
    // "exec <name>", so it takes what reading that line gives: the "set" form keeps blanks
    // after the name, and a quoted "s"-flagged line may hide a word starting a comment, both
    // of which the written line loses. A second save then writes what the first did.
    if (name == kExecName) {
        const std::string script = TrimBlanks(value);
        const auto written = SplitCfgLine(std::string(kExecName) + " " + script);
        return scriptList.append(written && written->name == kExecName ? written->value : script);
    }
    // "deathmatch", "ininame", "map" and every other name: nothing to take.
    if (const ServerVariable* v = FindServerVariable(name)) ApplyVariable(f, *v, value);
}

void ParseServerCfg(const std::string& content, ServerFields& fields, form::Grid& scriptList) {
    // The values are the file's: none is refused as typing would be.
    struct Reading {
        bool& flag;
        explicit Reading(bool& f) : flag(f) { flag = true; }
        ~Reading() { flag = false; }
    } reading(fields.readingFile);
    scriptList.clear();
    for (const std::string& line : SplitLines(content)) {
        // A line whose handling fails is abandoned; reading goes on with the next one.
        try {
            const auto setting = SplitCfgLine(line);
            if (!setting) continue;
            ApplyServerSetting(fields, scriptList, setting->name, setting->value);
            if (const ServerVariable* v = FindServerVariable(setting->name); v && IsTextKind(v->kind))
                fields.readLines[v->name] = line;
        } catch (const std::exception&) {
        }
    }
}

bool RewriteServerSetting(CfgOutput& out, const ServerFields& fields, const std::string& name) {
    if (IsTailName(name)) return true;
    const ServerVariable* v = FindServerVariable(name);
    if (!v) return false;
    // The master servers count as written even when their line is dropped, so emptied master
    // servers do not come back at the end.
    if (v->kind == VarKind::MasterServers) out.written.insert(name);
    if (const auto line = OwnedLine(fields, *v)) {
        out.line(*line);
        out.written.insert(name);
    }
    return true;
}

void AppendUnwrittenSettings(CfgOutput& out, const ServerFields& fields) {
    for (const ServerVariable& v : ServerVariables()) {
        if (out.written.count(v.name)) continue;
        if (const auto line = OwnedLine(fields, v)) {
            out.line(*line);
            out.written.insert(v.name);
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
        if (scriptList.text(i) != serverCfgFileName) out.line(std::string(kExecName) + " " + scriptList.text(i));

    // With an empty rotation the server still needs a start map: the old file's last one.
    std::string oldMapLine;
    if (oldContent) {
        const std::vector<std::string> lines = SplitLines(*oldContent);
        // A file without a net_port line gets it right after its port line, so the two stay
        // together; one that has it keeps it where it stands.
        bool hasNetPort = false;
        for (const std::string& line : lines) {
            const auto setting = SplitCfgLine(line);
            if (setting && setting->name == kNetPortName) hasNetPort = true;
        }
        for (const std::string& line : lines) {
            const auto setting = SplitCfgLine(line);
            if (setting && setting->name == kMapName) oldMapLine = line;
            if (!setting || !RewriteServerSetting(out, fields, setting->name)) {
                out.line(line);
            } else if (setting->name == kPortName && !hasNetPort && out.written.count(kPortName) &&
                       !out.written.count(kNetPortName)) {
                RewriteServerSetting(out, fields, kNetPortName);
            }
        }
    }

    AppendUnwrittenSettings(out, fields);
    WriteSetLine(out, kDeathmatchName, "1");
    out.line(std::string("set ") + kIniNameName + " " + actionIniFileName);
    if (mapIni.rowCount() > 0) {
        std::string map = mapIni.text(0);
        if (!map.empty() && map.back() == '*') map.pop_back();  // the duplicate marker
        out.line(std::string(kMapName) + " " + map);
    } else if (!oldMapLine.empty()) {
        out.line(oldMapLine);
    }
    return out.text;
}

}  // namespace tolvane::settings
