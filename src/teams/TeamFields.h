#pragma once
// The controls of the "Team 2" tab: a player model list and a skin viewer button per team, and
// the help line shown when no viewer is installed. Start-up fills the lists from the players
// directories and sets the buttons after the viewer it finds.
#include <array>
#include <string>

#include "form/Controls.h"
#include "form/Form.h"
#include "platform/FileSystem.h"
#include "state/AppState.h"

namespace tolvane::teams {

struct TeamFields {
    // Sets the buttons' captions and tool tips and the help line's text (hidden at first).
    TeamFields();
    TeamFields(const TeamFields&) = delete;
    TeamFields& operator=(const TeamFields&) = delete;

    form::TextBox Team1Name{"Team1Name"};
    form::TextBox Team2Name{"Team2Name"};
    form::TextBox Team3Name{"Team3Name"};
    form::ComboList Team1Skin{"Team1Skin"};
    form::ComboList Team2Skin{"Team2Skin"};
    form::ComboList Team3Skin{"Team3Skin"};
    form::Button Team1Viewer{"Team1Viewer"};
    form::Button Team2Viewer{"Team2Viewer"};
    form::Button Team3Viewer{"Team3Viewer"};
    form::Label SkinViewHelp{"SkinViewHelp"};
    form::ComboList Team1Model{"Team1Model"};
    form::ComboList Team2Model{"Team2Model"};
    form::ComboList Team3Model{"Team3Model"};

    std::array<form::ComboList*, 3> modelLists() { return {&Team1Model, &Team2Model, &Team3Model}; }
    std::array<form::Button*, 3> viewerButtons() { return {&Team1Viewer, &Team2Viewer, &Team3Viewer}; }
    std::array<form::TextBox*, 3> nameBoxes() { return {&Team1Name, &Team2Name, &Team3Name}; }
    std::array<form::ComboList*, 3> skinLists() { return {&Team1Skin, &Team2Skin, &Team3Skin}; }

    // In MD2View mode, per team: the .pcx file of the chosen skin and the model's tris.md2, both
    // empty until a skin with an existing file is chosen.
    std::array<std::string, 3> skinPath;
    std::array<std::string, 3> modelPath;

    // Per team, the model the last file read named that no players directory holds: an extra
    // item of that team's model list, empty when there is none.
    std::array<std::string, 3> extraModel;

    // Shown on the tab while the action.ini read has no third team and team 3 is not filled in:
    // the mod then plays with two teams, and a save writes none.
    form::Label Team3Absent{"Team3Absent"};
    bool team3InFile = true;
    // Team 3 as absent: no name, no model and no skin chosen (the operator may still fill it in).
    void ClearTeam3();
    // Name, model and skin all set: a save adds the team to a file that lacks it.
    bool Team3FilledIn() { return !Team3Name.text().empty() && !Team3Model.text().empty() && !Team3Skin.text().empty(); }
    void ShowTeam3Absence() { Team3Absent.setVisible(!team3InFile && !Team3FilledIn()); }

    // Sets team i's name as a file holds it, past the refusals of typed names.
    void SetNameAsRead(std::size_t i, const std::string& name);
    bool namesFromFile = false;   // true while SetNameAsRead runs
};

// Lists each team's name, model list and skin list, and tracks the buttons and the help line, in window order.
void RegisterTeamFields(form::Form& form, TeamFields& fields);

// The viewer buttons follow the viewer found in the Quake 2 directory: AQSkinView (a game
// directory) wins over MD2View (a program); with neither the buttons are off and the help line
// says why.
void DetectViewers(const platform::FileSystem& fs, TeamFields& fields);

// Every entry of baseq2\players and of the mod's players directory is a model, the game's first;
// a model present in both is listed twice, as each directory contributes its own.
void ListPlayerModels(const platform::FileSystem& fs, const std::string& modDir, TeamFields& fields);

// Refills a skin list with the skins of the model: the .pcx files of baseq2\players\MODEL,
// then of the mod's players\MODEL, lower-cased and without extension, the weapon texture and
// the icons ("_i") left out; then sorted. A skin in both directories is listed twice.
void ScanPlayerSkins(const Context& ctx, form::ComboList& list, const std::string& model);

}  // namespace tolvane::teams
