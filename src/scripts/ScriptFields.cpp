#include "scripts/ScriptFields.h"

namespace tolvane::scripts {

namespace {

void Caption(form::Control& c, const char* caption, const char* toolTip = nullptr) {
    c.setCaption(caption);
    if (toolTip) c.setToolTip(toolTip);
}

}  // namespace

ScriptFields::ScriptFields() {
    Caption(ScriptList, "Scripts to Execute", "Scripts to execute prior to the server.cfg to set up other options");
    Caption(ScriptDir, "Scripts Available", "Scripts available to be able to execute within the action directory");
    Caption(ButtonScriptAdd, "<<", "Move selected script to execute list");
    Caption(ButtonScriptRemove, ">>", "Remove the selected script from the execution list");
    Caption(ButtonScriptUp, "Up");
    Caption(ButtonScriptDown, "Down");
    Caption(ButtonScriptEdit, "Edit Script");
    Caption(ButtonEditMOTD, "Edit MOTD", "Edit the specified MOTD file");
    Caption(ButtonEditStuff, "Edit Script", "Edit the specified client cfg script");
}

void RegisterScriptFields(form::Form& form, ScriptFields& fields) {
    form.add(fields.ScriptList);
    form.add(fields.ScriptDir);
    for (form::Button* b : {&fields.ButtonScriptAdd, &fields.ButtonScriptRemove, &fields.ButtonScriptUp,
                            &fields.ButtonScriptDown, &fields.ButtonScriptEdit, &fields.ButtonEditMOTD,
                            &fields.ButtonEditStuff})
        form.add(*b);
}

}  // namespace tolvane::scripts
