#include "ui/pages/BansPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/PluginPages.h"

namespace tolvane::ui {

namespace {

QPushButton* NewButton(form::Button& model) {
    auto* button = new QPushButton(toQt(model.caption()));
    button->setObjectName(toQt(model.name()));
    button->setAutoDefault(false);
    bindButton(button, model);
    return button;
}

// A framed grid with its buttons under it; the frame's title is the grid's caption and the
// grid's tool tip covers the whole frame.
QGroupBox* BanGroup(form::Grid& grid, form::Button& add, form::Button& remove) {
    auto* group = new QGroupBox(toQt(grid.caption()));
    group->setObjectName(toQt(grid.name()) + QStringLiteral("Frame"));
    if (!grid.toolTip().empty()) group->setToolTip(toQt(grid.toolTip()));
    auto* layout = new QVBoxLayout(group);
    auto* view = new QListView;
    view->setObjectName(toQt(grid.name()));
    view->setMinimumWidth(200);
    bindGrid(view, grid);
    layout->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(NewButton(add));
    buttons->addWidget(NewButton(remove));
    layout->addLayout(buttons);
    return group;
}

}  // namespace

QWidget* BuildBansPage(plugin::PluginFields& f) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->addWidget(BanGroup(f.IPBans, f.ButtonIPNew, f.ButtonIPDelete), 0, 0);
    grid->addWidget(BanGroup(f.NameBans, f.ButtonNameNew, f.ButtonNameDelete), 0, 1);
    grid->addWidget(BanGroup(f.FilterBans, f.ButtonFilterNew, f.ButtonFilterDelete), 1, 0);
    grid->addWidget(BanGroup(f.AliasBans, f.ButtonAliasNew, f.ButtonAliasDelete), 1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(NoBWAdminNotice(f.NoBWAdmin[2]));
    return page;
}

}  // namespace tolvane::ui
