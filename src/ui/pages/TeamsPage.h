#pragma once
// The "Team 2" tab: a model list and a skin viewer button for each of the three teams, and the
// help line shown when no viewer was found.
#include "ui/QtSetup.h"  // first: see there

#include "teams/TeamFields.h"

class QWidget;

namespace tolvane::ui {

class Bindings;

QWidget* BuildTeamPage(Bindings& b, teams::TeamFields& fields);

}  // namespace tolvane::ui
