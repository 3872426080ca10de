// The Maps tab on a long list: the filter box narrows the available maps without touching what
// is saved, several maps move at once, and the lists stay where they were scrolled to.
#include "ui/QtSetup.h"  // first: see there

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>

#include "UiTestSupport.h"
#include "WindowHarness.h"

namespace tolvane::ui {
namespace {

std::vector<std::string> Texts(const form::Grid& grid) {
    std::vector<std::string> out;
    for (const auto& row : grid.rows()) out.push_back(row.text);
    return out;
}

struct MapsListsTest : ::testing::Test, test::WindowHarness {
    QListView* available = nullptr;
    QListView* rotation = nullptr;
    QLineEdit* filter = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;

    void StartWith(int maps) {
        for (int i = 0; i < maps; ++i) dir.write("action/maps/m" + std::to_string(1000 + i) + ".bsp", "IBSP");
        dir.write("action/maps/Harbor.bsp", "IBSP");
        dir.write("action/maps/harborside.bsp", "IBSP");
        Start();
        available = find<QListView>("MapDir");
        rotation = find<QListView>("MapIni");
        filter = find<QLineEdit>("MapDirFilter");
        add = find<QPushButton>("ButtonAdd");
        remove = find<QPushButton>("ButtonRemove");
        ASSERT_TRUE(available && rotation && filter && add && remove);
    }
    void Pick(QListView* view, std::initializer_list<int> rows) {
        view->setCurrentIndex(view->model()->index(*rows.begin(), 0));
        for (int r : rows)
            view->selectionModel()->select(view->model()->index(r, 0), QItemSelectionModel::Select);
    }
};

TEST_F(MapsListsTest, TheFilterNarrowsTheViewOnlyAndButtonsActOnWhatIsShown) {
    StartWith(3);
    const std::vector<std::string> all = Texts(editor->mapFields.MapDir);
    ASSERT_EQ(all.front(), "Harbor");
    editor->mapFields.MapDir.setCurrentRow(3);
    filter->setText(QStringLiteral("HARB"));
    EXPECT_EQ(test::ShownRows(available), (QStringList{"Harbor", "harborside"}));
    EXPECT_EQ(Texts(editor->mapFields.MapDir), all);  // the grid keeps every map
    // The current map was hidden: the nearest one shown takes its place, so a button never
    // moves a map the operator cannot see.
    EXPECT_EQ(editor->mapFields.MapDir.text(editor->mapFields.MapDir.currentRow()), "harborside");

    available->setCurrentIndex(available->model()->index(1, 0));
    add->click();
    EXPECT_EQ(Texts(editor->mapFields.MapIni).back(), "harborside");
    EXPECT_EQ(test::ShownRows(available), QStringList{"Harbor"});

    // Nothing matches: nothing can be added, and the rotation stays as it is.
    const std::size_t inRotation = editor->mapFields.MapIni.rows().size();
    filter->setText(QStringLiteral("nomatch"));
    EXPECT_EQ(available->model()->rowCount(), 0);
    add->click();
    EXPECT_EQ(editor->mapFields.MapIni.rows().size(), inRotation);

    // Taken out again while filtered: it is back in the view where the filter lets it be seen.
    filter->setText(QStringLiteral("side"));
    EXPECT_EQ(available->model()->rowCount(), 0);
    rotation->setCurrentIndex(rotation->model()->index(static_cast<int>(inRotation) - 1, 0));
    remove->click();
    EXPECT_EQ(test::ShownRows(available), QStringList{"harborside"});
    filter->clear();
    EXPECT_EQ(Texts(editor->mapFields.MapDir), all);
}

TEST_F(MapsListsTest, SeveralPickedMapsMoveAtOnceInListOrder) {
    StartWith(5);
    Pick(available, {3, 0, 2});
    add->click();
    const std::vector<std::string> rotated = Texts(editor->mapFields.MapIni);
    ASSERT_GE(rotated.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(rotated.end() - 3, rotated.end()),
              (std::vector<std::string>{"Harbor", "m1000", "m1001"}));
    EXPECT_EQ(test::ShownRows(available).size(), 4);

    const int n = rotation->model()->rowCount();
    Pick(rotation, {n - 1, n - 3});
    remove->click();
    EXPECT_EQ(rotation->model()->rowCount(), n - 2);
    EXPECT_TRUE(test::ShownRows(available).contains(QStringLiteral("m1001")));
    EXPECT_TRUE(test::ShownRows(available).contains(QStringLiteral("Harbor")));
}

TEST_F(MapsListsTest, AddingAndRemovingKeepTheListScrolledWhereItWas) {
    StartWith(600);
    window->tabs()->setCurrentIndex(3);
    window->resize(1024, 768);
    window->show();
    QApplication::processEvents();
    QScrollBar* bar = available->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum() / 2);
    QApplication::processEvents();
    const int scrolled = bar->value();
    const QModelIndex inView = available->indexAt(available->viewport()->rect().center());
    ASSERT_TRUE(inView.isValid());
    available->setCurrentIndex(inView);
    add->click();
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), scrolled);
    rotation->setCurrentIndex(rotation->model()->index(rotation->model()->rowCount() - 1, 0));
    remove->click();
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), scrolled);
}

}  // namespace
}  // namespace tolvane::ui
