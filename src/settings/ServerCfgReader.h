#pragma once
// Reading the server configuration script (a Quake 2 console script in the mod directory) into
// the server settings. Only the variables the editor owns are taken; "exec" lines fill the
// script list. The lines themselves are understood by ServerCfgFormat.
#include <string>

#include "form/Controls.h"
#include "settings/ServerCfgFormat.h"
#include "settings/ServerFields.h"
#include "state/AppState.h"

namespace tolvane::settings {

// Reads strModDir\fileName into the fields. The script list is emptied first, even when the
// file is missing; fields the file does not mention keep their values. A missing directory or
// file is skipped silently. Shows "Processing <path>..." on the progress line meanwhile.
void ReadServerCfg(const Context& ctx, ServerFields& fields, form::Grid& scriptList, const std::string& fileName);

}  // namespace tolvane::settings
