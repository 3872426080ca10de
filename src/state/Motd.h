#pragma once
// The message-of-the-day text file shown in the MOTD text box.
#include <string>

#include "form/Controls.h"
#include "state/AppState.h"

namespace tolvane {

// Loads strModDir\name into the box. Clears bMOTDChanged first; the box's own change handler
// sets it again when the loaded text differs from the empty box.
void ReadMOTD(const Context& ctx, form::TextBox& motdText, const std::string& name);
// Writes the box to strModDir\strMOTDFileName when bMOTDChanged is set. Returns false when the
// write failed (already reported).
bool WriteMOTD(const Context& ctx, const form::TextBox& motdText);

}  // namespace tolvane
