#include "plugin/PluginFields.h"

#include "form/NumericCoupling.h"

namespace tolvane::plugin {

namespace {

void Describe(form::Control& c, const std::string& caption, const std::string& toolTip = {}) {
    c.setCaption(caption);
    c.setToolTip(toolTip);
}

// A numeric field's label shows the tool tip of its box; both live on the box.
void Describe(form::NumericField& f, const std::string& caption, const std::string& toolTip) {
    Describe(f.box, caption, toolTip);
}

}  // namespace

PluginFields::PluginFields() {
    Banner.setValue(1);
    BotCheck.setValue(1);
    BotKick.setValue(1);
    Reject_msg.setValue(1);
    Auto_Download.setValue(1);
    for (form::NumericField* f : numericFields) form::SyncSpinnerToText(*f);

    // "BW Admin 1"
    Describe(Admin, "Admin Password", "Tthe DLL server admin password. Default is to disable the server admin option");
    Describe(Super, "Super Password", "Sets the DLL server supervisor password");
    Describe(Banner, "Display Banner", "Display banner text [Default=On]");
    Describe(BotCheck, "Check for Bots", "Detect bots [Default=On]");
    Describe(BotKick, "Kick Bots", "Kick any detected bots [Default=On]");
    Describe(Reload, "Reload at Each Map", "Reload the admin configuration after every map change [Default=Off]");
    Describe(Reject_msg, "Show Reject Msg",
             "Tells a client why they were refused connection by BW-Admin (eg IP/Name Banned)");
    Describe(Strict, "Strict Checking");
    Describe(Logging, "ZBot Logging");
    Describe(Track_Connect, "Connections");
    Describe(Track_Disconnect, "Disconnections");
    Describe(Track_Renames, "Renames");
    Describe(Track_Refused, "Refused");
    Describe(Have_WGet, "Enable",
             "Will use 'WGet' to check for update and if enabled, download and install new versions of the DLL "
             "[Default=Off]");
    Describe(Auto_Download, "Auto Download",
             "The DLL will download the updated version to the same name/location as the current DLL but with an "
             "extention of \".new\" [Default=On]");
    Describe(Auto_Install, "Auto Install",
             "The current DLL will be copied to a backup file with '.bak' extension and the new DLL will be moved "
             "into it's place. NB This does NOT mean the new dll is loaded. This will only come into effect when "
             "the server is restarted. [Default=Off]");
    Describe(Auto_Restart, "Auto Restart",
             "If an updated DLL has been installed then the server will be terminated.  This option assumes you "
             "have some sort of automated server restart upon process termination. [Default=Off]");

    // "BW Admin 2"
    Describe(DLL, "Original DLL ", "Tells the DLL what the renamed original \"gamei386.so\" is called");
    Describe(MOTD, "MOTD Display",
             "Specifies a file containing text to display to connecting players. The DLL first looks in the mod "
             "directory and then the base Q2 directory for the file. [Default=No File]");
    Describe(Stuff, "Client Stuff Cfg",
             "Specifies a file containing a list of commands to 'stuff' to a user when they connect and on each "
             "map change. eg \"allow_download_maps 1\". Each command should be on a seperate line.");
    Describe(MaxFPS, "Max FPS", "Sets the maxfps for the server");
    Describe(CapKick, "Cap Kick",
             "Due to technical reasons the maxfps capping is not instantaneous so a server admin can be strict "
             "enforcing the maxfps capping. Specify the # of times the client can change their cl_maxfps setting "
             "per map before getting kicked from the server");
    Describe(MaxRate, "Max Rate", "Sets the maxrate for the server [Default=25000]");
    Describe(MaxPing, "Max Ping",
             "Sets the maximum allowed ping on the server (anyone whose ping goes above this value will be kicked "
             "from server). Default is no limit. WARNING: Use with caution since this may occasionally kick lagged "
             "players!");
    Describe(MinPing, "Min Ping",
             "Sets the minimum allowed ping on the server (anyone whose ping goes below this value will be kicked "
             "from server). Default is no limit.");
    Describe(Flood_Lines, "Lines", "Specifies the maximum number of lines allowed within a set time [Default=0]");
    Describe(Flood_Time, "Time", "Specifies the allowed time used with flood_lines [Default=0]");
    Describe(Flood_Ban, "Ban",
             "Set the number of seconds a client is unable to speak if flood protection is enabled [Default=5]");

    // "BW Bans"
    Describe(IPBans, "IP Bans");
    Describe(NameBans, "Name Bans", "Will ban anyone whose name contains the keywords listed");
    Describe(FilterBans, "Filtered Text",
             "Will perform a comparision similar to the Name ban system except that this searchs all client "
             "speech and if it contains a keyword listed below the offending line will not be received by any "
             "other player.");
    Describe(AliasBans, "Name @IP Bans",
             "Will only allow someone to use the alias listed if they connect from the specified host.");
    for (form::Button* b : {&ButtonIPNew, &ButtonNameNew, &ButtonFilterNew, &ButtonAliasNew}) b->setCaption("New");
    for (form::Button* b : {&ButtonIPDelete, &ButtonNameDelete, &ButtonFilterDelete, &ButtonAliasDelete})
        b->setCaption("Delete");

    for (form::Label& notice : NoBWAdmin) {
        notice.setCaption("No existing bw-admin.cfg was found.  Thus, none will be saved.");
        notice.setVisible(false);
    }
}

void FillPluginChoiceLists(PluginFields& f) {
    f.Strict.setItems({"Disable Checking", "Enable Checking", "Enable Checking but allow NAT routers"});
    f.Logging.setItems({"No logging", "Create new log on server initialization", "Append to existing log"});
}

void RegisterPluginFields(form::Form& form, PluginFields& f) {
    // "BW Admin 1"
    form.add(f.Admin);
    form.add(f.Super);
    for (form::CheckBox* c : {&f.Banner, &f.BotCheck, &f.BotKick, &f.Reload, &f.Reject_msg}) form.add(*c);
    form.add(f.Strict);
    form.add(f.Logging);
    for (form::CheckBox* c : {&f.Track_Connect, &f.Track_Disconnect, &f.Track_Renames, &f.Track_Refused,
                              &f.Have_WGet, &f.Auto_Download, &f.Auto_Install, &f.Auto_Restart})
        form.add(*c);
    // "BW Admin 2"
    form.add(f.DLL);
    form.add(f.MOTD);
    form.add(f.Stuff);
    for (form::NumericField* n : f.numericFields) form.add(*n);
    // "BW Bans"
    form.add(f.IPBans);
    form.add(f.NameBans);
    form.add(f.FilterBans);
    form.add(f.AliasBans);
    for (form::Button* b : {&f.ButtonIPNew, &f.ButtonIPDelete, &f.ButtonNameNew, &f.ButtonNameDelete,
                            &f.ButtonFilterNew, &f.ButtonFilterDelete, &f.ButtonAliasNew, &f.ButtonAliasDelete})
        form.add(*b);
    for (form::Label& notice : f.NoBWAdmin) form.trackAppearance(notice);
}

void ConnectPluginFields(const Context& ctx, PluginFields& f) {
    for (form::NumericField* n : f.numericFields) form::CoupleNumericField(ctx.showMessage(), *n);
}

}  // namespace tolvane::plugin
