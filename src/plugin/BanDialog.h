#pragma once
// The ban dialog frmBans as a model: it asks for an address ban, or for a name that may only be
// used from an address, and turns its fields into the address form " - 1.2.3.4/32" (refused) or
// " + 10.0.0.0/8 #3" (allowed, at most three connections).
#include <string>

#include "form/Controls.h"
#include "form/Form.h"
#include "platform/Dialogs.h"
#include "state/AppState.h"

namespace tolvane::plugin {

class BanDialog : public platform::DialogModel {
public:
    explicit BanDialog(const Context& ctx);
    BanDialog(const BanDialog&) = delete;
    BanDialog& operator=(const BanDialog&) = delete;
    // "New BW Admin Ban" while a ban is added, "Edit BW Admin Ban" while one is changed.
    std::string title() const override { return title_; }

    form::TextBox NameBan{"NameBan"};
    form::Label NameBanLabel{"NameBanLabel"};
    form::Label NameBanHint{"NameBanHint"};
    form::TextBox IP{"IP"};
    form::Label IPLabel{"IPLabel"};
    form::NumericField SubnetMask{"SubnetMask", "32", 32, 1};
    form::Label SubnetMaskLabel{"SubnetMaskLabel"};
    form::NumericField MaxConnect{"MaxConnect", "0", 32767, 5};
    form::Label LabelMaxConnect{"LabelMaxConnect"};
    form::Label MaxConnectHint{"MaxConnectHint"};
    form::CheckBox Refuse{"Refuse"};
    form::Button ButtonSave{"ButtonSave"};
    form::Button ButtonCancel{"ButtonCancel"};

    // The dialog's fields by name, for setting them from the command line.
    form::Form fields;

    // Runs the dialog for an address ban: the address form, or "" when cancelled.
    std::string AddNewIP();
    // Runs the dialog for a name-at-address ban: the name, a blank and the address form, or ""
    // when cancelled.
    std::string AddNewNameIP();
    // Run the dialog on an existing row of the address bans or of the name-at-address bans,
    // its fields filled from the row: the changed row, or "" when cancelled.
    std::string EditIP(const std::string& row);
    std::string EditNameIP(const std::string& row);

    // Closing by the frame is a cancel: nothing is added.
    void closedByFrame() override { ButtonCancel.click(); }
    void confirm() override { ButtonSave.click(); }

private:
    void SetAddressFields(const std::string& form);
    void ResetBanDialog();
    // The reset for a name-at-address entry: the refusal and connection limit are out of use.
    void ResetForNameIP();
    std::string FormatAddressBan() const;
    void ButtonSave_Click();
    void Refuse_Click();

    const Context& ctx_;
    bool bBanSaved = false;
    std::string title_ = "New BW Admin Ban";
};

// Whether text is a dotted IPv4 address: four numbers from 0 to 255.
bool IsIPv4Address(const std::string& text);
// The message for an address that is not one.
std::string NotAnAddressMessage(const std::string& text);

}  // namespace tolvane::plugin
