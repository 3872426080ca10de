#include "modini/ActionIniFormat.h"

#include "state/TextReaders.h"

namespace tolvane::modini {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The item a line stands for: blanks around it dropped; a line starting with a double quote
// runs to the closing quote, without the quotes.
std::string Item(const std::string& line) {
    std::size_t start = 0;
    std::size_t end = line.size();
    while (start < end && IsBlank(line[start])) ++start;
    while (end > start && IsBlank(line[end - 1])) --end;
    if (start < end && line[start] == '"') {
        const std::size_t close = line.find('"', start + 1);
        return line.substr(start + 1, (close == std::string::npos ? end : close) - start - 1);
    }
    return line.substr(start, end - start);
}

// 0, 1 or 2 for a team header in any letter case; -1 otherwise.
int TeamHeader(const std::string& lowerItem) {
    if (lowerItem == "[team1]") return 0;
    if (lowerItem == "[team2]") return 1;
    if (lowerItem == "[team3]") return 2;
    return -1;
}

bool IsComment(const std::string& item) { return item.size() >= 2 && item[0] == '/' && item[1] == '/'; }
bool StartsSection(const std::string& item) { return !item.empty() && item[0] == '['; }

// A header or an end mark: a team block that meets one is cut short there, so a file that ends
// a block early never has a header taken for a team name.
bool EndsBlock(const std::string& item) { return StartsSection(item) || item == "###"; }

struct Line {
    std::string raw;
    std::string item;
};

std::vector<Line> Lines(const std::string& content) {
    std::vector<Line> lines;
    for (auto& raw : SplitLines(content)) {
        std::string item = Item(raw);
        lines.push_back({std::move(raw), std::move(item)});
    }
    return lines;
}

// Index of the next line after `from` holding an item, or lines.size().
std::size_t NextItem(const std::vector<Line>& lines, std::size_t from) {
    while (from < lines.size() && lines[from].item.empty()) ++from;
    return from;
}

// Reads the two items after a team header at `at`, passing over "//" comment lines as the mod
// does (collected in `comments` when given); returns the index of the last line used.
std::size_t ReadTeamBlock(const std::vector<Line>& lines, std::size_t at, IniTeam& team,
                          std::vector<std::string>* comments = nullptr) {
    team.present = true;
    team.name.clear();
    team.modelSkin.clear();
    std::string* fields[] = {&team.name, &team.modelSkin};
    for (std::string* field : fields) {
        std::size_t next = NextItem(lines, at + 1);
        while (next < lines.size() && IsComment(lines[next].item)) {
            if (comments) comments->push_back(lines[next].raw);
            at = next;
            next = NextItem(lines, at + 1);
        }
        if (next >= lines.size() || EndsBlock(lines[next].item)) break;
        *field = lines[next].item;
        at = next;
    }
    return at;
}

}  // namespace

void SplitModelSkin(const std::string& line, std::string& model, std::string& skin) {
    const std::size_t slash = line.find('/');
    model = line.substr(0, slash);
    skin = slash == std::string::npos ? std::string() : line.substr(slash + 1);
}

ActionIni ParseActionIni(const std::string& content) {
    ActionIni ini;
    const std::vector<Line> lines = Lines(content);
    bool inMapList = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].item.empty()) continue;
        const std::string item = LowerCase(lines[i].item);
        if (item == "###" || StartsSection(item)) inMapList = false;
        if (inMapList) {
            if (!IsComment(item)) ini.maps.push_back(item);
            continue;
        }
        if (const int team = TeamHeader(item); team >= 0) i = ReadTeamBlock(lines, i, ini.teams[static_cast<std::size_t>(team)]);
        else if (item == "[maplist]") inMapList = true;
    }
    return ini;
}

std::string BuildActionIni(const std::array<TeamValues, 3>& teams, const std::vector<std::string>& rotation,
                           const std::string* oldContent) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    auto teamBlock = [&](std::size_t team, const std::vector<std::string>& comments) {
        line("[team" + std::to_string(team + 1) + "]");
        for (const auto& comment : comments) line(comment);
        line(teams[team].name);
        line(teams[team].model + "/" + teams[team].skin);
    };
    auto mapList = [&](const std::vector<std::string>& comments) {
        line("[maplist]");
        for (const auto& comment : comments) line(comment);
        for (const auto& map : rotation) line(!map.empty() && map.back() == '*' ? map.substr(0, map.size() - 1) : map);
        line("###");
    };

    if (!oldContent) {
        for (std::size_t team = 0; team < 2; ++team) {
            teamBlock(team, {});
            line("###");
        }
        if (!teams[2].name.empty() && !teams[2].model.empty() && !teams[2].skin.empty()) {
            teamBlock(2, {});
            line("###");
        }
        mapList({});
        return out;
    }

    const std::vector<Line> lines = Lines(*oldContent);
    bool mapListWritten = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string item = LowerCase(lines[i].item);
        if (const int team = TeamHeader(item); team >= 0) {
            IniTeam dropped;
            std::vector<std::string> comments;
            i = ReadTeamBlock(lines, i, dropped, &comments);
            teamBlock(static_cast<std::size_t>(team), comments);
            // The mod reads a team block up to its "###": a block that lacked one gets it, or
            // the mod would take the next section for the team's lines.
            const std::size_t next = NextItem(lines, i + 1);
            if (next >= lines.size() || lines[next].item != "###") line("###");
            continue;
        }
        if (item == "[maplist]" && !mapListWritten) {
            // The old list runs to its "###" (which the new list's "###" replaces) or up to the
            // next section, which is kept.
            std::vector<std::string> comments;
            std::size_t j = i + 1;
            for (; j < lines.size(); ++j) {
                const std::string& listed = lines[j].item;
                if (listed == "###") break;
                if (StartsSection(listed)) {
                    --j;
                    break;
                }
                if (IsComment(listed)) comments.push_back(lines[j].raw);
            }
            mapList(comments);
            mapListWritten = true;
            i = j < lines.size() ? j : lines.size();
            continue;
        }
        line(lines[i].raw);
    }
    if (!mapListWritten) mapList({});
    return out;
}

}  // namespace tolvane::modini
