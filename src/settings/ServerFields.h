#pragma once
// The server settings: every control of the settings tabs whose value ends up in the server's
// configuration script, plus the few inert controls that sit beside them. The control is the
// setting: readers set these controls and the writer reads them. Each control carries its
// label text (caption) and tool tip; a caption "&&" is kept as written, the window shows one "&".
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "form/Controls.h"
#include "form/Form.h"
#include "state/AppState.h"

namespace tolvane::settings {

struct ServerFields {
    // Sets the captions and tool tips, and brings every spinner to its box's start value.
    ServerFields();
    ServerFields(const ServerFields&) = delete;
    ServerFields& operator=(const ServerFields&) = delete;

    // --- "Server 1" ---
    form::TextBox HostName{"HostName"};  // starts "Action Quake Server"
    form::TextBox Password{"Password"};  // the remote console password
    form::NumericField FragLimit{"FragLimit", "0", 32767, 1};
    form::NumericField TimeLimit{"TimeLimit", "0", 32767, 5};
    form::NumericField MaxClients{"MaxClients", "10", 255, 1};
    form::NumericField TimeOut{"TimeOut", "60", 32767, 10};
    // A UDP port: the whole 16-bit range is valid.
    form::NumericField Port{"Port", "27910", 65535, 1};
    form::TextBox MasterServer1{"MasterServer1"};
    form::TextBox MasterServer2{"MasterServer2"};
    form::TextBox MasterServer3{"MasterServer3"};
    form::TextBox MasterServer4{"MasterServer4"};

    // --- "Server 2": switches and the game flags ---
    form::CheckBox PublicServer{"PublicServer"};          // 0
    form::CheckBox RotateMaps{"RotateMaps"};              // 1
    form::CheckBox Dedicated{"Dedicated"};                // 0
    form::CheckBox RadioLog{"RadioLog"};                  // 0
    form::CheckBox ShowHUD{"ShowHUD"};                    // 1, written inverted as "nohud"
    form::CheckBox CheckUseVoice{"CheckUseVoice"};        // inert, starts ticked
    // The six boxes behind "dmflags" (group "Game Flags").
    form::CheckBox GrenadesStay{"GrenadesStay"};          // bit 4 when ticked
    form::CheckBox FallDamage{"FallDamage"};              // bit 8 when clear; starts ticked
    form::CheckBox SameMap{"SameMap"};                    // bit 32 when ticked
    form::CheckBox FriendlyFire{"FriendlyFire"};          // bit 256 when clear
    form::CheckBox SpawnFarthest{"SpawnFarthest"};        // bit 512 when ticked
    form::CheckBox ForceRespawn{"ForceRespawn"};          // bit 1024 when ticked
    // The map-voting group: inert, no change handlers, stored nowhere. Its start values are not
    // given anywhere: the box is clear, the texts empty, the spinners at 0 within 0..32767.
    form::CheckBox Check1{"Check1"};
    form::TextBox Text1{"Text1"};
    form::TextBox Text2{"Text2"};
    form::TextBox Text3{"Text3"};
    form::Spinner VScroll1{"VScroll1"};
    form::Spinner VScroll2{"VScroll2"};
    form::Spinner VScroll3{"VScroll3"};

    // --- "Server 3": message of the day, graphics limits, downloading, weapons and items ---
    form::NumericField TimeMOTD{"TimeMOTD", "2", 32767, 2};
    form::CheckBox SkipMOTD{"SkipMOTD"};                  // 0
    form::NumericField SplatLimit{"SplatLimit", "0", 32767, 5};
    form::NumericField BHoleLimit{"BHoleLimit", "0", 32767, 5};
    form::NumericField KnifeLimit{"KnifeLimit", "40", 32767, 5};
    form::CheckBox Shells{"Shells"};                      // 0, written inverted as "shelloff"
    form::CheckBox AllowDownload{"AllowDownload"};        // 1
    form::CheckBox AllowDownloadMaps{"AllowDownloadMaps"};        // 1
    form::CheckBox AllowDownloadPlayers{"AllowDownloadPlayers"};  // 1
    form::CheckBox AllowDownloadModels{"AllowDownloadModels"};    // 1
    form::CheckBox AllowDownloadSounds{"AllowDownloadSounds"};    // 1
    form::NumericField MaxWeapons{"MaxWeapons", "1", 32767, 1};
    form::CheckBox AllWeapons{"AllWeapons"};              // inert
    form::NumericField MaxItems{"MaxItems", "1", 32767, 1};
    form::CheckBox AllItems{"AllItems"};                  // inert
    form::CheckBox Infrared{"Infrared"};                  // 1

    // --- "Game Spy" ---
    form::TextBox AdminName{"AdminName"};
    form::TextBox WebSite{"WebSite"};
    form::TextBox Location{"Location"};
    form::TextBox Email{"Email"};

    // --- "Teams 1" ---
    form::CheckBox TeamPlay{"TeamPlay"};                  // 0
    form::NumericField RoundLimit{"RoundLimit", "0", 32767, 1};
    form::NumericField RoundTimeLimit{"RoundTimeLimit", "0", 32767, 5};
    form::NumericField TeamGrenades{"TeamGrenades", "1", 32767, 1};
    form::CheckBox Scores{"Scores"};                      // 1, written inverted as "noscore"

    // The bits of the game-flag word read from the file that no box stands for (no health, no
    // armour, infinite ammo ...). They are written back unchanged beside the six boxes' bits.
    std::int32_t dmflagsOtherBits = 0;

    // True while a file is read into the fields: its values are taken as they stand, even those
    // typing would refuse.
    bool readingFile = false;
    // The line each text variable (host name, password, server information) was last read
    // from, by variable name. A value holding a double quote is written back as that line
    // while the field still holds what the line gives.
    std::map<std::string, std::string> readLines;

    // The numeric fields written to the server configuration, in table order.
    std::vector<form::NumericField*> numericFields();
};

// Registers every control in window order (tab by tab) for printing and setting by name.
// The inert spinners VScroll1..3 have no entry: a lone spinner has no form entry kind.
void RegisterServerFields(form::Form& form, ServerFields& fields);

// Wires the change handlers: each numeric field's box and spinner are coupled, and the text
// fields written between quotes (and the password) refuse a double quote. The check boxes have
// no handlers; the map-voting group is deliberately left uncoupled.
void ConnectServerFields(const Context& ctx, ServerFields& fields);

// Where a control sits in the window, for laying the tabs out.
//   name:  the control's name (a numeric field by its box's name; its spinner goes beside it;
//          VScroll1..3 sit beside Text1..3)
//   tab:   "Server 1", "Server 2", "Server 3", "Game Spy" or "Teams 1"
//   group: the titled frame the control sits in, or "" when it sits on the tab itself
//          ("Game Flags", "Map Voting", "Message of the Day",
//          "Graphics Limits", "Downloading", "Special Weapons and Items")
// The list is in window order, the same order RegisterServerFields uses. For text boxes and
// numeric fields the caption is the label text beside the box; for check boxes it is the box's
// own caption. MasterServer2..4 have no caption: the label "Master Servers" of MasterServer1
// stands for all four. Text1..3 have no label.
struct FieldPlace {
    const char* name;
    const char* tab;
    const char* group;
};
const std::vector<FieldPlace>& ServerFieldPlaces();

}  // namespace tolvane::settings
