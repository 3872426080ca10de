#include "modini/ActionIniFormat.h"

#include <map>

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

bool IsComment(const std::string& item) { return item.size() >= 2 && item[0] == '/' && item[1] == '/'; }
bool IsEnd(const std::string& item) { return item.compare(0, 3, "###") == 0; }
bool IsHeader(const std::string& item) { return !item.empty() && item[0] == '[' && item.find(']') != std::string::npos; }
// Lines the mod skips wherever they stand.
bool PassedOver(const std::string& item) {
    return item.empty() || IsComment(item) || (item[0] == '[' && !IsHeader(item));
}
// The name between "[" and the first "]", lower-cased.
std::string SectionName(const std::string& header) { return LowerCase(header.substr(1, header.find(']') - 1)); }

// Whether the mod, which compares section names exactly, reads this raw line as the header.
bool ModReadsHeader(const std::string& raw, const std::string& name) {
    return raw.size() > name.size() + 1 && raw[0] == '[' && raw.compare(1, name.size(), name) == 0 &&
           raw[name.size() + 1] == ']';
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct TeamBlock {
    std::size_t team;
    std::size_t header;
    std::size_t nameLine = kNone;
    std::size_t modelLine = kNone;
    std::size_t endLine = kNone;   // its "###", when it has one
    std::size_t last = kNone;      // the last line of its section
};

struct MapList {
    std::size_t header = 0;
    std::vector<std::size_t> mapLines;
    std::size_t endLine = kNone;
    std::size_t last = kNone;
};

enum class Role { Foreign, TeamHeader, TeamName, TeamModel, MapHeader, Map, MapEnd };

// The file's lines, each with the part it plays.
struct Layout {
    std::vector<std::string> raw;
    std::vector<std::string> items;
    std::vector<Role> roles;
    std::vector<std::size_t> owner;   // the team block or map list a line belongs to
    std::vector<TeamBlock> teams;
    std::vector<MapList> lists;
};

Layout Scan(const std::string& content) {
    Layout l;
    l.raw = SplitLines(content);
    l.items.reserve(l.raw.size());
    for (const auto& raw : l.raw) l.items.push_back(Item(raw));
    l.roles.assign(l.raw.size(), Role::Foreign);
    l.owner.assign(l.raw.size(), kNone);
    enum class In { Nothing, Team, Maps, Other } in = In::Nothing;
    auto close = [&](std::size_t last) {
        if (in == In::Team) l.teams.back().last = last;
        if (in == In::Maps) l.lists.back().last = last;
    };
    for (std::size_t i = 0; i < l.raw.size(); ++i) {
        const std::string& item = l.items[i];
        if (PassedOver(item)) continue;
        if (IsHeader(item)) {
            close(i - 1);
            const std::string name = SectionName(item);
            if (name == "team1" || name == "team2" || name == "team3") {
                l.teams.push_back({static_cast<std::size_t>(name[4] - '1'), i});
                l.roles[i] = Role::TeamHeader;
                l.owner[i] = l.teams.size() - 1;
                in = In::Team;
            } else if (name == "maplist") {
                l.lists.emplace_back();
                l.lists.back().header = i;
                l.roles[i] = Role::MapHeader;
                l.owner[i] = l.lists.size() - 1;
                in = In::Maps;
            } else {
                in = In::Other;
            }
            continue;
        }
        if (IsEnd(item)) {
            if (in == In::Team) l.teams.back().endLine = i;
            if (in == In::Maps) {
                l.lists.back().endLine = i;
                l.roles[i] = Role::MapEnd;
                l.owner[i] = l.lists.size() - 1;
            }
            close(i);
            in = In::Nothing;
            continue;
        }
        if (in == In::Team) {
            TeamBlock& b = l.teams.back();
            Role role = Role::Foreign;
            if (b.nameLine == kNone) {
                b.nameLine = i;
                role = Role::TeamName;
            } else if (b.modelLine == kNone) {
                b.modelLine = i;
                role = Role::TeamModel;
            }
            l.roles[i] = role;
            if (role != Role::Foreign) l.owner[i] = l.teams.size() - 1;
        } else if (in == In::Maps) {
            l.lists.back().mapLines.push_back(i);
            l.roles[i] = Role::Map;
            l.owner[i] = l.lists.size() - 1;
        }
    }
    close(l.raw.size() - 1);
    return l;
}

ActionIni FromLayout(const Layout& l) {
    ActionIni ini;
    // A later block of a team overrides, line by line, what an earlier one said (the mod copies
    // each line it finds over the last).
    for (const TeamBlock& b : l.teams) {
        IniTeam& t = ini.teams[b.team];
        t.present = true;
        if (b.nameLine != kNone) t.name = l.items[b.nameLine];
        if (b.modelLine != kNone) t.modelSkin = l.items[b.modelLine];
    }
    for (const MapList& list : l.lists)
        for (std::size_t i : list.mapLines) ini.maps.push_back(l.items[i]);
    return ini;
}

std::string WithoutMarker(const std::string& map) {
    return !map.empty() && map.back() == '*' ? map.substr(0, map.size() - 1) : map;
}

// A name as written: the editor reads a line without its trailing blanks, so none are written.
std::string NameLine(const std::string& name) {
    std::size_t end = name.size();
    while (end > 0 && IsBlank(name[end - 1])) --end;
    return name.substr(0, end);
}

std::string ModelSkinLine(const TeamValues& t) { return t.model + "/" + t.skin; }

bool SameModelSkin(const std::string& line, const TeamValues& t) {
    std::string model, skin;
    SplitModelSkin(line, model, skin);
    return model == t.model && skin == t.skin;
}

}  // namespace

void SplitModelSkin(const std::string& line, std::string& model, std::string& skin) {
    const std::size_t slash = line.find('/');
    model = line.substr(0, slash);
    skin = slash == std::string::npos ? std::string() : line.substr(slash + 1);
}

ActionIni ParseActionIni(const std::string& content) { return FromLayout(Scan(content)); }

bool TeamAsInFile(const ActionIni& old, std::size_t i, const TeamValues& values) {
    const IniTeam& t = old.teams[i];
    return t.present && t.name == values.name && SameModelSkin(t.modelSkin, values);
}

std::string BuildActionIni(const std::array<TeamValues, 3>& teams, const std::vector<std::string>& rotation,
                           const std::string* oldContent) {
    std::string out;
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    auto teamBlock = [&](std::size_t team) {
        line("[team" + std::to_string(team + 1) + "]");
        line(NameLine(teams[team].name));
        line(ModelSkinLine(teams[team]));
        line("###");
    };

    if (!oldContent) {
        teamBlock(0);
        teamBlock(1);
        if (!teams[2].name.empty() && !teams[2].model.empty() && !teams[2].skin.empty()) teamBlock(2);
        line("[maplist]");
        for (const auto& map : rotation) line(WithoutMarker(map));
        line("###");
        return out;
    }

    const Layout l = Scan(*oldContent);
    const ActionIni old = FromLayout(l);
    // A third team the file lacks is added only once the operator has filled it in; it goes
    // before the first map list (or the one appended at the end).
    bool addTeam3 = !old.teams[2].present && !teams[2].name.empty() && !teams[2].model.empty() && !teams[2].skin.empty();

    // A team line is written anew only when the window holds another value than the file as a
    // whole says (the mod takes each line from the last block that has it): then every block's
    // line of that kind takes it. A line no block has goes into the team's last block.
    std::array<bool, 3> nameChanged{}, modelChanged{}, hasName{}, hasModel{};
    std::array<std::size_t, 3> lastBlock{kNone, kNone, kNone};
    for (std::size_t t = 0; t < 3; ++t) {
        nameChanged[t] = old.teams[t].name != teams[t].name;
        modelChanged[t] = !SameModelSkin(old.teams[t].modelSkin, teams[t]);
    }
    for (std::size_t b = 0; b < l.teams.size(); ++b) {
        const TeamBlock& block = l.teams[b];
        hasName[block.team] = hasName[block.team] || block.nameLine != kNone;
        hasModel[block.team] = hasModel[block.team] || block.modelLine != kNone;
        lastBlock[block.team] = b;
    }
    struct Additions {
        bool name = false, model = false;
    };
    std::vector<Additions> adds(l.teams.size());
    for (std::size_t t = 0; t < 3; ++t) {
        if (lastBlock[t] == kNone) continue;
        Additions& a = adds[lastBlock[t]];
        a.model = modelChanged[t] && !hasModel[t];
        // The model is the block's second line: a block without a name line gets one first.
        a.name = (nameChanged[t] && !hasName[t]) || (a.model && l.teams[lastBlock[t]].nameLine == kNone);
    }
    auto blockChanged = [&](std::size_t b) {
        const std::size_t t = l.teams[b].team;
        return adds[b].name || adds[b].model || (nameChanged[t] && l.teams[b].nameLine != kNone) ||
               (modelChanged[t] && l.teams[b].modelLine != kNone);
    };
    // The first map list takes the whole rotation. A map read from the file keeps its line.
    // The first list's other lines (comments, blank lines) stay at its head when they stood
    // before its first map, at its end when after its last; the others go with the map they
    // stood before, and a map no longer in the rotation hands them on to the next.
    // Later lists lose their header and maps: the mod adds every list to one rotation, so the
    // window shows them merged and the file now says so once.
    const bool hasList = !l.lists.empty();
    std::vector<std::size_t> mapLines;   // every list's, in file order
    for (const MapList& list : l.lists) mapLines.insert(mapLines.end(), list.mapLines.begin(), list.mapLines.end());
    std::vector<std::vector<std::size_t>> before(mapLines.size() + 1);   // the last entry: the end
    if (hasList) {
        const MapList& first = l.lists[0];
        std::size_t k = 0;
        const std::size_t stop = first.endLine != kNone ? first.endLine : first.last;
        for (std::size_t i = first.header + 1; i <= stop && i < l.raw.size(); ++i) {
            if (l.roles[i] == Role::Map) ++k;
            else if (l.roles[i] == Role::Foreign) before[k].push_back(i);
        }
        // The lines after the last map are the end's (with no map, they are the head's).
        if (k > 0 && k < mapLines.size()) before.back().swap(before[k]);
    }
    std::vector<std::size_t> fromFile(rotation.size(), kNone);
    std::map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t m = mapLines.size(); m-- > 0;) byName[l.items[mapLines[m]]].push_back(m);
    std::vector<bool> kept(mapLines.size(), false);
    for (std::size_t r = 0; r < rotation.size(); ++r) {
        // A row's text may carry the duplicate marker; a name read from the file may itself end
        // in "*".
        auto it = byName.find(rotation[r]);
        if (it == byName.end() || it->second.empty()) it = byName.find(WithoutMarker(rotation[r]));
        if (it == byName.end() || it->second.empty()) continue;
        fromFile[r] = it->second.back();
        kept[it->second.back()] = true;
        it->second.pop_back();
    }
    for (std::size_t m = 1; m < kept.size(); ++m) {
        if (kept[m] || before[m].empty()) continue;
        auto& next = before[m + 1];
        next.insert(next.begin(), before[m].begin(), before[m].end());
        before[m].clear();
    }
    auto writeRotation = [&] {
        for (std::size_t i : before[0]) line(l.raw[i]);
        for (std::size_t r = 0; r < rotation.size(); ++r) {
            if (fromFile[r] == kNone) {
                line(WithoutMarker(rotation[r]));
                continue;
            }
            if (fromFile[r] > 0)
                for (std::size_t i : before[fromFile[r]]) line(l.raw[i]);
            line(l.raw[mapLines[fromFile[r]]]);
        }
        if (before.size() > 1)
            for (std::size_t i : before.back()) line(l.raw[i]);
    };

    std::size_t block = kNone;   // the team block being copied
    for (std::size_t i = 0; i < l.raw.size(); ++i) {
        const Role role = l.roles[i];
        const std::size_t owner = l.owner[i];
        if (role == Role::TeamHeader) {
            block = owner;
            // The mod compares section names exactly: a header it would pass over is mended.
            const std::string name = "team" + std::to_string(l.teams[owner].team + 1);
            line(ModReadsHeader(l.raw[i], name) ? l.raw[i] : "[" + name + "]");
            // A line the block lacks comes right after the one it follows.
            const std::size_t t = l.teams[owner].team;
            if (adds[owner].name) line(NameLine(teams[t].name));
            if (adds[owner].model && l.teams[owner].nameLine == kNone) line(ModelSkinLine(teams[t]));
        } else if (role == Role::TeamName) {
            const std::size_t t = l.teams[owner].team;
            line(nameChanged[t] ? NameLine(teams[t].name) : l.raw[i]);
            if (adds[owner].model) line(ModelSkinLine(teams[t]));
        } else if (role == Role::TeamModel) {
            const std::size_t t = l.teams[owner].team;
            line(modelChanged[t] ? ModelSkinLine(teams[t]) : l.raw[i]);
        } else if (role == Role::MapHeader) {
            if (owner == 0) {
                if (addTeam3) teamBlock(2);
                addTeam3 = false;
                line(ModReadsHeader(l.raw[i], "maplist") ? l.raw[i] : "[maplist]");
                writeRotation();
                const MapList& first = l.lists[0];
                line(first.endLine != kNone ? l.raw[first.endLine] : "###");
                i = first.endLine != kNone ? first.endLine : first.last;
            }
        } else if (role == Role::MapEnd) {
            // A later list's "###" stays: it ends whatever section now comes before it.
            line(l.raw[i]);
        } else if (role == Role::Foreign) {
            line(l.raw[i]);
        }
        if (block != kNone && i >= l.teams[block].last) {
            // A rewritten block without "###" gets one, so that no later line can be taken for
            // its name or model.
            if (blockChanged(block) && l.teams[block].endLine == kNone) line("###");
            block = kNone;
        }
    }
    if (!hasList) {
        if (addTeam3) teamBlock(2);
        line("[maplist]");
        writeRotation();
        line("###");
    }
    return out;
}

}  // namespace tolvane::modini
