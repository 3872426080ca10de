#pragma once
// The window of the ban dialog, bound to its model in the core.
#include "ui/QtSetup.h"  // first: see there

#include "ui/QtDialogs.h"

namespace tolvane::ui {

// Registers the window of the ban dialog with the dialog runner.
void RegisterBanDialog(QtDialogs& dialogs);

}  // namespace tolvane::ui
