#include "plugin/BanDialog.h"

#include "form/NumericCoupling.h"

namespace tolvane::plugin {

namespace {

std::string Trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

bool IsIPv4Address(const std::string& text) {
    int parts = 0;
    std::size_t i = 0;
    while (true) {
        std::size_t digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        ++parts;
        if (i == text.size()) return parts == 4;
        if (text[i] != '.' || parts == 4) return false;
        ++i;
    }
}

std::string NotAnAddressMessage(const std::string& text) {
    return "\"" + text + "\" is not an IP address!\rGive four numbers from 0 to 255 separated by dots, such as 192.168.1.7.";
}

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

    form::CoupleNumericField(ctx.showMessage(), SubnetMask);
    form::CoupleNumericField(ctx.showMessage(), MaxConnect);
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
    title_ = "New BW Admin Ban";
    ResetBanDialog();
    NameBan.setVisible(false);
    NameBanHint.setVisible(false);
    NameBanLabel.setVisible(false);
    NameBan.setEnabled(false);
    ctx_.dialogs.showModal(*this);
    return bBanSaved ? FormatAddressBan() : std::string();
}

void BanDialog::ResetForNameIP() {
    ResetBanDialog();
    Refuse.setValue(0);
    // Out of use here: a name-at-address entry always allows its address. The box stays in
    // view, disabled, so the dialog keeps one layout in both modes.
    Refuse.setEnabled(false);
    MaxConnect.box.setEnabled(false);
    MaxConnect.scroll.setEnabled(false);
    LabelMaxConnect.setEnabled(false);
    MaxConnectHint.setEnabled(false);
}

std::string BanDialog::AddNewNameIP() {
    title_ = "New BW Admin Ban";
    ResetForNameIP();
    ctx_.dialogs.showModal(*this);
    return bBanSaved ? NameBan.text() + " " + FormatAddressBan() : std::string();
}

// Fills the access, address, mask and limit fields from an address form (" - 1.2.3.4/32",
// " + 10.0.0.0/8 #3"). A form without a sign is shown refused, as the dialog starts; one
// without a mask shows 32.
void BanDialog::SetAddressFields(const std::string& form) {
    std::string rest = Trimmed(form);
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
        Refuse.setValue(rest[0] == '-' ? 1 : 0);
        rest = Trimmed(rest.substr(1));
    }
    std::string limit;
    if (const auto hash = rest.find('#'); hash != std::string::npos) {
        limit = Trimmed(rest.substr(hash + 1));
        rest = Trimmed(rest.substr(0, hash));
    }
    std::string mask = "32";
    if (const auto slash = rest.find('/'); slash != std::string::npos) {
        mask = Trimmed(rest.substr(slash + 1));
        rest = Trimmed(rest.substr(0, slash));
    }
    IP.setText(rest);
    SubnetMask.setText(mask);
    if (!limit.empty() && Refuse.value() == 0) MaxConnect.setText(limit);
}

std::string BanDialog::EditIP(const std::string& row) {
    ResetBanDialog();
    title_ = "Edit BW Admin Ban";
    NameBan.setVisible(false);
    NameBanHint.setVisible(false);
    NameBanLabel.setVisible(false);
    NameBan.setEnabled(false);
    SetAddressFields(row);
    ctx_.dialogs.showModal(*this);
    return bBanSaved ? FormatAddressBan() : std::string();
}

std::string BanDialog::EditNameIP(const std::string& row) {
    title_ = "Edit BW Admin Ban";
    ResetForNameIP();
    // The name runs to the first blank; the address form follows it.
    const auto blank = row.find(' ');
    NameBan.setText(row.substr(0, blank));
    if (blank != std::string::npos) {
        SetAddressFields(row.substr(blank));
        Refuse.setValue(0);  // an alias always allows its address
    }
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
    form += Trimmed(IP.text());  // blanks around the address would break the line's form
    const auto mask = form::ReadNumber(SubnetMask.text());
    if (mask && *mask >= 0 && *mask <= 32) form += "/" + SubnetMask.text();
    if (Refuse.value() == 0) {
        const auto limit = form::ReadNumber(MaxConnect.text());
        if (limit && *limit > 0) form += " #" + MaxConnect.text();
    }
    return form;
}

void BanDialog::ButtonSave_Click() {
    if (NameBan.text().find(' ') != std::string::npos) {
        ctx_.message("Name cannot contain any spaces!");
        form::FocusAndSelect(NameBan);
        return;
    }
    if (NameBan.enabled() && NameBan.text().empty()) {
        ctx_.message("You must enter a name!");
        NameBan.requestFocus();
        return;
    }
    // Blanks alone are no address: they would save as "IP: -  /32".
    const std::string address = Trimmed(IP.text());
    if (address.empty()) {
        ctx_.message("You must enter an IP address!");
        IP.requestFocus();
        return;
    }
    if (!IsIPv4Address(address)) {
        ctx_.message(NotAnAddressMessage(address));
        form::FocusAndSelect(IP);
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
