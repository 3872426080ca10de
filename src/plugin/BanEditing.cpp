#include "plugin/BanEditing.h"

#include <cctype>

namespace tolvane::plugin {

namespace {

std::string StripBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string Ask(const Context& ctx, const std::string& prompt, const std::string& title,
                const std::string& proposed = "") {
    return StripBlanks(ctx.dialogs.input(prompt, title, proposed).value_or(""));
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The checks of a name ban typed in the input box: the message when it is refused, or "".
std::string NameRefusal(const form::Grid& names, const std::string& name, int except) {
    if (name.find(' ') != std::string::npos) return "Name cannot contain any spaces!";
    return NameBanClash(names, name, except);
}

}  // namespace

std::string NameBanClash(const form::Grid& names, const std::string& name, int except) {
    const std::string wanted = Lower(name);
    for (int i = 0; i < names.rowCount(); ++i) {
        if (i == except || Lower(names.text(i)) != wanted) continue;
        return "\"" + name + "\" is banned already as \"" + names.text(i) +
               "\"!\rName bans do not tell capital letters from small ones.";
    }
    return {};
}

void EditCurrentBan(const Context& ctx, PluginFields& f, BanDialog& frmBans, form::Grid& grid) {
    const int row = grid.currentRow();
    if (row < 0 || row >= grid.rowCount()) return;
    const std::string old = grid.text(row);
    std::string now;
    if (&grid == &f.IPBans) {
        now = frmBans.EditIP(old);
    } else if (&grid == &f.AliasBans) {
        now = frmBans.EditNameIP(old);
    } else if (&grid == &f.NameBans) {
        now = Ask(ctx, "Name to ban:", "Edit Name", old);
        if (const std::string refused = now.empty() ? "" : NameRefusal(grid, now, row); !refused.empty()) {
            ctx.message(refused);
            return;
        }
    } else if (&grid == &f.FilterBans) {
        now = Ask(ctx, "Text to Filter:", "Edit Filter", old);
    }
    if (!now.empty() && now != old) grid.setText(row, now);
}

void DeleteCurrentBan(form::Grid& grid) {
    if (grid.currentRow() < 0) return;
    if (grid.rowCount() >= 2) grid.remove(grid.currentRow());
    else grid.clear();
}

void ConnectBanButtons(const Context& ctx, PluginFields& f, BanDialog& frmBans) {
    const Context* c = &ctx;
    f.ButtonIPNew.clicked.attach([&f, &frmBans] {
        const std::string ban = frmBans.AddNewIP();
        if (!ban.empty()) f.IPBans.append(ban);
    });
    f.ButtonAliasNew.clicked.attach([&f, &frmBans] {
        const std::string ban = frmBans.AddNewNameIP();
        if (!ban.empty()) f.AliasBans.append(ban);
    });
    f.ButtonNameNew.clicked.attach([c, &f] {
        const std::string name = Ask(*c, "Name to ban:", "Add New Name");
        if (name.empty()) return;
        if (const std::string refused = NameRefusal(f.NameBans, name, -1); !refused.empty()) {
            c->message(refused);
            return;
        }
        f.NameBans.append(name);
    });
    f.ButtonFilterNew.clicked.attach([c, &f] {
        const std::string text = Ask(*c, "Text to Filter:", "Add New Filter");
        if (!text.empty()) f.FilterBans.append(text);
    });
    f.ButtonIPDelete.clicked.attach([&f] { DeleteCurrentBan(f.IPBans); });
    f.ButtonNameDelete.clicked.attach([&f] { DeleteCurrentBan(f.NameBans); });
    f.ButtonFilterDelete.clicked.attach([&f] { DeleteCurrentBan(f.FilterBans); });
    f.ButtonAliasDelete.clicked.attach([&f] { DeleteCurrentBan(f.AliasBans); });
}

}  // namespace tolvane::plugin
