#pragma once
// The "BW Bans" tab: the four ban grids, each with its New and Delete buttons.
#include "ui/QtSetup.h"  // first: see there

#include "plugin/PluginFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildBansPage(Bindings& b, plugin::PluginFields& fields);

}  // namespace tolvane::ui
