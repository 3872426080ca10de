#pragma once
// Map discovery at start-up: loose .bsp files of the two map directories, the base game's map
// list, the directories of the game archives (.pak, and the zip kinds .pk2, .pk3, .pkz, .zip),
// and the merge of maps found more than once. The available maps go to MapDir; a map already
// in the rotation MapIni is never listed twice.
//
// Origin tags: 0 a loose .bsp file (or a row nobody tagged), 1 found in an archive, -1 known
// only from a map list file, kTagNotFound a rotation map no scan found. A map found in more
// than one place on disk (an archive and a loose file, or two archives) carries "*".
#include <cstdint>
#include <string>
#include <vector>

#include "form/Controls.h"
#include "maps/MapFields.h"
#include "state/AppState.h"

namespace tolvane::maps {

// Adds the loose maps of the directories `dirs` ("action\\maps"): each *.bsp file's name up to
// its first "." (lower-cased unless MapNamesKeepFileCase), unless the rotation has it; a map
// found again keeps its row (tag 0). One list of rows serves all of them: the result is that
// of a scan of each in turn.
void ScanBspFolders(const Context& ctx, MapFields& maps, const std::vector<std::string>& dirs);

// Adds the maps of "baseq2\\maps.lst" that are neither in the rotation nor available (tag -1).
void ReadBaseMapsLst(const Context& ctx, MapFields& maps);

// Adds the maps of the archives of the mod directory and of "baseq2", the base game's
// "pak0.pak" (the stock maps) excepted. A map in the rotation (ignoring case) takes tag 1 there,
// and "*" when it was found before as a loose file or in another archive; any other map is
// appended to MapDir with tag 1 (duplicates are merged later).
void ScanPakArchives(const Context& ctx, MapFields& maps);

// The order the merged rows are left in: as they were found, or by their map names (the
// start-up sorts them next, and then finds them in order already: after the merge no two rows
// share a text, so the sort's result does not depend on the order it starts from).
enum class MergeOrder { AsFound, ByName };

// Merges MapDir rows naming the same map, in one pass: the same rows, texts, tags and order as
// comparing every pair from the last row up (or those rows by map name). Of each map the last
// row stays; it takes "*" and tag 1 when an archive row meets a loose-file row or another
// archive row, but not a map list row.
void MergeAvailableDuplicates(form::Grid& MapDir, MergeOrder order = MergeOrder::AsFound);

}  // namespace tolvane::maps
