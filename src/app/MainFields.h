#pragma once
// The controls of the main window that the application shell owns or prepares at start-up:
// the configuration list and buttons, the About area, the MOTD box, the team viewer buttons and
// model lists, and the map and script grids. The plug-in's controls live in plugin/PluginFields.h.
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

};

}  // namespace tolvane::app
