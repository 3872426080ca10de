#pragma once
// The controls of the "Maps" tab, named as the window names them: the rotation MapIni beside the
// available maps MapDir in the "Server Map Order" frame, the catalogue MapList in the "Map List"
// frame, their buttons and the legend of the duplicate marker.
#include <cstdint>

#include "form/Controls.h"
#include "form/Form.h"

namespace tolvane::maps {

// The origin tag of a rotation map that no scan has found on disk (yet): an archive that holds
// it then makes it an archive map (tag 1) without the duplicate marker.
inline constexpr std::int32_t kTagNotFound = 2;

struct MapFields {
    // Sets the captions and tool tips the window shows.
    MapFields();
    MapFields(const MapFields&) = delete;
    MapFields& operator=(const MapFields&) = delete;

    // Rotation and available maps; the rows of both carry origin tags.
    form::Grid MapIni{"MapIni"};
    form::Grid MapDir{"MapDir"};
    form::Button ButtonAdd{"ButtonAdd"};
    form::Button ButtonRemove{"ButtonRemove"};
    form::Button ButtonRandom{"ButtonRandom"};
    form::Button ButtonServerUp{"ButtonServerUp"};
    form::Button ButtonServerDown{"ButtonServerDown"};

    // The catalogue: one row per map, description + " [" + map name + "]".
    form::Grid MapList{"MapList"};
    form::Button ButtonNew{"ButtonNew"};
    form::Button ButtonRename{"ButtonRename"};
    form::Button ButtonDelete{"ButtonDelete"};
    form::Button ButtonUp{"ButtonUp"};
    form::Button ButtonDown{"ButtonDown"};

    form::Label MapLegend{"MapLegend"};
};

// Lists the three grids for --dump and --set, the map grids with their origin tags, and the
// buttons for --click.
void RegisterMapFields(form::Form& form, MapFields& fields);

}  // namespace tolvane::maps
