#pragma once
// The controls of the main window that the application shell owns or prepares at start-up:
// the configuration list and buttons, the About area, the MOTD box, the map grids, the plug-in
// choice lists and the four ban grids.
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
    form::TextBox MOTDText{"MOTDText"};

    // "Maps": rotation and available maps (origin tags on both).
    form::Grid MapIni{"MapIni"};
    form::Grid MapDir{"MapDir"};

    // "BW Admin 1": the two plug-in choice lists.
    form::ComboList Strict{"Strict"};
    form::ComboList Logging{"Logging"};

    // "BW Bans": the four ban lists.
    form::Grid IPBans{"IPBans"};
    form::Grid NameBans{"NameBans"};
    form::Grid FilterBans{"FilterBans"};
    form::Grid AliasBans{"AliasBans"};

    // "BW Admin 2": element 0 of the notice shown when no bw-admin.cfg was found at start-up.
    form::Label NoBWAdmin0{"NoBWAdmin(0)"};
};

}  // namespace tolvane::app
