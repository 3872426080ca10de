#pragma once
// The controls of the "Scripts" tab: the scripts to execute before server.cfg (filled from the
// server settings file's exec lines), the scripts available in the mod directory and their
// buttons; and the two buttons of the "BW Admin 2" tab that open the plug-in's MOTD and stuff
// files in the text editor.
#include "form/Controls.h"
#include "form/Form.h"

namespace tolvane::scripts {

struct ScriptFields {
    // Sets captions and tool tips.
    ScriptFields();
    ScriptFields(const ScriptFields&) = delete;
    ScriptFields& operator=(const ScriptFields&) = delete;

    form::Grid ScriptList{"ScriptList"};
    form::Grid ScriptDir{"ScriptDir"};
    form::Button ButtonScriptAdd{"ButtonScriptAdd"};
    form::Button ButtonScriptRemove{"ButtonScriptRemove"};
    form::Button ButtonScriptUp{"ButtonScriptUp"};
    form::Button ButtonScriptDown{"ButtonScriptDown"};
    form::Button ButtonScriptEdit{"ButtonScriptEdit"};

    // On the "BW Admin 2" tab, beside the MOTD and Stuff file names.
    form::Button ButtonEditMOTD{"ButtonEditMOTD"};
    form::Button ButtonEditStuff{"ButtonEditStuff"};
};

// Lists the grids for --dump and --set, and the buttons so that a run without a window can
// press them by name.
void RegisterScriptFields(form::Form& form, ScriptFields& fields);

}  // namespace tolvane::scripts
