#pragma once
// Writing the server configuration script. The file is merged, not written from scratch (see
// BuildServerCfg); this is the file shell that reads the old file and replaces it safely.
#include <string>

#include "form/Controls.h"
#include "settings/ServerCfgFormat.h"
#include "settings/ServerFields.h"
#include "state/AppState.h"

namespace tolvane::settings {

// Writes strModDir\strServerCfgFileName through the temporary file strModDir\server.tmp, keeping
// the old file as its backup. A missing mod directory is reported and nothing is written.
// Returns false when nothing was written (every failure has been reported).
bool WriteServerCfg(const Context& ctx, const ServerFields& fields, const form::Grid& scriptList,
                    const form::Grid& mapIni);

}  // namespace tolvane::settings
