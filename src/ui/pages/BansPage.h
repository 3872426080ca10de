#pragma once
// The "BW Bans" tab: the four ban grids, each with its New and Delete buttons;
// a row opens for editing with Enter or a double-click.
#include "ui/QtSetup.h"  // first: see there

#include <functional>

#include "plugin/PluginFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

// `edit` opens a grid's current row for editing (Enter or a double-click on it).
QWidget* BuildBansPage(Bindings& b, plugin::PluginFields& fields, std::function<void(form::Grid&)> edit);

}  // namespace tolvane::ui
