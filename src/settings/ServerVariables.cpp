#include "settings/ServerVariables.h"

namespace tolvane::settings {

namespace {

using F = ServerFields;

ServerVariable Num(const char* name, form::NumericField F::*field) { return {name, VarKind::Numeric, field}; }
ServerVariable Box(const char* name, VarKind kind, form::CheckBox F::*box) { return {name, kind, nullptr, box}; }
ServerVariable Text(const char* name, VarKind kind, form::TextBox F::*text) {
    return {name, kind, nullptr, nullptr, text};
}

}  // namespace

const char* const kExecName = "exec";
const char* const kDeathmatchName = "deathmatch";
const char* const kIniNameName = "ininame";
const char* const kMapName = "map";
const char* const kPortName = "port";
const char* const kNetPortName = "net_port";

const std::vector<ServerVariable>& ServerVariables() {
    static const std::vector<ServerVariable> table = {
        Text("hostname", VarKind::HostName, &F::HostName),
        Text("rcon_password", VarKind::Password, &F::Password),
        Num("fraglimit", &F::FragLimit),
        Num("timelimit", &F::TimeLimit),
        Num("maxclients", &F::MaxClients),
        Box("public", VarKind::Public, &F::PublicServer),
        Box("actionmaps", VarKind::Switch, &F::RotateMaps),
        Num("timeout", &F::TimeOut),
        Num("motd_time", &F::TimeMOTD),
        Box("skipmotd", VarKind::Switch, &F::SkipMOTD),
        Num("weapons", &F::MaxWeapons),
        Num("items", &F::MaxItems),
        Box("ir", VarKind::Switch, &F::Infrared),
        Box("radiolog", VarKind::Switch, &F::RadioLog),
        Num("splatlimit", &F::SplatLimit),
        Num("bholelimit", &F::BHoleLimit),
        Box("shelloff", VarKind::Inverted, &F::Shells),
        Num("knifelimit", &F::KnifeLimit),
        Box("teamplay", VarKind::Switch, &F::TeamPlay),
        Num("roundlimit", &F::RoundLimit),
        Num("roundtimelimit", &F::RoundTimeLimit),
        Num("tgren", &F::TeamGrenades),
        Box("noscore", VarKind::Inverted, &F::Scores),
        Box("nohud", VarKind::Inverted, &F::ShowHUD),
        Num("port", &F::Port),
        // yquake2 listens on "port", q2pro on "net_port" and ignores "port"; each engine leaves
        // the other's variable alone, so the one Port field is written to both.
        Num("net_port", &F::Port),
        Box("dedicated", VarKind::Switch, &F::Dedicated),
        {"dmflags", VarKind::Dmflags},
        Box("allow_download", VarKind::Switch, &F::AllowDownload),
        {"setmaster", VarKind::MasterServers},
        Text("Admin", VarKind::Info, &F::AdminName),
        Text("WebSite", VarKind::Info, &F::WebSite),
        Text("e-mail", VarKind::Info, &F::Email),
        Text("location", VarKind::Info, &F::Location),
        Box("allow_download_maps", VarKind::Switch, &F::AllowDownloadMaps),
        Box("allow_download_players", VarKind::Switch, &F::AllowDownloadPlayers),
        Box("allow_download_models", VarKind::Switch, &F::AllowDownloadModels),
        Box("allow_download_sounds", VarKind::Switch, &F::AllowDownloadSounds),
    };
    return table;
}

const ServerVariable* FindServerVariable(const std::string& name) {
    for (const ServerVariable& v : ServerVariables())
        if (name == v.name) return &v;
    return nullptr;
}

bool IsTailName(const std::string& name) {
    return name == kExecName || name == kDeathmatchName || name == kIniNameName || name == kMapName;
}

}  // namespace tolvane::settings
