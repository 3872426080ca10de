// The "Team 2" tab: three team frames with their tool tips, a skin list that follows the model
// the user picks, and the rotation buttons of the "Maps" tab pressed in the window.
#include "UiTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "app/Editor.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/WindowHarness.h"

namespace tolvane::ui {
namespace {

using WindowRun = test::WindowHarness;

TEST(TeamPage, ThreeFramesWithTheirTipsAndSkinsThatFollowTheModel) {
    WindowRun w;
    w.dir.write("baseq2/players/male/grunt.pcx", "x");
    w.dir.write("baseq2/players/female/medic.pcx", "x");
    w.dir.write("baseq2/players/female/pilot.pcx", "x");
    w.dir.write("action/action.ini", "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[maplist]\r\n###\r\n");
    w.Start();
    QStringList frames;
    for (auto* box : w.window->findChildren<QGroupBox*>())
        if (box->title().startsWith(QStringLiteral("Team #"))) frames << box->title();
    // Each frame's digit is its mnemonic: Alt+1 to Alt+3 reach the teams.
    EXPECT_EQ(frames, (QStringList{"Team #&1", "Team #&2", "Team #&3"}));

    auto* name = w.find<QLineEdit>("Team1Name");
    auto* model = w.find<QComboBox>("Team1Model");
    auto* skin = w.find<QComboBox>("Team1Skin");
    ASSERT_TRUE(name && model && skin && w.find<QLineEdit>("Team3Name"));
    EXPECT_EQ(name->text(), QStringLiteral("Red"));
    EXPECT_EQ(w.find<QLineEdit>("Team3Name")->toolTip(), QStringLiteral("Name of third team "));
    EXPECT_EQ(model->toolTip(), QStringLiteral("Player model to use for first team"));
    EXPECT_EQ(skin->toolTip(), QStringLiteral("Player model skin to use for first team"));
    EXPECT_EQ(skin->currentText(), QStringLiteral("grunt"));

    // The user's choice, as the list's popup reports it.
    const int female = model->findText(QStringLiteral("female"));
    model->setCurrentIndex(female);
    Q_EMIT model->activated(female);
    EXPECT_EQ(w.editor->teams.Team1Model.text(), "female");
    EXPECT_EQ(skin->count(), 2);
    EXPECT_EQ(skin->currentText(), QStringLiteral("medic"));
    EXPECT_TRUE(w.editor->state.bActionIniChanged);
}

TEST(TeamPage, TheRotationButtonsWorkInTheWindow) {
    WindowRun w;
    for (const char* m : {"city", "urban"}) w.dir.write(std::string("action/maps/") + m + ".bsp", "x");
    w.dir.write("action/action.ini", "[maplist]\r\n###\r\n");
    w.Start();
    auto* add = w.find<QPushButton>("ButtonAdd");
    auto* up = w.find<QPushButton>("ButtonServerUp");
    ASSERT_TRUE(add && up);
    w.editor->mapFields.MapDir.setCurrentRow(1);
    add->click();
    add->click();
    up->click();
    auto* rotation = w.find<QListView>("MapIni");
    ASSERT_NE(rotation, nullptr);
    EXPECT_EQ(rotation->model()->index(0, 0).data().toString(), QStringLiteral("city"));
    EXPECT_EQ(rotation->model()->index(1, 0).data().toString(), QStringLiteral("urban"));
    EXPECT_EQ(rotation->currentIndex().row(), 0);
}

}  // namespace
}  // namespace tolvane::ui
