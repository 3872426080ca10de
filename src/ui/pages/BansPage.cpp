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
// The captions carry the mnemonics, clear of the letters of the window's own buttons (N, S, T,
// C, A). Four grids share few letters: a repeated mnemonic moves the focus from one button to the
// next, and Space presses it.
QGroupBox* BanGroup(Bindings& b, form::Grid& grid, form::Button& add, const char* addCaption, form::Button& remove,
                    const char* removeCaption) {
    auto* group = new QGroupBox(toQt(grid.caption()));
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
    buttons->addWidget(NewButton(b, QString::fromLatin1(addCaption), add));
    buttons->addWidget(NewButton(b, QString::fromLatin1(removeCaption), remove));
    layout->addLayout(buttons);
    return group;
}

}  // namespace

QWidget* BuildBansPage(Bindings& b, plugin::PluginFields& f) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->addWidget(BanGroup(b, f.IPBans, f.ButtonIPNew, "Ne&w", f.ButtonIPDelete, "&Delete"), 0, 0);
    grid->addWidget(BanGroup(b, f.NameBans, f.ButtonNameNew, "N&ew", f.ButtonNameDelete, "De&lete"), 0, 1);
    grid->addWidget(BanGroup(b, f.FilterBans, f.ButtonFilterNew, "Ne&w", f.ButtonFilterDelete, "&Delete"), 1, 0);
    grid->addWidget(BanGroup(b, f.AliasBans, f.ButtonAliasNew, "N&ew", f.ButtonAliasDelete, "De&lete"), 1, 1);
    layout->addLayout(grid, 1);
    layout->addWidget(NoBWAdminNotice(b, f.NoBWAdmin[2]));
    return page;
}

}  // namespace tolvane::ui
