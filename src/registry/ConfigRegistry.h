#pragma once
// The named configurations kept in tolvane.ini in the mod directory: line 1 names the current
// configuration, every further line is a record of four quoted fields (name, server settings
// file, mod settings file, command line); the current record is always last.
#include <string>

#include "form/Controls.h"
#include "state/AppState.h"

namespace tolvane::registry {

// True when some item of the list is exactly (case included) equal to text.
bool InComboBox(const form::ComboList& list, const std::string& text);

// Reads tolvane.ini. With an empty name: lists every configuration in the list, takes the
// current configuration's name into `name` and loads its record. With a name: loads the
// record of that name (matched ignoring case).
void ReadConfigRegistry(const Context& ctx, form::ComboList& configNameList, form::TextBox& commandLine,
                        std::string& name);

// Rewrites tolvane.ini with the current configuration recorded last and marked current.
// Returns false when the write failed (already reported).
bool SaveConfig(const Context& ctx, const form::TextBox& commandLine);

}  // namespace tolvane::registry
