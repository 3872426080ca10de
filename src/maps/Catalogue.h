#pragma once
// The map catalogue maps.lst of the mod directory: read into MapList at start-up (its maps also
// become available for the rotation) and written back when it was edited.
#include <string>

#include "maps/MapFields.h"
#include "state/AppState.h"

namespace tolvane::maps {

// Fills MapList from the mod directory's file `fileName`, one row per entry, and lists maps
// known nowhere else in MapDir with tag -1. Clears bMapsLstChanged once read.
void ReadMapsLst(const Context& ctx, MapFields& maps, const std::string& fileName);

// Writes MapList to maps.lst when bMapsLstChanged is set, through a temporary file and the
// checked replace; an empty list leaves no catalogue (the old file becomes maps.bak). Returns
// false when the file could not be written (the reason has been shown).
bool WriteMapsLst(const Context& ctx, const MapFields& maps);

}  // namespace tolvane::maps
