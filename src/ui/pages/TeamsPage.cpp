#include "ui/pages/TeamsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/Links.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

QWidget* BuildTeamPage(Bindings& b, teams::TeamFields& fields) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    // Each frame: the team's name, its model and a skin of that model, and the viewer button.
    // Three teams of "Name", "Model" and "Skin" have fewer letters between them than rows once
    // the window's buttons have theirs: each frame takes its team's digit (Alt+1 reaches the
    // first team's name), and the letters left go to the rows the digits do not reach.
    const QString mnemonics[3][3] = {{QStringLiteral("Na&me"), QStringLiteral("M&odel"), QStringLiteral("Sk&in")},
                                     {QStringLiteral("Nam&e"), QStringLiteral("Mo&del"), QStringLiteral("Skin")},
                                     {QStringLiteral("Name"), QStringLiteral("Mode&l"), QStringLiteral("Skin")}};
    for (std::size_t i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(QStringLiteral("Team #&%1").arg(i + 1));
        QFormLayout* form = NewForm();
        group->setLayout(form);
        auto* name = new QLineEdit;
        name->setObjectName(toQt(fields.nameBoxes()[i]->name()));
        QLabel* label = RowLabel(mnemonics[i][0].toStdString(), name);
        bindTextBox(b, name, *fields.nameBoxes()[i], label);
        form->addRow(label, name);
        AddComboRow(b, form, mnemonics[i][1], *fields.modelLists()[i]);
        AddComboRow(b, form, mnemonics[i][2], *fields.skinLists()[i]);
        form->addRow(QString(), NewButton(b, QString(), *fields.viewerButtons()[i]));
        row->addWidget(group, 1);
    }
    layout->addLayout(row);
    // Says when the file read gives the mod only two teams.
    auto* absent = new QLabel;
    absent->setObjectName(QStringLiteral("Team3Absent"));
    absent->setWordWrap(true);
    bindLabel(b, absent, fields.Team3Absent);
    layout->addWidget(absent);
    auto* help = new QLabel;
    help->setObjectName(QStringLiteral("SkinViewHelp"));
    help->setWordWrap(true);
    bindLabel(b, help, fields.SkinViewHelp);
    layout->addWidget(help);
    layout->addWidget(TeamLinks());
    layout->addStretch(1);
    TabInLayoutOrder(page);
    return page;
}

}  // namespace tolvane::ui
