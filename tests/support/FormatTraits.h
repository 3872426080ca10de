#pragma once
// What each file format gives the shared round-trip suite (format_roundtrip_test.cpp):
//
//   kName          a short name for test output
//   kFile          the file's name in the mod directory, written by the file shell
//   Model          what the editor holds of the file, built over a Context
//   Samples()      inputs that always run; files of the corpus matching InCorpus() run as well
//   Parse(m, text) reads text into the model (pure, no file)
//   Build(m, old)  the new text from the model and the old text (null when there is none)
//   Fields(m)      everything the model took from the text, as comparable text
//   Foreign(text)  the parts of a text the format does not own, which must come back unchanged
//   Save(ctx, m)   the file shell's write of kFile; false when it reported a failure
//
// A later format (action.ini, maps.lst, bw-admin.cfg, server_bans.txt) joins the suite with
// one more struct of this shape, added to the type list in format_roundtrip_test.cpp.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "form/Form.h"
#include "registry/ConfigRegistry.h"
#include "registry/ConfigRegistryFormat.h"
#include "settings/ServerCfgFormat.h"
#include "settings/ServerCfgWriter.h"
#include "settings/ServerVariables.h"
#include "state/Motd.h"
#include "state/MotdFormat.h"
#include "state/TextReaders.h"

namespace tolvane::test {

struct ServerCfgTraits {
    static constexpr const char* kName = "ServerCfg";
    static constexpr const char* kFile = "server.cfg";
    struct Model {
        explicit Model(const Context& ctx) {
            settings::ConnectServerFields(ctx, fields);
            settings::RegisterServerFields(form, fields);
            form.add(scripts);
            maps.append("q2dm1*");
        }
        settings::ServerFields fields;
        form::Grid scripts{"ScriptList"};
        form::Grid maps{"MapIni"};
        form::Form form;
    };
    static bool InCorpus(const std::filesystem::path& p) { return p.extension() == ".cfg"; }
    static std::vector<std::string> Samples() {
        return {"",
                "// my server\nexec old.cfg\nset fraglimit 20\nset sv_gravity 800\nset Admin \"Crew\" s\nmap q2dm2\n",
                "alias go \"map q2dm1; wait\"  \nhostname \"AQ\" // x\nset sv_name caf\xe9 \xff\r\n"
                "set dmflags 520095492 // flags\r\tset fraglimit 9",
                "setmaster a  b c d e\r\nset maxclients 300\r\nrcon_password \"\"\r\nset nohud 2\r\nFRAGLIMIT 7\r\n"
                "set FragLimit 5\r\nset e-mail \"a@b\" s\r\nset location\r\nexec x.cfg\r\n"};
    }
    static void Parse(Model& m, const std::string& text) { settings::ParseServerCfg(text, m.fields, m.scripts); }
    static std::string Build(const Model& m, const std::string* old) {
        return settings::BuildServerCfg(m.fields, m.scripts, m.maps, kFile, "action.ini", old);
    }
    static std::string Fields(Model& m) {
        std::ostringstream s;
        m.form.dump(s);
        s << "dmflags other bits=" << m.fields.dmflagsOtherBits << '\n';
        return s.str();
    }
    static std::vector<std::string> Foreign(const std::string& text) {
        std::vector<std::string> out;
        for (const auto& line : SplitLines(text)) {
            const auto s = settings::SplitCfgLine(line);
            if (!s || (!settings::IsTailName(s->name) && !settings::FindServerVariable(s->name))) out.push_back(line);
        }
        return out;
    }
    static bool Save(const Context& ctx, Model& m) {
        ctx.state.strServerCfgFileName = kFile;
        ctx.state.strActionIniFileName = "action.ini";
        return settings::WriteServerCfg(ctx, m.fields, m.scripts, m.maps);
    }
};

struct ConfigRegistryTraits {
    static constexpr const char* kName = "ConfigRegistry";
    static constexpr const char* kFile = "tolvane.ini";
    // The configuration the editor works on, and every record of the file.
    struct Model {
        explicit Model(const Context&) {}
        registry::ConfigRegistryText text;
        registry::ConfigRecord current{"default", "server.cfg", "action.ini", ""};
    };
    static bool InCorpus(const std::filesystem::path& p) {
        return p.filename().string().rfind("tolvane", 0) == 0 && p.extension() == ".ini";
    }
    static std::vector<std::string> Samples() {
        return {"",
                "\"ctf\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n\"ctf\",\"ctf.cfg\",\"ctf.ini\",\"+set maxrate 8000\"\r\n",
                "\"tdm\"\r\nctf,ctf.cfg,ctf.ini,\r\n  \r\n\"CTF\",\"x.cfg\",\"x.ini\",\"+set hostname \"\"x\"\"\"\r\n"
                "\"Tdm\",\"tdm.cfg\",\"tdm.ini\", \n\"tdm\",\"t2.cfg\"",
                "\"nomatch\"\n\"a\",\"b\",\"c\",\"d\"\n\"A\",\"e\",\"f\",\"g\"\n"};
    }
    // The current configuration as the editor takes it: the record of the name on line 1 when
    // it is complete, or that name with the start files.
    static registry::ConfigRecord Current(const registry::ConfigRegistryText& text) {
        registry::ConfigRecord current{"default", "server.cfg", "action.ini", ""};
        if (!text.hasCurrent) return current;
        current.name = text.current;
        const auto* r = registry::FindConfigRecord(text, current.name);
        return r && r->fieldCount == 4 ? *r : current;
    }
    static void Parse(Model& m, const std::string& text) {
        m.text = registry::ParseConfigRegistry(text);
        m.current = Current(m.text);
    }
    static std::string Build(const Model& m, const std::string* old) {
        return registry::BuildConfigRegistry(old, m.current);
    }
    // The records are fields in a stream, so a foreign "line" is another configuration's
    // record in the writer's own form; the current record moves to the end, so order is not kept.
    static std::vector<std::string> Foreign(const std::string& text) {
        const auto parsed = registry::ParseConfigRegistry(text);
        const auto current = Current(parsed);
        std::vector<std::string> out;
        for (const auto& r : parsed.records)
            if (r.fieldCount == 4 && !EqualsIgnoringCase(r.name, current.name))
                out.push_back(FieldLine({r.name, r.serverCfg, r.actionIni, r.commandLine}));
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::string Fields(Model& m) {
        std::string s = FieldLine({m.current.name, m.current.serverCfg, m.current.actionIni, m.current.commandLine});
        for (const auto& r : m.text.records)
            if (r.fieldCount == 4 && !EqualsIgnoringCase(r.name, m.current.name)) s += "other " + r.name + "\n";
        return s;
    }
    static bool Save(const Context& ctx, Model& m) {
        ctx.state.strConfigName = m.current.name;
        ctx.state.strServerCfgFileName = m.current.serverCfg;
        ctx.state.strActionIniFileName = m.current.actionIni;
        form::TextBox commandLine{"CommandLine"};
        commandLine.setText(m.current.commandLine);
        return registry::SaveConfig(ctx, commandLine);
    }
};

struct MotdTraits {
    static constexpr const char* kName = "Motd";
    static constexpr const char* kFile = "motd.txt";
    struct Model {
        explicit Model(const Context&) {}
        std::string text;
    };
    static bool InCorpus(const std::filesystem::path& p) {
        return p.filename().string().rfind("motd", 0) == 0 && p.extension() == ".txt";
    }
    static std::vector<std::string> Samples() {
        return {"Welcome\r\nPlay fair\r\n", "One line", "Unix\nlines\n\nand a lone\rCR", "caf\xe9 \xff\r\n\r\n"};
    }
    static void Parse(Model& m, const std::string& text) { m.text = ParseMotd(text); }
    static std::string Build(const Model& m, const std::string*) { return BuildMotd(m.text); }
    // The box shows the whole file: the format owns every line, and its fields are the lines.
    static std::vector<std::string> Foreign(const std::string&) { return {}; }
    static std::string Fields(Model& m) {
        std::string s;
        for (const auto& line : SplitLines(m.text)) s += line + "\n";
        return s;
    }
    static bool Save(const Context& ctx, Model& m) {
        ctx.state.strMOTDFileName = kFile;
        ctx.state.bMOTDChanged = true;
        form::TextBox box{"MOTDText"};
        box.setText(m.text);
        return WriteMOTD(ctx, box);
    }
};

}  // namespace tolvane::test
