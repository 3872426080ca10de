#pragma once
// The "Scripts" tab: the scripts to execute before server.cfg and the scripts available.
#include "ui/QtSetup.h"  // first: see there

#include "form/Controls.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildScriptsPage(Bindings& b, form::Grid& scriptList, form::Grid& scriptDir);

}  // namespace tolvane::ui
