#pragma once
// The editor with its windows: the splash while the Quake 2 directory is read, then the main
// window until it is closed.
#include "ui/QtSetup.h"  // first: see there

#include <string>

namespace tolvane::ui {

// Runs the windowed editor on the Quake 2 directory quake2Dir; returns the exit code.
int RunGui(int argc, char** argv, const std::string& quake2Dir);

}  // namespace tolvane::ui
