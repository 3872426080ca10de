#pragma once
// The New and Delete buttons of the "BW Bans" tab. Nothing is written here: the grids are saved
// with everything else.
#include "plugin/BanDialog.h"
#include "plugin/PluginFields.h"
#include "state/AppState.h"

namespace tolvane::plugin {

// Ties the eight buttons to their grids; the address and name-at-address bans are asked for in
// the ban dialog, names and filters in an input box.
void ConnectBanButtons(const Context& ctx, PluginFields& fields, BanDialog& frmBans);

// Removes the grid's current row; the last row empties the grid. No confirmation.
void DeleteCurrentBan(form::Grid& grid);

}  // namespace tolvane::plugin
