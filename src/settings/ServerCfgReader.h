#pragma once
// Reading the server configuration script (a Quake 2 console script in the mod directory) into
// the server settings. Only the variables the editor owns are taken; "exec" lines fill the
// script list. The writer splits lines the same way to decide which lines it owns.
#include <optional>
#include <string>

#include "form/Controls.h"
#include "settings/ServerFields.h"
#include "state/AppState.h"

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
// Only a blank (space) separates words. A trailing comment ("//" after a blank, outside
// double quotes) is not part of the value, as the game's console reads it.
std::optional<CfgSetting> SplitCfgLine(const std::string& line);

// Applies one name and value to the fields (names are compared exactly). A value that cannot
// be applied leaves its field as it was. "exec" appends a row to scriptList.
void ApplyServerSetting(ServerFields& fields, form::Grid& scriptList, const std::string& name,
                        const std::string& value);

// Reads strModDir\fileName into the fields. The script list is emptied first, even when the
// file is missing; fields the file does not mention keep their values. A missing directory or
// file is skipped silently. Shows "Processing <path>..." on the progress line meanwhile.
void ReadServerCfg(const Context& ctx, ServerFields& fields, form::Grid& scriptList, const std::string& fileName);

}  // namespace tolvane::settings
