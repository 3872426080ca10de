#include "ui/pages/TeamsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

QWidget* BuildTeamPage(Bindings& b, app::MainFields& teams) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    form::ComboList* models[] = {&teams.Team1Model, &teams.Team2Model, &teams.Team3Model};
    form::Button* viewers[] = {&teams.Team1Viewer, &teams.Team2Viewer, &teams.Team3Viewer};
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
    bindLabel(b, help, teams.SkinViewHelp);
    layout->addWidget(help);
    layout->addStretch(1);
    return page;
}

}  // namespace tolvane::ui
