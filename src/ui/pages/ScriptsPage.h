#pragma once
// The "Scripts" tab: the scripts to execute before server.cfg and the scripts available.
#include "ui/QtSetup.h"  // first: see there

#include "scripts/ScriptFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildScriptsPage(Bindings& b, scripts::ScriptFields& scripts);

}  // namespace tolvane::ui
