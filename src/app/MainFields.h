#pragma once
// The controls of the main window that the application shell owns or prepares at start-up:
// the configuration list and buttons, the About area and the MOTD box. The maps, plug-in, teams
// and scripts own their controls (maps/, plugin/, teams/, scripts/).
#include "form/Controls.h"

namespace tolvane::app {

struct MainFields {
    // Window-level state the program changes.
    std::string windowTitle;
    bool bwAdmin1TabEnabled = true;   // the "BW Admin 1" tab (index 8)

    form::ComboList ConfigNameList{"ConfigNameList"};
    form::TextBox CommandLine{"CommandLine"};
    form::Button ButtonLoad{"ButtonLoad"};
    form::Button ButtonSave{"ButtonSave"};
    form::Button ButtonStart{"ButtonStart"};
    form::Button ButtonCancel{"ButtonCancel"};
    form::Button ButtonAbout{"ButtonAbout"};
    form::Label AboutBox{"AboutBox"};

    // "Server 3": the message of the day.
    form::TextBox MOTDText{"MOTDText", true};

};

}  // namespace tolvane::app
