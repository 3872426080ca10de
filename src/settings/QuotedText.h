#pragma once
// Text fields the server configuration writes between double quotes (host name, admin name,
// web site, location, e-mail) or as one word (the remote console password). The game's
// console has no escape for a double quote inside such a value, so it would read back cut
// short: a double quote is refused where it is typed or set, and the field keeps its text.
#include "form/Controls.h"
#include "state/AppState.h"

namespace tolvane::settings {

// The message shown when a double quote is refused in the field with that label.
std::string DoubleQuoteRefusal(const std::string& label);

// Connects the refusal to a box: a text holding a double quote is replaced by the box's last
// text without one, and the message is shown once. The context must outlive the box.
void RefuseDoubleQuotes(const Context& ctx, form::TextBox& box);

}  // namespace tolvane::settings
