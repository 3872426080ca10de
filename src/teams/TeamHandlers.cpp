#include "teams/TeamHandlers.h"

#include <algorithm>
#include <memory>

#include "state/FileUtils.h"

namespace tolvane::teams {

namespace {

bool Md2ViewMode(TeamFields& fields, std::size_t team) { return fields.viewerButtons()[team]->caption() == "MD2View"; }

}  // namespace

void TeamModel_Click(const Context& ctx, TeamFields& fields, std::size_t team) {
    form::ComboList& skins = *fields.skinLists()[team];
    ScanPlayerSkins(ctx, skins, fields.modelLists()[team]->text());
    if (skins.count() > 0) skins.setSelectedIndex(0);
    ctx.state.bActionIniChanged = true;
    fields.ShowTeam3Absence();
}

void TeamSkin_Click(const Context& ctx, TeamFields& fields, std::size_t team) {
    if (Md2ViewMode(fields, team)) {
        const std::string model = fields.modelLists()[team]->text();
        const std::string skin = fields.skinLists()[team]->text();
        const std::string inMod = ctx.state.strModDir + "\\players\\" + model + "\\" + skin + ".pcx";
        const std::string inGame = "baseq2\\players\\" + model + "\\" + skin + ".pcx";
        std::string found;
        if (FileExists(ctx.fs, inMod)) found = inMod;
        else if (FileExists(ctx.fs, inGame)) found = inGame;
        if (!found.empty()) {
            fields.skinPath[team] = found;
            // The viewer reads the model from the game's players directory only.
            const std::string tris = "baseq2\\players\\" + model + "\\tris.md2";
            const bool hasModel = FileExists(ctx.fs, tris);
            if (hasModel) fields.modelPath[team] = tris;
            fields.viewerButtons()[team]->setEnabled(hasModel);
        }
    }
    ctx.state.bActionIniChanged = true;
    fields.ShowTeam3Absence();
}

std::string ViewerCommandLine(TeamFields& fields, std::size_t team) {
    if (Md2ViewMode(fields, team)) return "md2view.exe " + fields.modelPath[team] + " " + fields.skinPath[team];
    return "quake2 +set game aqskinview +skin \"" + fields.modelLists()[team]->text() + "/" +
           fields.skinLists()[team]->text() + "\" +exec skinview.cfg";
}

void TeamViewer_Click(const Context& ctx, platform::ProcessLauncher& launcher, TeamFields& fields, std::size_t team) {
    const std::string commandLine = ViewerCommandLine(fields, team);
    std::string error;
    if (launcher.start(commandLine, platform::WindowMode::Minimised, error)) return;
    // The viewer is not looked for before the start; a failed start says which program and why.
    const auto args = platform::SplitCommandLine(commandLine);
    ctx.message("Cannot start " + (args.empty() ? commandLine : args.front()) + ": " + error);
}

std::string TeamNameRefusal(const std::string& now, const std::string& name) {
    const std::string head = "You cannot give a team that name!\r";
    if (name.empty()) return head + "The mod skips an empty line and would read the model line as the name.";
    if (name[0] == '[') return head + "The mod would read a name starting with \"[\" as the start of a section.";
    if (name.compare(0, 2, "//") == 0) return head + "The mod would read a name starting with \"//\" as a comment.";
    if (name.compare(0, 3, "###") == 0)
        return head + "The mod would read a name starting with \"###\" as the end of the team's block.";
    if (name[0] == ' ' || name[0] == '\t') return head + "A name starting with a blank would read back without it.";
    // Only a new double quote: a name read with one can still be edited.
    if (std::count(name.begin(), name.end(), '"') > std::count(now.begin(), now.end(), '"'))
        return head + "The scoreboard shows the name between double quotes, so it cannot hold one (\").";
    if (name.find_first_of("\r\n") != std::string::npos) return head + "A name is one line: it cannot hold a line break.";
    return {};
}

void ConnectTeamFields(const Context& ctx, platform::ProcessLauncher& launcher, TeamFields& fields) {
    for (std::size_t team = 0; team < 3; ++team) {
        form::TextBox& box = *fields.nameBoxes()[team];
        // The last accepted text, to go back to; the start text is a valid name.
        auto accepted = std::make_shared<std::string>(box.text());
        // A third team the file lacks may be left (or made) empty again: it is not written then.
        const auto refusal = [&fields, team](const std::string& now, const std::string& name) {
            if (team == 2 && !fields.team3InFile && name.empty()) return std::string();
            return TeamNameRefusal(now, name);
        };
        // A set from the command line is refused before it is made, with the reason.
        box.addTypingRule(refusal);
        box.changed.attach([&ctx, &fields, &box, accepted, refusal] {
            if (box.text() == *accepted) return;   // back at the last accepted text
            const std::string refused = fields.namesFromFile ? std::string() : refusal(*accepted, box.text());
            if (!refused.empty()) {
                ctx.message(refused);
                box.setText(*accepted);
                return;
            }
            *accepted = box.text();
            ctx.state.bActionIniChanged = true;
            fields.ShowTeam3Absence();
        });
        fields.modelLists()[team]->selected.attach([&ctx, &fields, team] { TeamModel_Click(ctx, fields, team); });
        fields.skinLists()[team]->selected.attach([&ctx, &fields, team] { TeamSkin_Click(ctx, fields, team); });
        fields.viewerButtons()[team]->clicked.attach(
            [&ctx, &launcher, &fields, team] { TeamViewer_Click(ctx, launcher, fields, team); });
    }
}

}  // namespace tolvane::teams
