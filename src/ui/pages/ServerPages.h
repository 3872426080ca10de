#pragma once
// The tabs of the server settings ("Server 1", "Server 2", "Server 3", "Game Spy", "Teams 1"),
// laid out from the settings' own table of places, with the two shell controls that share them:
// the command line options on "Server 1" and the message of the day on "Server 3".
#include "ui/QtSetup.h"  // first: see there

#include <map>
#include <string>

#include "form/Controls.h"
#include "settings/ServerFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

// One page per tab named in the table of places, by tab name.
std::map<std::string, QWidget*> BuildServerPages(Bindings& b, settings::ServerFields& fields, form::TextBox& commandLine,
                                                 form::TextBox& motd);

}  // namespace tolvane::ui
