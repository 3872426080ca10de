#include "ui/pages/BansPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "ui/pages/PageHelpers.h"
#include "ui/pages/PluginPages.h"

namespace tolvane::ui {

QWidget* BuildBansPage(Bindings& b, app::MainFields& bans) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->addWidget(GridGroup(b, QStringLiteral("IP Bans"), bans.IPBans), 0, 0);
    grid->addWidget(GridGroup(b, QStringLiteral("Name Bans"), bans.NameBans), 0, 1);
    grid->addWidget(GridGroup(b, QStringLiteral("Filtered Text"), bans.FilterBans), 1, 0);
    grid->addWidget(GridGroup(b, QStringLiteral("Name @IP Bans"), bans.AliasBans), 1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(NoBWAdminNotice(b, bans.NoBWAdmin0));
    return page;
}

}  // namespace tolvane::ui
