#pragma once
// The "Maps" tab: the server's map rotation beside the maps found in the Quake 2 directory.
#include "ui/QtSetup.h"  // first: see there

#include "app/MainFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildMapsPage(Bindings& b, app::MainFields& maps);

}  // namespace tolvane::ui
