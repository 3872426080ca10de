#pragma once
// The mod settings file of the current configuration, action\<strActionIniFileName>: read into
// the team fields and the rotation whenever a configuration is loaded, written first in the
// save sequence when a team or the rotation changed.
#include <string>
#include <vector>

#include "form/Controls.h"
#include "maps/MapFields.h"
#include "state/AppState.h"
#include "teams/TeamFields.h"

namespace tolvane::modini {

// Reads the mod directory's file `fileName` into the teams and MapIni. The rotation rows held
// before go back to MapDir (sorted), so no map leaves both lists; each map read is taken out of
// MapDir again (TakeFromAvailable). A model or skin the players directories lack is shown as
// an extra item of its list; names are taken as the file holds them. A missing file gives the
// default teams. Clears bActionIniChanged once read.
void ReadActionIni(const Context& ctx, teams::TeamFields& teams, maps::MapFields& maps, const std::string& fileName);

// Writes the teams and the rotation when bActionIniChanged is set. False when the file could not
// be written (the reason has been shown).
bool WriteActionIni(const Context& ctx, teams::TeamFields& teams, const maps::MapFields& maps);

// Fills MapIni with the maps read, in order. Each map that MapDir lists leaves it and keeps its
// row there: its origin tag, and its duplicate marker, so that a map found in two places still
// says so after a switch of configuration and is never in both lists. Names match ignoring
// letter case, and the row keeps the name as given (the file's spelling); where map names keep
// their files' case (maps::MapNamesKeepFileCase), a map found on disk (tag 0 or 1) takes the
// spelling of its file instead, a row spelled exactly alike first. The first MapDir row of a
// map is taken first; a map MapDir does not list gets maps::kTagNotFound.
void TakeFromAvailable(maps::MapFields& maps, const std::vector<std::string>& names);

}  // namespace tolvane::modini
