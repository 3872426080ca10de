#pragma once
// The controls of the "Scripts" tab: the scripts to execute before server.cfg (filled from the
// server settings file's exec lines) and the scripts available in the mod directory.
#include "form/Controls.h"
#include "form/Form.h"

namespace tolvane::scripts {

struct ScriptFields {
    form::Grid ScriptList{"ScriptList"};
    form::Grid ScriptDir{"ScriptDir"};
};

inline void RegisterScriptFields(form::Form& form, ScriptFields& fields) {
    form.add(fields.ScriptList);
    form.add(fields.ScriptDir);
}

}  // namespace tolvane::scripts
