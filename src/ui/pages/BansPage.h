#pragma once
// The "BW Bans" tab: the plug-in's four ban lists.
#include "ui/QtSetup.h"  // first: see there

#include "app/MainFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildBansPage(Bindings& b, app::MainFields& bans);

}  // namespace tolvane::ui
