#pragma once
// The plug-in's two files on disk: where each is found (the mod directory's copy wins over the
// Quake 2 directory's), reading at start-up, and the checked, atomic rewrite in the save.
#include "plugin/PluginFields.h"
#include "state/AppState.h"

namespace tolvane::plugin {

// Reads bw-admin.cfg into the settings; shows the three notices when there is none.
void ReadBWAdminCfg(const Context& ctx, PluginFields& fields);
// Rewrites bw-admin.cfg from the settings; false (after a message) when nothing could be saved.
bool WriteBWAdminCfg(const Context& ctx, const PluginFields& fields);

// Appends the entries of the ban list to the four grids; nothing when there is no list.
void ReadBanList(const Context& ctx, PluginFields& fields);
// Rewrites server_bans.txt from the grids, creating it in the Quake 2 directory when there is
// none; false (after a message) when the write failed.
bool WriteBanList(const Context& ctx, const PluginFields& fields);

}  // namespace tolvane::plugin
