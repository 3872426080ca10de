#pragma once
// The scripts the server runs before its settings: the list of available scripts, the buttons
// that move scripts between the two lists and reorder them, and the buttons that open a script,
// the MOTD file or the stuff file in the text editor.
#include <string>

#include "platform/Process.h"
#include "plugin/PluginFields.h"
#include "scripts/ScriptFields.h"
#include "state/AppState.h"

namespace tolvane::scripts {

// True when a row of ScriptList reads exactly name (letter case counts).
bool IsScriptListed(const form::Grid& scriptList, const std::string& name);

// Rebuilds ScriptDir from the .cfg files of the mod directory, lower-cased, leaving out the
// server settings file (in any letter case), bw-admin.cfg and the scripts already in
// ScriptList. Not sorted.
void FindScripts(const Context& ctx, ScriptFields& fields);

// The buttons of the "Scripts" tab. Each does nothing without the row it needs. None marks
// anything changed: the script list goes into server.cfg on every save.
void ButtonScriptAdd_Click(ScriptFields& fields);
void ButtonScriptRemove_Click(ScriptFields& fields);
void ButtonScriptUp_Click(ScriptFields& fields);
void ButtonScriptDown_Click(ScriptFields& fields);

// The editor command lines, as the system's editor takes them: "notepad.exe " and the file.
// A script is always looked for in "action", the directory the server runs it from.
std::string ScriptEditCommand(const std::string& script);
// The MOTD or stuff file named fileName: the mod directory's copy, else the base game's, else a
// new file in the mod directory (the plug-in looks in the same order).
std::string PluginFileEditCommand(const Context& ctx, const std::string& fileName);

// Starts the text editor with the command line; a failure is shown with the program and the
// reason. Returns whether it started.
bool StartTextEditor(const Context& ctx, platform::ProcessLauncher& launcher, const std::string& commandLine);

void ButtonScriptEdit_Click(const Context& ctx, platform::ProcessLauncher& launcher, ScriptFields& fields);
void ButtonEditMOTD_Click(const Context& ctx, platform::ProcessLauncher& launcher, const plugin::PluginFields& plugin);
void ButtonEditStuff_Click(const Context& ctx, platform::ProcessLauncher& launcher, const plugin::PluginFields& plugin);

// Ties the seven buttons to their handlers for as long as the fields live.
void ConnectScriptButtons(const Context& ctx, platform::ProcessLauncher& launcher, ScriptFields& fields,
                          const plugin::PluginFields& plugin);

}  // namespace tolvane::scripts
