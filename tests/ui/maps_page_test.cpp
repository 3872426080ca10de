// The "Maps" tab after start-up: the grids show what discovery and the catalogue found, with
// the window's captions, tool tips and legend, and they take the room a larger window gives.
#include "UiTestSupport.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "app/Editor.h"
#include "support/ArchiveFixtures.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"

namespace tolvane::ui {
namespace {

TEST(MapsPage, ShowsDiscoveredMapsCatalogueAndLegend) {
    test::TempDir dir;
    dir.write("action/maps/harbor.bsp", "IBSP");
    dir.write("baseq2/pak1.pak", test::PakBytes({"maps/harbor.bsp", "maps/Keep.bsp"}));
    dir.write("action/maps.lst", "harbor \"Harbor, at dusk\"\r\n");
    platform::FileSystem fs(dir.path());
    test::ScriptedDialogs dialogs;
    platform::NullProgress progress;
    test::RecordingLauncher launcher;
    app::Editor editor(fs, dialogs, progress, launcher);
    MainWindow window(editor);
    editor.StartUp();

    auto* available = window.findChild<QListView*>(QStringLiteral("MapDir"));
    auto* rotation = window.findChild<QListView*>(QStringLiteral("MapIni"));
    auto* catalogue = window.findChild<QListView*>(QStringLiteral("MapList"));
    ASSERT_TRUE(available && rotation && catalogue);
    EXPECT_EQ(test::ShownRows(available), (QStringList{"Keep", "harbor*"}));
    EXPECT_EQ(test::ShownRows(catalogue), QStringList{"Harbor, at dusk [harbor]"});
    EXPECT_EQ(available->toolTip(), QStringLiteral("List of available maps to add to rotation"));
    EXPECT_EQ(catalogue->toolTip(),
              QStringLiteral("List of maps with names to display from within quake when selecting a map"));
    auto* legend = window.findChild<QLabel*>(QStringLiteral("MapLegend"));
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->text(), QStringLiteral("* Map is located in duplicate places (ie PAK and map dir)"));
    auto* add = window.findChild<QPushButton*>(QStringLiteral("ButtonAdd"));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->toolTip(), QStringLiteral("Add the selected map into rotation"));

    window.tabs()->setCurrentIndex(3);
    window.resize(900, 600);
    window.show();
    QApplication::processEvents();
    const int before = available->height() + catalogue->height();
    window.resize(1200, 780);
    QApplication::processEvents();
    EXPECT_GT(available->height() + catalogue->height(), before + 100);
    EXPECT_GT(available->width(), 300);
}

}  // namespace
}  // namespace tolvane::ui
