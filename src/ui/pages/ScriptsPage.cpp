#include "ui/pages/ScriptsPage.h"

#include <QGroupBox>
#include <QHBoxLayout>

#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

QWidget* BuildScriptsPage(Bindings& b, scripts::ScriptFields& scripts) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* scripting = new QGroupBox(QStringLiteral("Advanced Scripting"));
    auto* grids = new QHBoxLayout(scripting);
    QWidget* run = CaptionedGrid(b, QStringLiteral("Scripts to Execute"), scripts.ScriptList);
    QWidget* available = CaptionedGrid(b, QStringLiteral("Scripts Available"), scripts.ScriptDir);
    run->setToolTip(QStringLiteral("Scripts to execute prior to the server.cfg to set up other options"));
    available->setToolTip(
        QStringLiteral("Scripts available to be able to execute within the action directory"));
    grids->addWidget(run, 1);
    grids->addWidget(available, 1);
    layout->addWidget(scripting, 1);
    return page;
}

}  // namespace tolvane::ui
