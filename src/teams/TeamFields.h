#pragma once
// The controls of the "Team 2" tab: a player model list and a skin viewer button per team, and
// the help line shown when no viewer is installed. Start-up fills the lists from the players
// directories and sets the buttons after the viewer it finds.
#include <array>
#include <string>

#include "form/Controls.h"
#include "form/Form.h"
#include "platform/FileSystem.h"

namespace tolvane::teams {

struct TeamFields {
    // Sets the buttons' captions and tool tips and the help line's text (hidden at first).
    TeamFields();
    TeamFields(const TeamFields&) = delete;
    TeamFields& operator=(const TeamFields&) = delete;

    form::Button Team1Viewer{"Team1Viewer"};
    form::Button Team2Viewer{"Team2Viewer"};
    form::Button Team3Viewer{"Team3Viewer"};
    form::Label SkinViewHelp{"SkinViewHelp"};
    form::ComboList Team1Model{"Team1Model"};
    form::ComboList Team2Model{"Team2Model"};
    form::ComboList Team3Model{"Team3Model"};

    std::array<form::ComboList*, 3> modelLists() { return {&Team1Model, &Team2Model, &Team3Model}; }
    std::array<form::Button*, 3> viewerButtons() { return {&Team1Viewer, &Team2Viewer, &Team3Viewer}; }
};

// Lists the three model lists, and tracks the buttons and the help line, in window order.
void RegisterTeamFields(form::Form& form, TeamFields& fields);

// The viewer buttons follow the viewer found in the Quake 2 directory: AQSkinView (a game
// directory) wins over MD2View (a program); with neither the buttons are off and the help line
// says why.
void DetectViewers(const platform::FileSystem& fs, TeamFields& fields);

// Every entry of baseq2\players and of the mod's players directory is a model, the game's first;
// a model present in both is listed twice, as each directory contributes its own.
void ListPlayerModels(const platform::FileSystem& fs, const std::string& modDir, TeamFields& fields);

}  // namespace tolvane::teams
