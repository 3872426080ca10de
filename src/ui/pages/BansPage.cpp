#include "ui/pages/BansPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/PageHelpers.h"
#include "ui/pages/PluginPages.h"

namespace tolvane::ui {

namespace {

// A framed grid with its buttons under it; the frame's title is the grid's caption and the
// grid's tool tip covers the whole frame.
// Four New and four Delete buttons cannot each have a letter of their own, so the frames carry
// the mnemonics: the frame's letter reaches its grid, where Insert, Delete and Enter act on it.
QGroupBox* BanGroup(Bindings& b, const QString& title, form::Grid& grid, form::Button& add, form::Button& remove,
                    const std::function<void(form::Grid&)>& edit) {
    auto* group = new QGroupBox(title);
    group->setObjectName(toQt(grid.name()) + QStringLiteral("Frame"));
    if (!grid.toolTip().empty()) group->setToolTip(toQt(grid.toolTip()));
    auto* layout = new QVBoxLayout(group);
    auto* view = new QListView;
    view->setObjectName(toQt(grid.name()));
    view->setMinimumWidth(200);
    bindGrid(b, view, grid);
    layout->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* addButton = NewButton(b, QStringLiteral("New"), add);
    QPushButton* removeButton = NewButton(b, QStringLiteral("Delete"), remove);
    addButton->setToolTip(QStringLiteral("Add a row at the end (Insert in the list)"));
    removeButton->setToolTip(QStringLiteral("Delete the selected row (Delete in the list)"));
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    layout->addLayout(buttons);
    GridKeys(view, edit ? std::function<void()>([edit, &grid] { edit(grid); }) : std::function<void()>(), removeButton,
             addButton);
    return group;
}

}  // namespace

QWidget* BuildBansPage(Bindings& b, plugin::PluginFields& f, std::function<void(form::Grid&)> edit) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    QGroupBox* ip = BanGroup(b, QStringLiteral("&IP Bans"), f.IPBans, f.ButtonIPNew, f.ButtonIPDelete, edit);
    // The address bans have no tool tip of their own: this one explains the signs of a row.
    ip->setToolTip(QStringLiteral("\"-\" refuses the address, \"+\" lets it in; \"/N\" is the mask length "
                                  "(32: one address); \"#N\" allows at most N connections from it.\n"
                                  "Enter or a double-click edits a ban."));
    grid->addWidget(ip, 0, 0);
    grid->addWidget(BanGroup(b, QStringLiteral("Na&me Bans"), f.NameBans, f.ButtonNameNew, f.ButtonNameDelete, edit), 0, 1);
    grid->addWidget(BanGroup(b, QStringLiteral("&Filtered Text"), f.FilterBans, f.ButtonFilterNew, f.ButtonFilterDelete, edit),
                    1, 0);
    grid->addWidget(BanGroup(b, QStringLiteral("Name @I&P Bans"), f.AliasBans, f.ButtonAliasNew, f.ButtonAliasDelete, edit),
                    1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(NoBWAdminNotice(b, f.NoBWAdmin[2]));
    return page;
}

}  // namespace tolvane::ui
