#pragma once
// The last step of a run without a window: what --check, --diff, --save and --start do once
// start-up, --config and every --set, --row, --pick, --click and --answer have been made.
#include <ostream>

#include "app/CommandLine.h"
#include "app/Editor.h"

namespace tolvane::app {

// Returns the exit code. `confirmDialogs` is the console's switch that makes a dialog opened
// from here confirmed as it opens (SAVE SETTINGS' save dialog).
int RunHeadlessMode(Options::Mode mode, Editor& editor, bool& confirmDialogs, std::ostream& out,
                    std::ostream& err);

}  // namespace tolvane::app
