#pragma once
// Every web address the windows link to, in one place. Only public pages of the game and the
// mod that have stayed put for years belong here. The two skin viewers have no home page that
// can be relied on, so they are left without a link.
namespace tolvane::ui::links {

// The mod, maintained as "The Next Generation"; its three-team play (use_3teams) is the
// three-team variant a third team's settings are for.
inline constexpr const char* kThreeTeams = "https://github.com/actionquake/aq2-tng";
inline constexpr const char* kThreeTeamsText = "Action Quake 2 with three teams (use_3teams in The Next Generation)";

}  // namespace tolvane::ui::links
