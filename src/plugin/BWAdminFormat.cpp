#include "plugin/BWAdminFormat.h"

#include <optional>

#include "form/NumericCoupling.h"
#include "state/TextReaders.h"

namespace tolvane::plugin {

namespace {

using P = PluginFields;

// Only the blank is stripped around keys and values; a tab is part of the text.
std::string StripBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

struct KeyValue {
    std::string key;
    std::string value;
};

std::optional<KeyValue> SplitAssignment(const std::string& line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return KeyValue{StripBlanks(LowerCase(line.substr(0, eq))), StripBlanks(line.substr(eq + 1))};
}

const BWAdminKey* FindKey(const std::string& key) {
    for (const auto& k : BWAdminKeys())
        if (key == k.key) return &k;
    return nullptr;
}

// A value set on a check box or a spinner must fit a 16-bit signed integer first.
std::optional<int> ReadSmallInt(const std::string& value) {
    const auto n = form::ReadNumber(value);
    if (!n || *n < -32768 || *n > 32767) return std::nullopt;
    return static_cast<int>(*n);
}

void SetSpinner(form::Spinner& spinner, const std::string& value) {
    const auto n = ReadSmallInt(value);
    if (n && *n >= spinner.min() && *n <= spinner.max()) spinner.setValue(*n);
}

void ApplyValue(const BWAdminKey& k, const std::string& value, P& f) {
    std::visit(
        [&](auto member) {
            auto& control = f.*member;
            using C = std::decay_t<decltype(control)>;
            if constexpr (std::is_same_v<C, form::TextBox>) {
                control.setText(value);
            } else if constexpr (std::is_same_v<C, form::CheckBox>) {
                const auto n = ReadSmallInt(value);
                if (n && *n >= 0 && *n <= 2) control.setValue(*n);
            } else if constexpr (std::is_same_v<C, form::NumericField>) {
                if (&control == &f.MaxFPS) {
                    // The frame rate is stored as a plain integer ("060" shows as "60").
                    const auto n = form::ReadInt32(value);
                    if (!n) return;
                    control.setText(std::to_string(*n));
                    SetSpinner(control.scroll, std::to_string(*n));
                } else {
                    control.setText(value);
                    SetSpinner(control.scroll, value);
                }
            } else {
                // A number beyond 32 bits does not convert, and leaves the choice as any other
                // value outside 0 to 2 does.
                const auto n = form::ReadInt32(value);
                if (n && *n >= 0 && *n <= 2) control.setSelectedIndex(*n);
            }
        },
        k.control);
}

// The text "number <= 0" test of the replacing writer: the number itself, not its rounded
// value, so "0.4" still counts as above zero.
bool ReadsAsZeroOrLess(const std::string& text) {
    if (!form::IsNumber(text)) return false;
    const std::string s = StripBlanks(text);
    if (s.find_first_of("123456789") == std::string::npos) return true;
    return s.find('-') != std::string::npos;
}

bool ReadsBelowOne(const std::string& text) {
    const auto n = form::ReadNumber(text);
    return n && *n < 1;
}

std::string ChoiceValue(const form::ComboList& list, const char* one, const char* two) {
    const std::string text = list.text();
    if (text == one) return "1";
    if (text == two) return "2";
    return "0";
}

// The value written for a key, or nothing when its condition fails.
std::optional<std::string> WrittenValue(const BWAdminKey& k, const P& f, bool replacing) {
    return std::visit(
        [&](auto member) -> std::optional<std::string> {
            const auto& control = f.*member;
            using C = std::decay_t<decltype(control)>;
            if constexpr (std::is_same_v<C, form::TextBox>) {
                if (control.text().empty()) return std::nullopt;
                return control.text();
            } else if constexpr (std::is_same_v<C, form::CheckBox>) {
                return std::to_string(control.value());
            } else if constexpr (std::is_same_v<C, form::NumericField>) {
                const std::string& text = control.text();
                if (&control == &f.MaxFPS) {
                    if (replacing ? ReadsAsZeroOrLess(text) : ReadsBelowOne(text)) return std::nullopt;
                } else if (&control == &f.MaxPing || &control == &f.MinPing) {
                    if (ReadsBelowOne(text)) return std::nullopt;
                }
                return text;
            } else {
                if (&control == &f.Strict)
                    return ChoiceValue(control, "Enable Checking", "Enable Checking but allow NAT routers");
                return ChoiceValue(control, "Create new log on server initialization", "Append to existing log");
            }
        },
        k.control);
}

// The control's value as the writer spells it, before any condition of writing.
std::string CurrentValue(const BWAdminKey& k, const P& f) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& control = f.*member;
            using C = std::decay_t<decltype(control)>;
            if constexpr (std::is_same_v<C, form::TextBox> || std::is_same_v<C, form::NumericField>) {
                return control.text();
            } else if constexpr (std::is_same_v<C, form::CheckBox>) {
                return std::to_string(control.value());
            } else {
                if (&control == &f.Strict)
                    return ChoiceValue(control, "Enable Checking", "Enable Checking but allow NAT routers");
                return ChoiceValue(control, "Create new log on server initialization", "Append to existing log");
            }
        },
        k.control);
}

// What the reader takes from a line's value, spelled as CurrentValue spells it; nothing when
// the reader would leave the control as it was.
std::optional<std::string> ValueRead(const BWAdminKey& k, const std::string& value, const P& f) {
    return std::visit(
        [&](auto member) -> std::optional<std::string> {
            const auto& control = f.*member;
            using C = std::decay_t<decltype(control)>;
            if constexpr (std::is_same_v<C, form::TextBox>) {
                return value;
            } else if constexpr (std::is_same_v<C, form::CheckBox>) {
                const auto n = ReadSmallInt(value);
                if (!n || *n < 0 || *n > 2) return std::nullopt;
                return std::to_string(*n);
            } else if constexpr (std::is_same_v<C, form::NumericField>) {
                if (&control != &f.MaxFPS) return value;
                const auto n = form::ReadInt32(value);
                if (!n) return std::nullopt;
                return std::to_string(*n);
            } else {
                const auto n = form::ReadInt32(value);
                if (!n || *n < 0 || *n > 2 || *n >= control.count()) return std::nullopt;
                const std::string& text = control.item(*n);
                if (&control == &f.Strict)
                    return std::string(text == "Enable Checking" ? "1" : text == "Enable Checking but allow NAT routers" ? "2" : "0");
                return std::string(text == "Create new log on server initialization" ? "1"
                                   : text == "Append to existing log"                 ? "2"
                                                                                      : "0");
            }
        },
        k.control);
}

}  // namespace

const std::vector<BWAdminKey>& BWAdminKeys() {
    static const std::vector<BWAdminKey> keys = {
        {"admin", "admin", &P::Admin, 1},
        {"banner", "banner", &P::Banner, 2},
        {"botcheck", "botcheck", &P::BotCheck, 4},
        {"botkick", "botkick", &P::BotKick, 8},
        {"dll", "DLL", &P::DLL, 16},
        {"reload", "reload", &P::Reload, 64},
        {"maxfps", "maxfps", &P::MaxFPS, 256},
        {"capkick", "capkick", &P::CapKick, 512},
        {"maxrate", "maxrate", &P::MaxRate, 1024},
        {"maxping", "maxping", &P::MaxPing, 2048},
        {"minping", "minping", &P::MinPing, 4096},
        {"motd", "motd", &P::MOTD, 8192},
        {"stuff", "stuff", &P::Stuff, 16384},
        {"reject_msg", "reject_msg", &P::Reject_msg, 65536},
        {"strict", "strict", &P::Strict, 131072},
        {"super", "super", &P::Super, 262144},
        {"flood_lines", "flood_lines", &P::Flood_Lines, 524288},
        {"flood_time", "flood_time", &P::Flood_Time, 1048576},
        {"flood_ban", "flood_ban", &P::Flood_Ban, 2097152},
        {"logging", "logging", &P::Logging, 4194304},
        {"track_connect", "track_connect", &P::Track_Connect, 8388608},
        {"track_disconnect", "track_disconnect", &P::Track_Disconnect, 16777216},
        {"track_renames", "track_renames", &P::Track_Renames, 33554432},
        {"track_refused", "track_refused", &P::Track_Refused, 67108864},
        {"have_wget", "have_wget", &P::Have_WGet, 134217728},
        {"auto_download", "auto_download", &P::Auto_Download, 268435456},
        {"auto_install", "auto_install", &P::Auto_Install, 536870912},
        {"auto_restart", "auto_restart", &P::Auto_Restart, 128},
    };
    return keys;
}

bool ParseBWAdminLine(const std::string& line, PluginFields& fields) {
    const auto kv = SplitAssignment(line);
    if (!kv) return false;
    if (kv->key == "exec" || kv->key == "itemspawns") return true;
    const BWAdminKey* k = FindKey(kv->key);
    if (!k) return false;
    ApplyValue(*k, kv->value, fields);
    return true;
}

void ParseBWAdmin(const std::string& content, PluginFields& fields) {
    // A lone LF ends a line too: a file edited on Linux must not read as one long line.
    for (const std::string& line : SplitLines(content)) ParseBWAdminLine(line, fields);
}

std::string BuildBWAdmin(const PluginFields& fields, const std::string& oldContent) {
    std::string out;
    std::uint32_t written = 0;  // keys met in the old file, whether or not a line was kept
    for (const std::string& line : SplitLines(oldContent)) {
        const auto kv = SplitAssignment(line);
        const BWAdminKey* k = kv ? FindKey(kv->key) : nullptr;
        if (!k) {
            out += line + "\r\n";
            continue;
        }
        written |= k->flag;
        // A line that still says what the window shows is kept as the operator wrote it: its
        // spelling ("MaxFPS=90"), and a value the writer would leave out ("minping = 0").
        if (ValueRead(*k, kv->value, fields) == CurrentValue(*k, fields)) {
            out += line + "\r\n";
            continue;
        }
        if (const auto value = WrittenValue(*k, fields, true)) out += std::string(k->key) + " = " + *value + "\r\n";
    }
    for (const auto& k : BWAdminKeys()) {
        if (written & k.flag) continue;
        if (const auto value = WrittenValue(k, fields, false)) out += std::string(k.appendKey) + " = " + *value + "\r\n";
    }
    return out;
}

}  // namespace tolvane::plugin
