#include "plugin/BanEditing.h"

namespace tolvane::plugin {

namespace {

std::string StripBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string Ask(const Context& ctx, const std::string& prompt, const std::string& title) {
    return StripBlanks(ctx.dialogs.input(prompt, title, "").value_or(""));
}

}  // namespace

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
        if (name.find(' ') != std::string::npos) {
            c->message("Name cannot contain any spaces!");
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
