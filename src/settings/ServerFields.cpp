#include "settings/ServerFields.h"

#include "form/NumericCoupling.h"
#include "settings/QuotedText.h"

namespace tolvane::settings {

namespace {

void Describe(form::Control& c, const std::string& caption, const std::string& toolTip) {
    c.setCaption(caption);
    c.setToolTip(toolTip);
}

// A numeric field's label carries the tool tip of its box; both live on the box.
void Describe(form::NumericField& f, const std::string& caption, const std::string& toolTip) {
    Describe(f.box, caption, toolTip);
}

}  // namespace

ServerFields::ServerFields() {
    HostName.setText("Action Quake Server");
    RotateMaps.setValue(1);
    ShowHUD.setValue(1);
    CheckUseVoice.setValue(1);
    FallDamage.setValue(1);
    AllowDownload.setValue(1);
    AllowDownloadMaps.setValue(1);
    AllowDownloadPlayers.setValue(1);
    AllowDownloadModels.setValue(1);
    AllowDownloadSounds.setValue(1);
    Infrared.setValue(1);
    Scores.setValue(1);

    // The box and its spinner start with the same value.
    for (form::NumericField* f : numericFields()) form::SyncSpinnerToText(*f);

    // "Server 1"
    Describe(HostName, "Host Name", "Name of your server to appear to connecting players");
    Describe(Password, "Password", "Remote Console Password aka rcon");
    Describe(FragLimit, "Frag Limit", "");
    Describe(TimeLimit, "Time Limit", "");
    Describe(MaxClients, "Max Clients", "The maximum number of clients allowed on your server");
    Describe(TimeOut, "Time Out", "");
    Describe(Port, "Port", "The port for players to connect to for this game");
    Describe(MasterServer1, "Master Servers", "Master servers to report to");
    for (form::TextBox* m : {&MasterServer2, &MasterServer3, &MasterServer4})
        Describe(*m, "", "Master servers to report to");

    // "Server 2"
    Describe(PublicServer, "Public Server",
             "Setting this makes it a public server and will make it report to the id Master server to show "
             "up in GameSpy and other utilities");
    Describe(RotateMaps, "Rotate Map List",
             "Setting this makes Quake use the map rotation as defined in your \"action.ini\" file");
    Describe(Dedicated, "Dedicated",
             "Setting this makes the server run faster by not using the server as a player.  It will only "
             "display the console in a text window on the server.");
    Describe(RadioLog, "Radio to Console",
             "Whether or not all radio messages sent are printed to the console [Default=Off]");
    Describe(ShowHUD, "Show Health/Ammo/Etc",
             "Set this off so that the standard HUD (health, ammo, etc) is disabled for all players.  This "
             "can allow you to record better-looking demos of staged scenes.  [Default=On]");
    Describe(CheckUseVoice, "Allow Voice Usage", "");
    Describe(GrenadesStay, "Grenades Stay && No Drop Special",
             "Setting this option causes the strange effect of players not being able to drop their special "
             "while when picking up a grenade, another lies in it's place.  [Default=Off]");
    Describe(FallDamage, "Fall Damage", "Toggles falling damage [Default=On]");
    Describe(SameMap, "Stay on Same Map",
             "Forces Quake to continue onto the same map, even if the round is over.  [Default=Off]");
    Describe(FriendlyFire, "Friendly Fire",
             "Setting this option allows players to receive damage from teammates and from self.  "
             "[Default=Off]");
    Describe(SpawnFarthest, "Spawn Farthest",
             "Attempts to find the spawn point furthest from the most players and force spawning there.  Of "
             "course, spawning point changes as players move around the map.  [Default=Off]");
    Describe(ForceRespawn, "Force Respawn",
             "Forces players to immediately respawn instead of waiting for them to hit their fire key to "
             "respawn in DM mode.  [Default=Off]");
    Describe(Check1, "Enable Map Voting", "");
    // The three numbers of the map-voting group stand for the mod's own vote settings; like the
    // rest of the group they are kept in this window only, and the tool tips say so.
    const std::string notSaved = "  Not saved: set it in the mod's vote settings.";
    Describe(Text1, "Minimum Players", "Players needed on the server before a map vote can start (mapvote_min)." + notSaved);
    Describe(Text2, "Votes Needed (%)", "Share of the players that must vote before a vote counts (mapvote_need)." + notSaved);
    Describe(Text3, "Votes to Pass (%)", "Share of the votes a map needs to win (mapvote_pass)." + notSaved);

    // "Server 3"
    Describe(TimeMOTD, "Time for MOTD",
             "The number of seconds that the initial MOTD should remain on the player's screen.  This number "
             "is rounded up to the nearest 2-second interval. [Default=2]");
    Describe(SkipMOTD, "Shorten MOTD",
             "Allows you to skip all but the top two lines of the normal Action MOTD, for server operators "
             "who want large motd.txt files.");
    Describe(SplatLimit, "Blood Splat Limit",
             "The number of bloodsplats on the ground/etc that should be allowed to be in the game at one "
             "time [Default=0]");
    Describe(BHoleLimit, "Bullet Hole Limit",
             "The number of bulletholes in walls/etc that should be allowed to be in the game at one time "
             "[Default=0]");
    Describe(KnifeLimit, "Knife Limit",
             "The number of throwing knives that can be lying around on the map at any given time "
             "[Default = 40]");
    Describe(Shells, "Weapon Shells", "Turns on the dropping of expended shells from your gun [Default=Off]");
    const std::string download = "Toggles whether or not clients can download files from the server [Default=On]";
    Describe(AllowDownload, "Allow Downloading", download);
    Describe(AllowDownloadMaps, "Maps", download);
    Describe(AllowDownloadPlayers, "Players", download);
    Describe(AllowDownloadModels, "Models", download);
    Describe(AllowDownloadSounds, "Sounds", download);
    Describe(MaxWeapons, "Max Special Weapons",
             "The maximum number of \"unique weapons\" a player can carrry (the bandolier adds 1 to a "
             "player's max carry)  [Default = 1]");
    Describe(AllWeapons, "All", "");
    Describe(MaxItems, "Max Special Items",
             "The maximum number of \"special items\" a player can carry [Default = 1]");
    Describe(AllItems, "All", "");
    Describe(Infrared, "Infrared w/Bandolier",
             "Whether or not IR vision goggles are enabled for use with the bandolier [Default=On]");

    // "Game Spy"
    Describe(AdminName, "Administrator Name", "Administrator's name  to appear on GameSpy and other utilities");
    Describe(WebSite, "Web Site Location", "Location of your web site to appear ");
    Describe(Location, "Physical Location",
             "Physical location of server  to appear on GameSpy and other utilities");
    Describe(Email, "E-mail Address", "Administrator's e-mail address  to appear on GameSpy and other utilities");

    // "Teams 1"
    Describe(TeamPlay, "Enable Team Play", "Enable team play.  Play it to see how it works!  [Default=Off]");
    Describe(RoundLimit, "Round Frag Limit", "The number of wins by one team before the map is ended");
    Describe(RoundTimeLimit, "Round Time Limit",
             "The number of minutes a round can go on before a winner is declared");
    Describe(TeamGrenades, "Bandolier Grenades",
             "Sets the number of grenades that come with the bandolier in teamplay");
    Describe(Scores, "Individual Scores",
             "Shows individual scores during team play.  Team wins and frags are always shown.  [Default=On]");
}

std::vector<form::NumericField*> ServerFields::numericFields() {
    return {&FragLimit,  &TimeLimit,  &MaxClients, &TimeOut,    &Port,      &TimeMOTD,       &MaxWeapons,
            &MaxItems,   &SplatLimit, &BHoleLimit, &KnifeLimit, &RoundLimit, &RoundTimeLimit, &TeamGrenades};
}

void RegisterServerFields(form::Form& form, ServerFields& f) {
    // "Server 1"
    form.add(f.HostName);
    form.add(f.Password);
    form.add(f.FragLimit);
    form.add(f.TimeLimit);
    form.add(f.MaxClients);
    form.add(f.TimeOut);
    form.add(f.Port);
    form.add(f.MasterServer1);
    form.add(f.MasterServer2);
    form.add(f.MasterServer3);
    form.add(f.MasterServer4);
    // "Server 2"
    form.add(f.PublicServer);
    form.add(f.RotateMaps);
    form.add(f.Dedicated);
    form.add(f.RadioLog);
    form.add(f.ShowHUD);
    form.add(f.CheckUseVoice);
    form.add(f.GrenadesStay);
    form.add(f.FallDamage);
    form.add(f.SameMap);
    form.add(f.FriendlyFire);
    form.add(f.SpawnFarthest);
    form.add(f.ForceRespawn);
    form.add(f.Check1);
    form.add(f.Text1);
    form.add(f.Text2);
    form.add(f.Text3);
    form.add(f.VScroll1);
    form.add(f.VScroll2);
    form.add(f.VScroll3);
    // "Server 3"
    form.add(f.TimeMOTD);
    form.add(f.SkipMOTD);
    form.add(f.SplatLimit);
    form.add(f.BHoleLimit);
    form.add(f.KnifeLimit);
    form.add(f.Shells);
    form.add(f.AllowDownload);
    form.add(f.AllowDownloadMaps);
    form.add(f.AllowDownloadPlayers);
    form.add(f.AllowDownloadModels);
    form.add(f.AllowDownloadSounds);
    form.add(f.MaxWeapons);
    form.add(f.AllWeapons);
    form.add(f.MaxItems);
    form.add(f.AllItems);
    form.add(f.Infrared);
    // "Game Spy"
    form.add(f.AdminName);
    form.add(f.WebSite);
    form.add(f.Location);
    form.add(f.Email);
    // "Teams 1"
    form.add(f.TeamPlay);
    form.add(f.RoundLimit);
    form.add(f.RoundTimeLimit);
    form.add(f.TeamGrenades);
    form.add(f.Scores);
}

void ConnectServerFields(const Context& ctx, ServerFields& f) {
    for (form::NumericField* field : f.numericFields()) form::CoupleNumericField(ctx.showMessage(), *field);
    for (form::TextBox* box : {&f.HostName, &f.Password, &f.AdminName, &f.WebSite, &f.Location, &f.Email})
        RefuseDoubleQuotes(ctx, *box, f.readingFile);
}

const std::vector<FieldPlace>& ServerFieldPlaces() {
    static const std::vector<FieldPlace> places = {
        {"HostName", "Server 1", ""},
        {"Password", "Server 1", ""},
        {"FragLimit", "Server 1", ""},
        {"TimeLimit", "Server 1", ""},
        {"MaxClients", "Server 1", ""},
        {"TimeOut", "Server 1", ""},
        {"Port", "Server 1", ""},
        {"MasterServer1", "Server 1", ""},
        {"MasterServer2", "Server 1", ""},
        {"MasterServer3", "Server 1", ""},
        {"MasterServer4", "Server 1", ""},
        {"PublicServer", "Server 2", ""},
        {"RotateMaps", "Server 2", ""},
        {"Dedicated", "Server 2", ""},
        {"RadioLog", "Server 2", ""},
        {"ShowHUD", "Server 2", ""},
        {"CheckUseVoice", "Server 2", ""},
        {"GrenadesStay", "Server 2", "Game Flags"},
        {"FallDamage", "Server 2", "Game Flags"},
        {"SameMap", "Server 2", "Game Flags"},
        {"FriendlyFire", "Server 2", "Game Flags"},
        {"SpawnFarthest", "Server 2", "Game Flags"},
        {"ForceRespawn", "Server 2", "Game Flags"},
        {"Check1", "Server 2", "Map Voting"},
        {"Text1", "Server 2", "Map Voting"},
        {"Text2", "Server 2", "Map Voting"},
        {"Text3", "Server 2", "Map Voting"},
        {"TimeMOTD", "Server 3", "Message of the Day"},
        {"SkipMOTD", "Server 3", "Message of the Day"},
        {"SplatLimit", "Server 3", "Graphics Limits"},
        {"BHoleLimit", "Server 3", "Graphics Limits"},
        {"KnifeLimit", "Server 3", "Graphics Limits"},
        {"Shells", "Server 3", "Graphics Limits"},
        {"AllowDownload", "Server 3", "Downloading"},
        {"AllowDownloadMaps", "Server 3", "Downloading"},
        {"AllowDownloadPlayers", "Server 3", "Downloading"},
        {"AllowDownloadModels", "Server 3", "Downloading"},
        {"AllowDownloadSounds", "Server 3", "Downloading"},
        {"MaxWeapons", "Server 3", "Special Weapons and Items"},
        {"AllWeapons", "Server 3", "Special Weapons and Items"},
        {"MaxItems", "Server 3", "Special Weapons and Items"},
        {"AllItems", "Server 3", "Special Weapons and Items"},
        {"Infrared", "Server 3", "Special Weapons and Items"},
        {"AdminName", "Game Spy", ""},
        {"WebSite", "Game Spy", ""},
        {"Location", "Game Spy", ""},
        {"Email", "Game Spy", ""},
        {"TeamPlay", "Teams 1", ""},
        {"RoundLimit", "Teams 1", ""},
        {"RoundTimeLimit", "Teams 1", ""},
        {"TeamGrenades", "Teams 1", ""},
        {"Scores", "Teams 1", ""},
    };
    return places;
}

}  // namespace tolvane::settings
