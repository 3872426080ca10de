#pragma once
// Text fields the server configuration writes between double quotes (host name, admin name,
// web site, location, e-mail) or as one word (the remote console password). The game's
// console has no escape for a double quote inside such a value, so one typed would read back
// cut short: typing (or setting from the command line) a double quote is refused, and the field
// keeps its text. A value read from a file is the operator's own and is taken as it stands.
#include "form/Controls.h"
#include "state/AppState.h"

namespace tolvane::settings {

// The message shown when a double quote is refused in the field with that label.
std::string DoubleQuoteRefusal(const std::string& label);

// Connects the refusal to a box: a typed text holding more double quotes than the box's last
// accepted text is replaced by that text, and the message is shown once. While `reading` is
// true (a file is being read) every text is accepted. The box also gets the rule as a typing
// rule, so that the command line refuses such a text before setting it. The context and the
// flag must outlive the box.
void RefuseDoubleQuotes(const Context& ctx, form::TextBox& box, const bool& reading);

}  // namespace tolvane::settings
