#include "ui/pages/TeamsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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
    form::ComboList* models[] = {&fields.Team1Model, &fields.Team2Model, &fields.Team3Model};
    form::Button* viewers[] = {&fields.Team1Viewer, &fields.Team2Viewer, &fields.Team3Viewer};
    for (int i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(QStringLiteral("Team #%1").arg(i + 1));
        QFormLayout* form = NewForm();
        group->setLayout(form);
        AddComboRow(b, form, QStringLiteral("Model"), *models[i]);
        form->addRow(QString(), NewButton(b, QString(), *viewers[i]));
        row->addWidget(group, 1);
    }
    layout->addLayout(row);
    auto* help = new QLabel;
    help->setObjectName(QStringLiteral("SkinViewHelp"));
    help->setWordWrap(true);
    bindLabel(b, help, fields.SkinViewHelp);
    layout->addWidget(help);
    layout->addWidget(TeamLinks());
    layout->addStretch(1);
    return page;
}

}  // namespace tolvane::ui
