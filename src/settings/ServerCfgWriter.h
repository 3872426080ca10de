#pragma once
// Writing the server configuration script. The file is merged, not written from scratch: the
// "exec" lines of the script list come first, then every line of the old file in order (lines
// the editor does not own unchanged, owned lines replaced in place by their current value),
// then the owned variables the old file did not mention, in a fixed order, and a fixed tail
// ("set deathmatch 1", "set ininame <action.ini name>", "map <first rotation map>").
#include <set>
#include <string>

#include "form/Controls.h"
#include "settings/ServerFields.h"
#include "state/AppState.h"

namespace tolvane::settings {

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

// The 37 owned variables in the order they are appended.
const std::vector<std::string>& OwnedServerVariables();

// Handles one old line by its name: the names the tail produces ("exec", "deathmatch",
// "ininame", "map") are dropped; an owned variable's line is replaced by its current line (or
// dropped when its condition fails) and recorded as written. Returns false for any other name,
// whose line the caller copies unchanged.
bool RewriteServerSetting(CfgOutput& out, const ServerFields& fields, const std::string& name);

// Writes the lines of the owned variables not written yet, in the fixed order.
void AppendUnwrittenSettings(CfgOutput& out, const ServerFields& fields);

// Writes "set <name> <value>", with "0" in place of a value that does not read as a number.
void WriteSetLine(CfgOutput& out, const std::string& name, const std::string& value);

// Builds the new content from the old file's content (empty when there is none).
std::string BuildServerCfg(const ServerFields& fields, const form::Grid& scriptList, const form::Grid& mapIni,
                           const std::string& serverCfgFileName, const std::string& actionIniFileName,
                           const std::string* oldContent);

// Writes strModDir\strServerCfgFileName through the temporary file strModDir\server.tmp, keeping
// the old file as its backup. A missing mod directory is reported and nothing is written.
// Returns false when nothing was written (every failure has been reported).
bool WriteServerCfg(const Context& ctx, const ServerFields& fields, const form::Grid& scriptList,
                    const form::Grid& mapIni);

}  // namespace tolvane::settings
