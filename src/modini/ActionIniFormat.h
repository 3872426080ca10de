#pragma once
// The mod's settings file action.ini over bytes: three team blocks ("[team1]", the team's name,
// its "model/skin" line, "###") and the map rotation ("[maplist]", one map a line, "###").
//
// It is read a line at a time, as the mod reads it: blanks around a line are dropped, a line
// that starts with a double quote loses its quotes, and lines holding only blanks are passed
// over. Headers are recognised in any letter case. The map list ends at "###" or at the next
// line that starts with "[" (the mod's vote sections may follow it); a line of the map list
// starting with "//" is a comment, not a map.
#include <array>
#include <string>
#include <vector>

namespace tolvane::modini {

struct IniTeam {
    bool present = false;       // the file has this team's header
    std::string name;           // as written
    std::string modelSkin;      // the "model/skin" line, as written
};

struct ActionIni {
    std::array<IniTeam, 3> teams;
    std::vector<std::string> maps;   // the rotation in file order, lower-cased
};

ActionIni ParseActionIni(const std::string& content);

// Splits a "model/skin" line at its first "/". A line without one is all model (and no skin).
void SplitModelSkin(const std::string& line, std::string& model, std::string& skin);

// What the window holds for one team.
struct TeamValues {
    std::string name;
    std::string model;
    std::string skin;
};

// The file for the teams and the rotation, given the old file's bytes (nullptr when there was
// none). Rotation texts lose one trailing "*" (the duplicate marker). Lines end with CR LF.
//
// Without an old file: teams 1 and 2, team 3 only when its name, model and skin are all set,
// then the map list. With one: every line the editor does not own is kept byte for byte and in
// place. A team block of the old file is rewritten in place (its header in lower case, since the
// mod compares headers exactly); a team the old file lacks is not added. The old map list is
// replaced by the rotation, its "//" comment lines kept right after the header; a file without
// a map list gets one at its end.
std::string BuildActionIni(const std::array<TeamValues, 3>& teams, const std::vector<std::string>& rotation,
                           const std::string* oldContent);

}  // namespace tolvane::modini
