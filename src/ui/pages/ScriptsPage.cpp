#include "ui/pages/ScriptsPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

namespace {

// A grid under its caption (the model's), whose mnemonic reaches the grid; the caption follows
// the grid's tool tip as well.
QWidget* ScriptGrid(Bindings& b, const QString& caption, form::Grid& grid, QListView*& made) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption);
    label->setToolTip(toQt(grid.toolTip()));
    QListView* view = NewGrid(b, grid);
    label->setBuddy(view);
    layout->addWidget(label);
    layout->addWidget(view, 1);
    made = view;
    return box;
}

}  // namespace

QWidget* BuildScriptsPage(Bindings& b, scripts::ScriptFields& s) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    // The execution list on the left, the scripts of the mod directory on the right: "<<" moves
    // a script into the list, ">>" back out, as on the Maps tab.
    auto* scripting = new QGroupBox(QStringLiteral("Advanced Scripting"));
    auto* row = new QHBoxLayout(scripting);
    QListView* run = nullptr;
    QListView* available = nullptr;
    row->addWidget(ScriptGrid(b, QStringLiteral("Scripts to E&xecute"), s.ScriptList, run), 1);
    QPushButton* add = NewButton(b, QStringLiteral("&<<"), s.ButtonScriptAdd);
    QPushButton* remove = NewButton(b, QStringLiteral("&>>"), s.ButtonScriptRemove);
    row->addLayout(MiddleButtons({add, remove, nullptr, NewButton(b, QStringLiteral("&Up"), s.ButtonScriptUp),
                                  NewButton(b, QStringLiteral("&Down"), s.ButtonScriptDown), nullptr,
                                  NewButton(b, QStringLiteral("&Edit Script"), s.ButtonScriptEdit)}));
    row->addWidget(ScriptGrid(b, QStringLiteral("Scripts A&vailable"), s.ScriptDir, available), 1);
    // Enter or a double-click moves a script across; Delete takes one off the list to run.
    GridKeys(run, [remove] { remove->click(); }, remove);
    GridKeys(available, [add] { add->click(); }, nullptr, add);
    layout->addWidget(scripting, 1);
    return page;
}

}  // namespace tolvane::ui
