#pragma once
// The windows of the load and save dialogs, bound to their models in the core.
#include "ui/QtSetup.h"  // first: see there

#include "ui/QtDialogs.h"

namespace tolvane::ui {

// Registers the windows of the load and save dialogs with the dialog runner.
void RegisterConfigDialogs(QtDialogs& dialogs);

}  // namespace tolvane::ui
