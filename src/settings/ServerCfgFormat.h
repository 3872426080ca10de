#pragma once
// The server configuration script as text: splitting its lines, applying them to the server
// settings, and building the new text from the settings and the old text. Nothing here touches
// a file; ServerCfgReader and ServerCfgWriter are the file shells around it.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "form/Controls.h"
#include "settings/ServerFields.h"

namespace tolvane::settings {

struct CfgSetting {
    std::string name;
    std::string value;
    bool operator==(const CfgSetting&) const = default;
};

// Splits one line into a name and a value; nothing when the line holds no blank. Forms:
//   name value                -> the first word lower-cased, the rest trimmed
//   set name value            -> the second word as written, the rest (leading blanks kept)
//   [set] name "text" s       -> (flagged) the name as above, the text between the quotes
//                                (a line without a double quote is never flagged)
// Only a blank (space) separates words. A trailing comment ("//" after a blank, outside
// double quotes) is not part of the value, as the game's console reads it.
std::optional<CfgSetting> SplitCfgLine(const std::string& line);

// Applies one name and value to the fields (names are compared exactly). A value that cannot
// be applied leaves its field as it was. "exec" appends a row to scriptList.
void ApplyServerSetting(ServerFields& fields, form::Grid& scriptList, const std::string& name,
                        const std::string& value);

// Reads a whole script into the fields: the script list is emptied first, then every line is
// applied in order. Fields the text does not mention keep their values; a line whose handling
// fails is skipped.
void ParseServerCfg(const std::string& content, ServerFields& fields, form::Grid& scriptList);

// The new file as it is being built, with the owned variables already written in this run.
struct CfgOutput {
    std::string text;
    std::set<std::string> written;
    // Adds one line ended by CR LF.
    void line(const std::string& l) {
        text += l;
        text += "\r\n";
    }
};

// Handles one old line by its name: the names the tail produces ("exec", "deathmatch",
// "ininame", "map") are dropped; an owned variable's line is replaced by its current line (or
// dropped when its condition fails) and recorded as written. Returns false for any other name,
// whose line the caller copies unchanged.
bool RewriteServerSetting(CfgOutput& out, const ServerFields& fields, const std::string& name);

// Writes the lines of the owned variables not written yet, in the fixed order.
void AppendUnwrittenSettings(CfgOutput& out, const ServerFields& fields);

// Writes "set <name> <value>", with "0" in place of a value that does not read as a number.
void WriteSetLine(CfgOutput& out, const std::string& name, const std::string& value);

// Builds the new content from the old file's content (null when there is none): the exec lines
// of the script list first, then every old line in order (lines the editor does not own
// unchanged, owned lines replaced in place), then the owned variables the old text did not
// mention, in table order (a net_port line missing from the old text comes right after its
// port line), and the fixed tail ("set deathmatch 1", "set ininame <action.ini
// name>", "map <first rotation map>").
std::string BuildServerCfg(const ServerFields& fields, const form::Grid& scriptList, const form::Grid& mapIni,
                           const std::string& serverCfgFileName, const std::string& actionIniFileName,
                           const std::string* oldContent);

}  // namespace tolvane::settings
