#pragma once
// bw-admin.cfg, the plug-in's settings: "key = value" lines. The reader applies each line with a
// known key to its control; the builder keeps the old file's layout, replaces every line with a
// known key in place and appends the keys the file lacked, in the table's order.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "plugin/PluginFields.h"

namespace tolvane::plugin {

// The control a key is bound to; its type is the key's kind (text, check box, numeric, choice).
using BoundControl = std::variant<form::TextBox PluginFields::*, form::CheckBox PluginFields::*,
                                  form::NumericField PluginFields::*, form::ComboList PluginFields::*>;

struct BWAdminKey {
    const char* key;         // lower case, as compared and as rewritten in place
    const char* appendKey;   // as written when appended ("DLL" for the library key)
    BoundControl control;
    std::uint32_t flag;      // bit in the set of keys met in the old file
};

// The 28 owned keys, in the order missing ones are appended.
const std::vector<BWAdminKey>& BWAdminKeys();

// Applies one line to the controls. True when the line holds "=" and a known key (the two
// keys without a control, "exec" and "itemspawns", included). A value that cannot be applied
// leaves only its own control unchanged.
bool ParseBWAdminLine(const std::string& line, PluginFields& fields);
// Applies every line of a file's content, in order (the later of two equal keys wins).
void ParseBWAdmin(const std::string& content, PluginFields& fields);

// The new file from the controls and the old file's content (empty when there is none).
// Every line ends with CR LF.
std::string BuildBWAdmin(const PluginFields& fields, const std::string& oldContent);

}  // namespace tolvane::plugin
