#pragma once
// The BW-Admin plug-in's controls on the tabs "BW Admin 1", "BW Admin 2" and "BW Bans": its
// settings, the four ban grids with their New and Delete buttons, and the notice shown on all
// three tabs when no bw-admin.cfg was found at start-up. Each control carries its caption and
// tool tip.
#include "form/Controls.h"
#include "form/Form.h"
#include "state/AppState.h"

namespace tolvane::plugin {

struct PluginFields {
    // Sets captions, tool tips and start values.
    PluginFields();
    PluginFields(const PluginFields&) = delete;
    PluginFields& operator=(const PluginFields&) = delete;

    // --- "BW Admin 1" ---
    form::TextBox Admin{"Admin"};
    form::TextBox Super{"Super"};
    form::CheckBox Banner{"Banner"};          // 1
    form::CheckBox BotCheck{"BotCheck"};      // 1
    form::CheckBox BotKick{"BotKick"};        // 1
    form::CheckBox Reload{"Reload"};          // 0
    form::CheckBox Reject_msg{"Reject_msg"};  // 1
    form::ComboList Strict{"Strict"};         // no item selected
    form::ComboList Logging{"Logging"};       // no item selected
    // Frame "Logging"
    form::CheckBox Track_Connect{"Track_Connect"};
    form::CheckBox Track_Disconnect{"Track_Disconnect"};
    form::CheckBox Track_Renames{"Track_Renames"};
    form::CheckBox Track_Refused{"Track_Refused"};
    // Frame "WGet"
    form::CheckBox Have_WGet{"Have_WGet"};          // 0
    form::CheckBox Auto_Download{"Auto_Download"};  // 1
    form::CheckBox Auto_Install{"Auto_Install"};    // 0
    form::CheckBox Auto_Restart{"Auto_Restart"};    // 0

    // --- "BW Admin 2" ---
    form::TextBox DLL{"DLL"};
    form::TextBox MOTD{"MOTD"};
    form::TextBox Stuff{"Stuff"};
    form::NumericField MaxFPS{"MaxFPS", "0", 32767, 1};
    form::NumericField CapKick{"CapKick", "0", 32767, 5};
    form::NumericField MaxRate{"MaxRate", "25000", 32767, 1000};
    form::NumericField MaxPing{"MaxPing", "0", 32767, 10};
    form::NumericField MinPing{"MinPing", "0", 32767, 10};
    // Frame "Flood"
    form::NumericField Flood_Lines{"Flood_Lines", "0", 32767, 10};
    form::NumericField Flood_Time{"Flood_Time", "0", 32767, 10};
    form::NumericField Flood_Ban{"Flood_Ban", "5", 32767, 10};

    // --- "BW Bans" ---
    form::Grid IPBans{"IPBans"};
    form::Grid NameBans{"NameBans"};
    form::Grid FilterBans{"FilterBans"};
    form::Grid AliasBans{"AliasBans"};
    form::Button ButtonIPNew{"ButtonIPNew"};
    form::Button ButtonIPDelete{"ButtonIPDelete"};
    form::Button ButtonNameNew{"ButtonNameNew"};
    form::Button ButtonNameDelete{"ButtonNameDelete"};
    form::Button ButtonFilterNew{"ButtonFilterNew"};
    form::Button ButtonFilterDelete{"ButtonFilterDelete"};
    form::Button ButtonAliasNew{"ButtonAliasNew"};
    form::Button ButtonAliasDelete{"ButtonAliasDelete"};

    // One element on each of "BW Admin 1", "BW Admin 2" and "BW Bans"; visible when no
    // bw-admin.cfg was found at start-up. Element 0 decides whether the save writes the
    // plug-in's files.
    form::Label NoBWAdmin[3] = {form::Label("NoBWAdmin(0)"), form::Label("NoBWAdmin(1)"),
                                form::Label("NoBWAdmin(2)")};

    form::NumericField* numericFields[8] = {&MaxFPS,  &CapKick,     &MaxRate,    &MaxPing,
                                            &MinPing, &Flood_Lines, &Flood_Time, &Flood_Ban};
};

// Fills the two choice lists with their three items each, in position order.
void FillPluginChoiceLists(PluginFields& fields);

// Registers every control, tab by tab, for printing and for setting, picking, clicking by name.
void RegisterPluginFields(form::Form& form, PluginFields& fields);

// Couples each numeric field's box and spinner.
void ConnectPluginFields(const Context& ctx, PluginFields& fields);

}  // namespace tolvane::plugin
