#include "ui/pages/MapsPage.h"

#include <QGroupBox>
#include <QHBoxLayout>

#include "ui/pages/PageHelpers.h"

namespace tolvane::ui {

QWidget* BuildMapsPage(Bindings& b, app::MainFields& maps) {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* order = new QGroupBox(QStringLiteral("Server Map Order"));
    auto* grids = new QHBoxLayout(order);
    grids->addWidget(CaptionedGrid(b, QStringLiteral("Server Map List"), maps.MapIni), 1);
    grids->addWidget(CaptionedGrid(b, QStringLiteral("Quake Maps"), maps.MapDir), 1);
    layout->addWidget(order, 1);
    return page;
}

}  // namespace tolvane::ui
