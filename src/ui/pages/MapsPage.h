#pragma once
// The "Maps" tab: the rotation beside the available maps, the catalogue, their buttons and the
// legend of the duplicate marker.
#include "ui/QtSetup.h"  // first: see there

#include <QWidget>

#include "maps/MapFields.h"

namespace tolvane::ui {

class Bindings;

// Builds the page with every widget bound to its control in `fields`. The grids take the room
// the window gives the page.
QWidget* BuildMapsPage(Bindings& b, maps::MapFields& fields);

}  // namespace tolvane::ui
