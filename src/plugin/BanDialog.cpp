#include "plugin/BanDialog.h"

#include "settings/NumericCoupling.h"

namespace tolvane::plugin {

BanDialog::BanDialog(const Context& ctx) : ctx_(ctx) {
    NameBanLabel.setCaption("Name");
    NameBanHint.setCaption("(Case Sensitive)");
    IPLabel.setCaption("IP Address");
    SubnetMaskLabel.setCaption("Subnet Mask");
    LabelMaxConnect.setCaption("Max Connections");
    MaxConnectHint.setCaption("0 = No Limit");
    Refuse.setCaption("Refuse Access");
    ButtonSave.setCaption("SAVE BAN");
    ButtonCancel.setCaption("CANCEL BAN");
    Refuse.setValue(1);
    MaxConnect.box.setEnabled(false);
    MaxConnect.scroll.setEnabled(false);

    settings::CoupleNumericField(ctx, SubnetMask);
    settings::CoupleNumericField(ctx, MaxConnect);
    Refuse.changed.attach([this] { Refuse_Click(); });
    ButtonSave.clicked.attach([this] { ButtonSave_Click(); });
    ButtonCancel.clicked.attach([this] {
        bBanSaved = false;
        hide();
    });

    fields.add(NameBan);
    fields.add(IP);
    fields.add(SubnetMask);
    fields.add(MaxConnect);
    fields.add(Refuse);
}

std::string BanDialog::AddNewIP() {
    ResetBanDialog();
    NameBan.setVisible(false);
    NameBanHint.setVisible(false);
    NameBanLabel.setVisible(false);
    NameBan.setEnabled(false);
    ctx_.dialogs.showModal(*this);
    return bBanSaved ? FormatAddressBan() : std::string();
}

std::string BanDialog::AddNewNameIP() {
    ResetBanDialog();
    Refuse.setValue(0);
    // Out of use here: a name-at-address entry always allows its address. The box stays in
    // view, disabled, so the dialog keeps one layout in both modes.
    Refuse.setEnabled(false);
    MaxConnect.box.setEnabled(false);
    MaxConnect.scroll.setEnabled(false);
    LabelMaxConnect.setEnabled(false);
    MaxConnectHint.setEnabled(false);
    ctx_.dialogs.showModal(*this);
    return bBanSaved ? NameBan.text() + " " + FormatAddressBan() : std::string();
}

void BanDialog::ResetBanDialog() {
    bBanSaved = false;
    IP.setText("");
    LabelMaxConnect.setEnabled(true);
    MaxConnectHint.setEnabled(true);
    NameBan.setEnabled(true);
    NameBan.setVisible(true);
    NameBanHint.setVisible(true);
    NameBanLabel.setVisible(true);
    NameBan.setText("");
    Refuse.setEnabled(true);
    Refuse.setValue(1);
    SubnetMask.setText("32");
    SubnetMask.scroll.setValue(32);
    MaxConnect.setText("0");
    MaxConnect.scroll.setValue(0);
}

std::string BanDialog::FormatAddressBan() const {
    std::string form = Refuse.value() == 1 ? " - " : " + ";
    form += IP.text();
    const auto mask = settings::ReadNumber(SubnetMask.text());
    if (mask && *mask >= 0 && *mask <= 32) form += "/" + SubnetMask.text();
    if (Refuse.value() == 0) {
        const auto limit = settings::ReadNumber(MaxConnect.text());
        if (limit && *limit > 0) form += " #" + MaxConnect.text();
    }
    return form;
}

void BanDialog::ButtonSave_Click() {
    if (NameBan.text().find(' ') != std::string::npos) {
        ctx_.message("Name cannot contain any spaces!");
        settings::FocusAndSelect(NameBan);
        return;
    }
    if (NameBan.enabled() && NameBan.text().empty()) {
        ctx_.message("You must enter a name!");
        NameBan.requestFocus();
        return;
    }
    if (IP.text().empty()) {
        ctx_.message("You must enter an IP address!");
        IP.requestFocus();
        return;
    }
    bBanSaved = true;
    hide();
}

void BanDialog::Refuse_Click() {
    const bool limited = Refuse.value() < 1;
    MaxConnect.scroll.setEnabled(limited);
    MaxConnect.box.setEnabled(limited);
}

}  // namespace tolvane::plugin
