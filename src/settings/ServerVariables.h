#pragma once
// The server variables the editor owns, in the order the writer appends them: each name once,
// with how its value is read and written and the field it binds. The reader looks a name up
// here, the writer walks the table, and the tests use the same table.
#include <string>
#include <vector>

#include "settings/ServerFields.h"

namespace tolvane::settings {

enum class VarKind {
    HostName,       // "hostname \"<text>\""; reading drops enclosing quotes
    Password,       // written bare, an empty password as ""; "none" on reading changes nothing
    Numeric,        // a numeric field's text, through its coupling
    Switch,         // a check box's value 0..2
    Inverted,       // a check box written as 1 - value
    Public,         // a check box: 1 for any number of 1 or more, else 0
    Dmflags,        // the six game-flag boxes plus the bits no box shows
    MasterServers,  // the four master-server boxes on one line
    Info,           // a serverinfo text: "set <name> \"<text>\" s", only when not empty
};

struct ServerVariable {
    const char* name;
    VarKind kind;
    // The bound field; which member is set depends on the kind (none for Dmflags and
    // MasterServers, which bind several fields).
    form::NumericField ServerFields::*numeric = nullptr;
    form::CheckBox ServerFields::*box = nullptr;
    form::TextBox ServerFields::*text = nullptr;
};

// The owned variables in writing order.
const std::vector<ServerVariable>& ServerVariables();

// The entry of a name (compared exactly, case included), or nullptr.
const ServerVariable* FindServerVariable(const std::string& name);

// Names the writer produces itself at the end of the file (and drops wherever the old file has
// them): the exec block, "set deathmatch 1", "set ininame ..." and "map ...".
extern const char* const kExecName;
extern const char* const kDeathmatchName;
extern const char* const kIniNameName;
extern const char* const kMapName;
bool IsTailName(const std::string& name);

// The two variables the Port field is written to, kept side by side.
extern const char* const kPortName;
extern const char* const kNetPortName;

}  // namespace tolvane::settings
