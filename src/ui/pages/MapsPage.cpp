#include "ui/pages/MapsPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Bindings.h"
#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

namespace {

// A grid under a label whose mnemonic reaches the grid; several rows can be picked at once.
// With a filter, a box between the label and the grid narrows what the grid shows.
QWidget* LabelledGrid(Bindings& b, const QString& caption, form::Grid& grid, QListView** made, bool withFilter = false) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption);
    auto* view = new QListView;
    view->setObjectName(toQt(grid.name()));
    view->setMinimumWidth(160);
    label->setBuddy(view);
    layout->addWidget(label);
    GridViewOptions options;
    options.pickSeveral = true;
    if (withFilter) {
        auto* filter = new QLineEdit;
        filter->setObjectName(toQt(grid.name()) + QStringLiteral("Filter"));
        filter->setPlaceholderText(QStringLiteral("Filter: type part of a map name"));
        filter->setClearButtonEnabled(true);
        filter->setToolTip(QStringLiteral("Shows only the maps whose names hold this text (ignoring case); "
                                          "the maps and the rotation stay as they are"));
        auto* filterLabel = new QLabel(QStringLiteral("&Filter"));
        filterLabel->setBuddy(filter);
        auto* filterRow = new QHBoxLayout;
        filterRow->addWidget(filterLabel);
        filterRow->addWidget(filter, 1);
        layout->addLayout(filterRow);
        options.filter = filter;
    }
    bindGrid(b, view, grid, label, options);
    layout->addWidget(view, 1);
    *made = view;
    return box;
}

QPushButton* Button(Bindings& b, const QString& designed, form::Button& model) {
    auto* button = new QPushButton(designed);
    button->setObjectName(toQt(model.name()));
    button->setAutoDefault(false);
    bindButton(b, button, model);
    return button;
}

// A column of buttons kept at their natural width, from the top; an empty entry is a gap.
QVBoxLayout* ButtonColumn(std::initializer_list<QWidget*> buttons) {
    auto* column = new QVBoxLayout;
    for (QWidget* w : buttons) {
        if (w) column->addWidget(w);
        else column->addSpacing(12);
    }
    column->addStretch(1);
    return column;
}

}  // namespace

QWidget* BuildMapsPage(Bindings& b, maps::MapFields& f) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    // The rotation on the left, the available maps on the right: "<<" moves a map into the
    // rotation, ">>" back out.
    auto* order = new QGroupBox(QStringLiteral("Server Map Order"));
    auto* orderRow = new QHBoxLayout(order);
    QListView* rotation = nullptr;
    QListView* available = nullptr;
    QPushButton* add = Button(b, QStringLiteral("&<<"), f.ButtonAdd);
    QPushButton* remove = Button(b, QStringLiteral("&>>"), f.ButtonRemove);
    orderRow->addWidget(LabelledGrid(b, QStringLiteral("Server &Map List"), f.MapIni, &rotation), 1);
    orderRow->addLayout(MiddleButtons({add, remove,
                                       nullptr, Button(b, QStringLiteral("&Randomize Order"), f.ButtonRandom),
                                       Button(b, QStringLiteral("&Up"), f.ButtonServerUp),
                                       Button(b, QStringLiteral("&Down"), f.ButtonServerDown)}));
    orderRow->addWidget(LabelledGrid(b, QStringLiteral("&Quake Maps"), f.MapDir, &available, true), 1);
    // Enter or a double-click moves a map across; Delete takes one out of the rotation.
    GridKeys(rotation, [remove] { remove->click(); }, remove);
    GridKeys(available, [add] { add->click(); }, nullptr, add);
    layout->addWidget(order, 3);

    auto* catalogue = new QGroupBox(QStringLiteral("Map List"));
    auto* catalogueRow = new QHBoxLayout(catalogue);
    auto* list = new QListView;
    list->setObjectName(toQt(f.MapList.name()));
    bindGrid(b, list, f.MapList);
    catalogueRow->addWidget(list, 1);
    QPushButton* rename = Button(b, QStringLiteral("R&ename"), f.ButtonRename);
    QPushButton* erase = Button(b, QStringLiteral("De&lete"), f.ButtonDelete);
    QPushButton* create = Button(b, QStringLiteral("Ne&w"), f.ButtonNew);
    GridKeys(list, [rename] { rename->click(); }, erase, create);
    catalogueRow->addLayout(ButtonColumn({create, rename, erase, nullptr,
                                          Button(b, QStringLiteral("U&p"), f.ButtonUp),
                                          Button(b, QStringLiteral("D&own"), f.ButtonDown)}));
    layout->addWidget(catalogue, 2);

    auto* legend = new QLabel;
    legend->setObjectName(toQt(f.MapLegend.name()));
    bindLabel(b, legend, f.MapLegend);
    layout->addWidget(legend);
    return page;
}

}  // namespace tolvane::ui
