#pragma once
// Round-trip traits, of the shape FormatTraits.h describes, for the formats that joined the
// suite later: maps.lst, action.ini, bw-admin.cfg and server_bans.txt.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iterator>
#include <string>
#include <vector>

#include "form/Form.h"
#include "maps/Catalogue.h"
#include "maps/MapFields.h"
#include "maps/MapsLstFormat.h"
#include "modini/ActionIni.h"
#include "modini/ActionIniFormat.h"
#include "plugin/BWAdminFormat.h"
#include "plugin/BanListFormat.h"
#include "plugin/PluginFields.h"
#include "plugin/PluginFiles.h"
#include "state/TextReaders.h"
#include "teams/TeamFields.h"

namespace tolvane::test {

struct MapsLstTraits {
    static constexpr const char* kName = "MapsLst";
    static constexpr const char* kFile = "maps.lst";
    struct Model {
        explicit Model(const Context&) {}
        maps::MapFields fields;
    };
    // Every input lists a map: a catalogue left without entries is set aside as maps.bak and no
    // new file is written, so the shell check cannot hold for it (bare map name lists are such).
    static bool InCorpus(const std::filesystem::path& p) {
        if (p.extension() != ".lst") return false;
        std::ifstream in(p, std::ios::binary);
        const auto lines = maps::ParseMapsLst({std::istreambuf_iterator<char>(in), {}});
        return std::any_of(lines.begin(), lines.end(), [](const auto& l) { return l.isEntry; });
    }
    static std::vector<std::string> Samples() {
        return {"q2dm1 \"The Edge\"\r\n",
                "// my maps\r\n\r\nq2dm1 \"The Edge, revisited\"\r\n; note\r\nq2dm2 \"Tokay's Towers\"\r\nq2dm1 \"The Edge, revisited\"\r\n",
                "\tcastle  \"Castle [keep]\" extra\nbroken line\rq2dm3\nq2dm8 \"caf\xe9 \xff\"\n  \n",
                "lone \"unterminated\nm1 \"\" trailing",
                "a\"b c\" d\r\nx\t\"tab\"\r\nlast \"no end\""};
    }
    static void Parse(Model& m, const std::string& text) {
        std::vector<form::GridRow> rows;
        for (const auto& line : maps::ParseMapsLst(text))
            if (line.isEntry) rows.push_back({maps::CatalogueRow(line.name, line.description), 0});
        m.fields.MapList.setRows(std::move(rows));
    }
    static std::vector<std::string> Rows(const Model& m) {
        std::vector<std::string> rows;
        for (const auto& row : m.fields.MapList.rows()) rows.push_back(row.text);
        return rows;
    }
    static std::string Build(const Model& m, const std::string* old) {
        return maps::BuildMapsLst(Rows(m), old ? *old : std::string());
    }
    static std::string Fields(Model& m) {
        std::string s;
        for (const auto& row : Rows(m)) s += row + "\n";
        return s;
    }
    // Comments and other lines that are not entries; they follow the entry they stood after,
    // which keeps their order while the catalogue is unchanged.
    static std::vector<std::string> Foreign(const std::string& text) {
        std::vector<std::string> out;
        for (const auto& line : maps::ParseMapsLst(text))
            if (!line.isEntry) out.push_back(line.text);
        return out;
    }
    static bool Save(const Context& ctx, Model& m) {
        ctx.state.strMapsLstFileName = kFile;
        ctx.state.bMapsLstChanged = true;
        return maps::WriteMapsLst(ctx, m.fields);
    }
};

struct ActionIniTraits {
    static constexpr const char* kName = "ActionIni";
    static constexpr const char* kFile = "action.ini";
    struct Model {
        explicit Model(const Context& c) : ctx(c) {}
        const Context& ctx;
        teams::TeamFields teams;
        maps::MapFields maps;
    };
    // Only the corpus files that hold teams or a map list are mod settings files.
    static bool InCorpus(const std::filesystem::path& p) {
        if (p.extension() != ".ini") return false;
        std::ifstream in(p, std::ios::binary);
        const std::string lower = LowerCase({std::istreambuf_iterator<char>(in), {}});
        return lower.find("[maplist]") != std::string::npos || lower.find("[team1]") != std::string::npos;
    }
    static std::vector<std::string> Samples() {
        return {"",
                "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nactionmale/chucky\r\n###\r\n[maplist]\r\nurban\r\n###\r\n",
                "// notes\n[TEAM1]\n\n  \"Red, White\"  \n// who\nmale/grunt\n[Team2]\nBlue\nfemale\n  ###\n\tkeep me\n"
                "[maplist]\n// off\nUrban\n\ncity\nurban\n[mapvote]\nmv=1\r\n\r\n",
                "[team3]\rGreen\rcaf\xe9/\xff\r###\r[maplist]\rq2dm1\r  ###  \rafter\r",
                "[team2]\n// blues\nBlue\n[maplist]\nmap1\n[team1]\nA\nb/c"};
    }
    // Known fault, kept out of the samples until it is mended: a team whose name is empty is
    // written as a blank name line, which the reader passes over, so the next read takes the
    // "model/skin" line for the name and a second save differs.
    static constexpr const char* KnownFaultInput = "[team2]\n// blues\n[maplist]\nmap1\n[team1]\nA\nb/c";
    static void Parse(Model& m, const std::string& text) {
        const auto ini = modini::ParseActionIni(text);
        for (std::size_t i = 0; i < 3; ++i) {
            if (!ini.teams[i].present) continue;
            m.teams.nameBoxes()[i]->setText(ini.teams[i].name);
            if (ini.teams[i].modelSkin.empty()) continue;
            // The model and skin as if the player directories held them.
            std::string model, skin;
            modini::SplitModelSkin(ini.teams[i].modelSkin, model, skin);
            m.teams.modelLists()[i]->setItems({model});
            m.teams.modelLists()[i]->selectText(model);
            m.teams.skinLists()[i]->setItems({skin});
            m.teams.skinLists()[i]->selectText(skin);
        }
        // The rotation as a load leaves it: of a map listed twice, its last place.
        std::vector<form::GridRow> rows;
        for (std::size_t i = 0; i < ini.maps.size(); ++i)
            if (std::find(ini.maps.begin() + static_cast<std::ptrdiff_t>(i) + 1, ini.maps.end(), ini.maps[i]) == ini.maps.end())
                rows.push_back({ini.maps[i], 0});
        m.maps.MapIni.setRows(std::move(rows));
    }
    static std::string Build(const Model& m, const std::string* old) {
        const auto& t = m.teams;
        const std::array<modini::TeamValues, 3> values = {
            modini::TeamValues{t.Team1Name.text(), t.Team1Model.text(), t.Team1Skin.text()},
            modini::TeamValues{t.Team2Name.text(), t.Team2Model.text(), t.Team2Skin.text()},
            modini::TeamValues{t.Team3Name.text(), t.Team3Model.text(), t.Team3Skin.text()}};
        std::vector<std::string> rotation;
        for (const auto& row : m.maps.MapIni.rows()) rotation.push_back(row.text);
        return modini::BuildActionIni(values, rotation, old);
    }
    static std::string Fields(Model& m) {
        std::string s;
        for (std::size_t i = 0; i < 3; ++i)
            s += "team " + m.teams.nameBoxes()[i]->text() + "|" + m.teams.modelLists()[i]->text() + "|" +
                 m.teams.skinLists()[i]->text() + "\n";
        for (const auto& row : m.maps.MapIni.rows()) s += "map " + row.text + "\n";
        return s;
    }
    // Everything but the team blocks, the first map list and the "###" end marks (a block that
    // lacked one gains it); blank lines inside an owned block are dropped with it, and "//"
    // lines inside one stay, though a map list's move up to right after its header.
    static std::vector<std::string> Foreign(const std::string& text) {
        const auto lines = SplitLines(text);
        std::vector<std::string> items;
        for (const auto& line : lines) items.push_back(LowerCase(Item(line)));
        auto comment = [](const std::string& item) { return item.rfind("//", 0) == 0; };
        auto nextItem = [&](std::size_t at) {
            while (at < items.size() && items[at].empty()) ++at;
            return at;
        };
        std::vector<std::string> out;
        bool mapListSeen = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& item = items[i];
            if (item == "###") continue;
            if (item == "[team1]" || item == "[team2]" || item == "[team3]") {
                // The header, then its name and model lines; "//" lines met on the way are kept.
                for (int field = 0; field < 2; ++field) {
                    std::size_t next = nextItem(i + 1);
                    while (next < items.size() && comment(items[next])) {
                        out.push_back(lines[next]);
                        i = next;
                        next = nextItem(i + 1);
                    }
                    if (next >= items.size() || items[next] == "###" || items[next][0] == '[') break;
                    i = next;
                }
                continue;
            }
            if (item == "[maplist]" && !mapListSeen) {
                mapListSeen = true;
                while (i + 1 < lines.size() && items[i + 1] != "###" && (items[i + 1].empty() || items[i + 1][0] != '[')) {
                    if (comment(items[++i])) out.push_back(lines[i]);
                }
                continue;
            }
            out.push_back(lines[i]);
        }
        return out;
    }
    static bool Save(const Context& ctx, Model& m) {
        ctx.state.strActionIniFileName = kFile;
        ctx.state.bActionIniChanged = true;
        return modini::WriteActionIni(ctx, m.teams, m.maps);
    }

private:
    // A line as the mod takes it: blanks around it dropped, a leading double quote running to
    // the closing one.
    static std::string Item(const std::string& line) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos) return {};
        const auto end = line.find_last_not_of(" \t") + 1;
        if (line[start] != '"') return line.substr(start, end - start);
        const auto close = line.find('"', start + 1);
        return line.substr(start + 1, (close == std::string::npos ? end : close) - start - 1);
    }
};

struct BWAdminTraits {
    static constexpr const char* kName = "BWAdmin";
    static constexpr const char* kFile = "bw-admin.cfg";
    struct Model {
        explicit Model(const Context&) { plugin::RegisterPluginFields(form, fields); }
        plugin::PluginFields fields;
        form::Form form;
    };
    static bool InCorpus(const std::filesystem::path& p) { return p.filename() == kFile; }
    static std::vector<std::string> Samples() {
        return {"",
                "admin = boss\r\nstrict = 2\r\nmaxfps = 060\r\n// keep\r\nexec = other.cfg\r\nitemspawns = 1\r\n",
                "Admin=  two  words \nSTRICT = 9\nmaxfps = 0.4\nmaxping = abc\nadmin = later wins\n\tadmin = tabbed\n"
                "no key here\n= nothing\nunknown = 1\rsuper =\rcaf\xe9 = \xff",
                "maxfps = 0\r\nminping = 99999999999\r\nlog = 2\r\n\r\n  \r\n"};
    }
    // A frame rate limit of zero or less means none and its line is left out, so it reads back
    // as the start value 0: the samples use 0 itself, as "-5" would not read back the same.
    static void Parse(Model& m, const std::string& text) { plugin::ParseBWAdmin(text, m.fields); }
    static std::string Build(const Model& m, const std::string* old) {
        return plugin::BuildBWAdmin(m.fields, old ? *old : std::string());
    }
    static std::string Fields(Model& m) {
        std::ostringstream s;
        m.form.dump(s);
        return s.str();
    }
    // Every line but "key = value" with one of the keys the settings own ("exec" and
    // "itemspawns" are read but never written, so they stay the operator's).
    static std::vector<std::string> Foreign(const std::string& text) {
        std::vector<std::string> out;
        for (const auto& line : SplitLines(text)) {
            const auto eq = line.find('=');
            std::string key = eq == std::string::npos ? std::string() : LowerCase(line.substr(0, eq));
            key.erase(0, key.find_first_not_of(' '));
            key.erase(key.find_last_not_of(' ') + 1);
            const auto& keys = plugin::BWAdminKeys();
            const bool owned = eq != std::string::npos &&
                               std::any_of(keys.begin(), keys.end(), [&](const auto& k) { return key == k.key; });
            if (!owned) out.push_back(line);
        }
        return out;
    }
    static bool Save(const Context& ctx, Model& m) { return plugin::WriteBWAdminCfg(ctx, m.fields); }
};

struct BanListTraits {
    static constexpr const char* kName = "BanList";
    static constexpr const char* kFile = "server_bans.txt";
    struct Model {
        explicit Model(const Context&) {}
        plugin::PluginFields fields;
    };
    static bool InCorpus(const std::filesystem::path& p) { return p.filename() == kFile; }
    // No sample is without entries and other lines: such a list is written as an empty file,
    // which has no line to end.
    static std::vector<std::string> Samples() {
        return {"IP: 1.2.3.4/32\r\nName: Bot\r\n",
                "// bans\r\nname : Bot, \"the\" one  \r\nIP:- 10.0.0.0/8\r\nnote: later\r\nNAME: second\r\nFilter: cheat\r\n"
                "ip: 9.9.9.9\r\n  trailing blanks  \r\n",
                "Alias: x@1.2.3.4\nIP:\ncolon-less line\rFilter:  caf\xe9 \xff\n\n",
                "only a note"};
    }
    static void Parse(Model& m, const std::string& text) {
        const auto lists = plugin::ParseBanList(text);
        for (const auto& row : lists.ip) m.fields.IPBans.append(row);
        for (const auto& row : lists.name) m.fields.NameBans.append(row);
        for (const auto& row : lists.filter) m.fields.FilterBans.append(row);
        for (const auto& row : lists.alias) m.fields.AliasBans.append(row);
    }
    static plugin::BanLists Lists(const Model& m) {
        auto rows = [](const form::Grid& grid) {
            std::vector<std::string> texts;
            for (const auto& row : grid.rows()) texts.push_back(row.text);
            return texts;
        };
        return {rows(m.fields.IPBans), rows(m.fields.NameBans), rows(m.fields.FilterBans), rows(m.fields.AliasBans)};
    }
    static std::string Build(const Model& m, const std::string* old) {
        return plugin::BuildBanList(Lists(m), old ? *old : std::string());
    }
    static std::string Fields(Model& m) {
        const auto lists = Lists(m);
        std::string s;
        for (const auto* kind : {&lists.ip, &lists.name, &lists.filter, &lists.alias}) {
            for (const auto& row : *kind) s += row + "\n";
            s += "--\n";
        }
        return s;
    }
    // Lines that are no "IP", "Name", "Filter" or "Alias" entry; the entries of a kind gather
    // where its first one stood, which leaves the other lines in their order.
    static std::vector<std::string> Foreign(const std::string& text) {
        std::vector<std::string> out;
        for (const auto& line : SplitLines(text)) {
            const auto colon = line.find(':');
            std::string kind = colon == std::string::npos ? std::string() : LowerCase(line.substr(0, colon));
            kind.erase(0, kind.find_first_not_of(' '));
            kind.erase(kind.find_last_not_of(' ') + 1);
            if (kind != "ip" && kind != "name" && kind != "filter" && kind != "alias") out.push_back(line);
        }
        return out;
    }
    static bool Save(const Context& ctx, Model& m) { return plugin::WriteBanList(ctx, m.fields); }
};

}  // namespace tolvane::test
