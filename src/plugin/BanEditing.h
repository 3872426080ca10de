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

// Opens the grid's current row for editing: an address or name-at-address ban in the ban
// dialog, a name or a filter in an input box holding it. Saving replaces the row in place;
// cancelling leaves it. Nothing happens without a current row.
void EditCurrentBan(const Context& ctx, PluginFields& fields, BanDialog& frmBans, form::Grid& grid);

// Why name may not join the name bans (a name ban that differs from it only in capitals is
// there already: the plug-in does not tell them apart), or "" when it may. Row `except` is
// the one being edited.
std::string NameBanClash(const form::Grid& names, const std::string& name, int except = -1);

}  // namespace tolvane::plugin
