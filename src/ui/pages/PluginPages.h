#pragma once
// The plug-in's two settings tabs, "BW Admin 1" and "BW Admin 2", built from its fields.
#include "ui/QtSetup.h"  // first: see there

#include "plugin/PluginFields.h"
#include "scripts/ScriptFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildBWAdmin1Page(Bindings& b, plugin::PluginFields& fields);
// The MOTD and stuff file names carry the buttons that open those files in the text editor.
QWidget* BuildBWAdmin2Page(Bindings& b, plugin::PluginFields& fields, scripts::ScriptFields& editors);

// The notice shown on each plug-in tab when no bw-admin.cfg was found at start-up.
QWidget* NoBWAdminNotice(Bindings& b, form::Label& notice);

}  // namespace tolvane::ui
