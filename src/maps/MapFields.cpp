#include "maps/MapFields.h"

namespace tolvane::maps {

namespace {

void Caption(form::Control& c, const char* caption, const char* toolTip = nullptr) {
    c.setCaption(caption);
    if (toolTip) c.setToolTip(toolTip);
}

}  // namespace

MapFields::MapFields() {
    Caption(MapIni, "Server Map List");
    Caption(MapDir, "Quake Maps", "List of available maps to add to rotation");
    Caption(ButtonAdd, "<<", "Add the selected map into rotation");
    Caption(ButtonRemove, ">>", "Remove the selected map from rotation");
    Caption(ButtonRandom, "Randomize Order", "Randomly reorganize map rotation list");
    Caption(ButtonServerUp, "Up");
    Caption(ButtonServerDown, "Down");
    Caption(MapList, "Map List", "List of maps with names to display from within quake when selecting a map");
    Caption(ButtonNew, "New");
    Caption(ButtonRename, "Rename");
    Caption(ButtonDelete, "Delete");
    Caption(ButtonUp, "Up");
    Caption(ButtonDown, "Down");
    Caption(MapLegend, "* Map is located in duplicate places (ie PAK and map dir)");
}

void RegisterMapFields(form::Form& form, MapFields& fields) {
    form.add(fields.MapIni, true);
    form.add(fields.MapDir, true);
    form.add(fields.MapList);
    for (form::Button* b : {&fields.ButtonAdd, &fields.ButtonRemove, &fields.ButtonRandom, &fields.ButtonServerUp,
                            &fields.ButtonServerDown, &fields.ButtonNew, &fields.ButtonRename, &fields.ButtonDelete,
                            &fields.ButtonUp, &fields.ButtonDown})
        form.add(*b);
}

}  // namespace tolvane::maps
