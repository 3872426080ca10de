#pragma once
// The named configurations kept in tolvane.ini in the mod directory: line 1 names the current
// configuration, every further line is a record of four quoted fields (name, server settings
// file, mod settings file, command line); the current record is always last.
#include <optional>
#include <string>

#include "form/Controls.h"
#include "state/AppState.h"

namespace tolvane::registry {

// The item of the list equal to name ignoring case, or nothing. Configuration names are
// compared this way everywhere (the registry matches its records ignoring case), so the list
// never holds two names that differ only in case.
std::optional<std::string> ListedConfigName(const form::ComboList& list, const std::string& name);

// Why name cannot be one of a configuration's files, or "" when it can. Every such file is a
// plain file name in the mod directory, so that no save writes anywhere else: not empty, no
// \ / or : (a folder, a drive or a stream), no "..", no control character.
std::string FileNameProblem(const std::string& name);

// Reads tolvane.ini. With an empty name: lists every configuration in the list, takes the
// current configuration's name into `name` and loads its record. A name already listed under
// another spelling is not listed again; the listed spelling is the one used. With a name: loads the
// record of that name (matched ignoring case).
// A record naming a file that is not a plain name in the mod directory (or naming tolvane.ini
// itself as its mod settings file) is not used: it is not listed, a read of its name changes
// nothing, and a message names the registry, the record and the reason. Its line stays in the
// file as it is.
void ReadConfigRegistry(const Context& ctx, form::ComboList& configNameList, form::TextBox& commandLine,
                        std::string& name);

// Rewrites tolvane.ini with the current configuration recorded last and marked current.
// Returns false when the write failed (already reported).
bool SaveConfig(const Context& ctx, const form::TextBox& commandLine);

}  // namespace tolvane::registry
