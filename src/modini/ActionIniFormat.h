#pragma once
// The mod's settings file action.ini over bytes: three team blocks ("[team1]", the team's name,
// its "model/skin" line, "###") and the map rotation ("[maplist]", one map a line, "###").
//
// It is read a line at a time, as the mod reads it: blanks around a line are dropped, a line
// that starts with a double quote loses its quotes. Blank lines, "//" comments and lines that
// start with "[" but hold no "]" are passed over. A section starts at a line "[name]" (any
// letter case, anything after the "]" ignored) and ends at the next section or at a line
// starting with "###". The first two lines of a team section are its name and its model/skin.
// Every "[maplist]" section adds its maps to the rotation, as the mod's reader does.
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
    std::vector<std::string> maps;   // the rotation in file order, spelt as written
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
// place, and so is every team line whose value the window still holds (a name or model line
// is written anew only when its value changed; a header the mod would not recognise is
// written in lower case). A team the old file lacks is not added, except a third team whose
// name, model and skin are all set: its block goes before the first map list. The first map
// list takes the rotation, its comments and other passed-over lines staying beside the maps
// they stood before; later map lists lose their header and maps (the first one now holds
// them). A file without a map list gets one at its end.
std::string BuildActionIni(const std::array<TeamValues, 3>& teams, const std::vector<std::string>& rotation,
                           const std::string* oldContent);

// True when the old file (parsed) already says what the window holds for team i, so a save
// leaves that team's lines as they are.
bool TeamAsInFile(const ActionIni& old, std::size_t i, const TeamValues& values);

}  // namespace tolvane::modini
