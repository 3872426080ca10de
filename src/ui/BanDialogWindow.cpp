#include "ui/BanDialogWindow.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "plugin/BanDialog.h"
#include "ui/Bindings.h"
#include "ui/NumericFieldWidget.h"

namespace tolvane::ui {

namespace {

QLabel* NewLabel(Bindings& b, const QString& designed, form::Label& model, QWidget* buddy) {
    auto* label = new QLabel(designed);
    label->setObjectName(toQt(model.name()));
    label->setBuddy(buddy);
    bindLabel(b, label, model);
    return label;
}

// A field with a hint after it ("(Case Sensitive)", "0 = No Limit").
QWidget* WithHint(Bindings& b, QWidget* field, form::Label& hint) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field);
    auto* label = new QLabel(toQt(hint.caption()));
    label->setObjectName(toQt(hint.name()));
    bindLabel(b, label, hint);
    layout->addWidget(label);
    layout->addStretch(1);
    return row;
}

QPushButton* NewButton(Bindings& b, const QString& designed, form::Button& model) {
    auto* button = new QPushButton(designed);
    button->setObjectName(toQt(model.name()));
    bindButton(b, button, model);
    return button;
}

std::unique_ptr<QDialog> MakeBanWindow(plugin::BanDialog& model, QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(QStringLiteral("frmBans"));
    Bindings& b = BindingsOf(dialog.get());
    dialog->setWindowTitle(toQt(model.title()));
    auto* layout = new QVBoxLayout(dialog.get());
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addLayout(form);

    auto* name = new QLineEdit;
    name->setObjectName(QStringLiteral("NameBan"));
    name->setMinimumWidth(200);
    QLabel* nameLabel = NewLabel(b, QStringLiteral("&Name"), model.NameBanLabel, name);
    bindTextBox(b, name, model.NameBan);
    form->addRow(nameLabel, WithHint(b, name, model.NameBanHint));

    auto* ip = new QLineEdit;
    ip->setObjectName(QStringLiteral("IP"));
    ip->setMinimumWidth(200);
    QLabel* ipLabel = NewLabel(b, QStringLiteral("&IP Address"), model.IPLabel, ip);
    bindTextBox(b, ip, model.IP);
    form->addRow(ipLabel, ip);

    auto* mask = new NumericFieldWidget;
    mask->setObjectName(QStringLiteral("SubnetMask"));
    QLabel* maskLabel = NewLabel(b, QStringLiteral("Subnet &Mask"), model.SubnetMaskLabel, mask->lineEdit());
    mask->bind(b, model.SubnetMask);
    form->addRow(maskLabel, mask);

    auto* refuse = new QCheckBox(QStringLiteral("&Refuse Access"));
    refuse->setObjectName(QStringLiteral("Refuse"));
    bindCheckBox(b, refuse, model.Refuse);
    form->addRow(QString(), refuse);

    auto* limit = new NumericFieldWidget;
    limit->setObjectName(QStringLiteral("MaxConnect"));
    QLabel* limitLabel = NewLabel(b, QStringLiteral("Max Co&nnections"), model.LabelMaxConnect, limit->lineEdit());
    limit->bind(b, model.MaxConnect);
    form->addRow(limitLabel, WithHint(b, limit, model.MaxConnectHint));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* save = NewButton(b, QStringLiteral("&SAVE BAN"), model.ButtonSave);
    save->setDefault(true);
    buttons->addWidget(save);
    buttons->addWidget(NewButton(b, QStringLiteral("&CANCEL BAN"), model.ButtonCancel));
    layout->addLayout(buttons);

    // The first field in use takes the keyboard.
    if (model.NameBan.enabled()) name->setFocus();
    else ip->setFocus();
    return dialog;
}

}  // namespace

void RegisterBanDialog(QtDialogs& dialogs) { dialogs.registerDialog<plugin::BanDialog>(MakeBanWindow); }

}  // namespace tolvane::ui
