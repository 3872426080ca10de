#pragma once
// The buttons of the "Maps" tab: moving maps between the rotation and the available maps,
// ordering and shuffling the rotation, and editing the catalogue. Rotation buttons mark
// action.ini for writing, catalogue buttons maps.lst; nothing is written until the next save.
#include "maps/MapFields.h"
#include "platform/Random.h"
#include "state/AppState.h"

namespace tolvane::maps {

void ButtonAdd_Click(const Context& ctx, MapFields& maps);
void ButtonRemove_Click(const Context& ctx, MapFields& maps);
void ButtonServerUp_Click(const Context& ctx, MapFields& maps);
void ButtonServerDown_Click(const Context& ctx, MapFields& maps);
// Shuffles the rotation (5 x n exchanges through a carried text) and reports duplicates.
void ButtonRandom_Click(const Context& ctx, MapFields& maps, platform::Random& random);
// Reports each pair of rotation rows with equal texts ("Duplicates of NAME found!"); the
// rotation is left as it is.
void ReportRotationDuplicates(const Context& ctx, const form::Grid& MapIni);

void ButtonNew_Click(const Context& ctx, MapFields& maps);
void ButtonRename_Click(const Context& ctx, MapFields& maps);
void ButtonDelete_Click(const Context& ctx, MapFields& maps);
void ButtonUp_Click(const Context& ctx, MapFields& maps);
void ButtonDown_Click(const Context& ctx, MapFields& maps);

// Ties the ten buttons to their handlers; the shuffle draws from whatever `random` points to
// when it is pressed.
void ConnectMapButtons(const Context& ctx, MapFields& maps, platform::Random* const& random);

}  // namespace tolvane::maps
