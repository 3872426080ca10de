#pragma once
// The controls of the main window that the application shell owns or prepares at start-up:
// the configuration list and buttons, the About area, the MOTD box, the team viewer buttons and
// model lists, the script grids, the plug-in choice lists and the four ban grids.
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

    // "Scripts": scripts to execute (filled from the server settings file's exec lines) and
    // scripts available.
    form::Grid ScriptList{"ScriptList"};
    form::Grid ScriptDir{"ScriptDir"};

    // "Team 2": viewer buttons, their help label and the three model lists.
    form::Button Team1Viewer{"Team1Viewer"};
    form::Button Team2Viewer{"Team2Viewer"};
    form::Button Team3Viewer{"Team3Viewer"};
    form::Label SkinViewHelp{"SkinViewHelp"};
    form::ComboList Team1Model{"Team1Model"};
    form::ComboList Team2Model{"Team2Model"};
    form::ComboList Team3Model{"Team3Model"};

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
