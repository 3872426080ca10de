#pragma once
// What the "Team 2" tab's controls do: a new model refills its team's skin list, a chosen skin
// (in MD2View mode) finds the files the viewer will show, the viewer buttons start the viewer,
// and every change of a team marks action.ini for writing.
#include <string>

#include "platform/Process.h"
#include "state/AppState.h"
#include "teams/TeamFields.h"

namespace tolvane::teams {

// Ties the team controls' handlers to the state; they live as long as the fields. A name the
// mod would misread is refused where it is typed or set: the box goes back to its last text and
// a message says why (names the reader sets are taken as the file holds them).
void ConnectTeamFields(const Context& ctx, platform::ProcessLauncher& launcher, TeamFields& fields);

// The handlers by team (0, 1, 2), as the window's events call them.
void TeamModel_Click(const Context& ctx, TeamFields& fields, std::size_t team);
void TeamSkin_Click(const Context& ctx, TeamFields& fields, std::size_t team);
void TeamViewer_Click(const Context& ctx, platform::ProcessLauncher& launcher, TeamFields& fields, std::size_t team);

// Why the mod (or the editor reading its file back) would not read the team name `name`,
// typed over `now`, as typed; empty when it would. Trailing blanks are not refused: the editor
// writes the name without them, and typing a name of two words passes through one.
std::string TeamNameRefusal(const std::string& now, const std::string& name);

// The command line the team's viewer button runs.
std::string ViewerCommandLine(TeamFields& fields, std::size_t team);

}  // namespace tolvane::teams
