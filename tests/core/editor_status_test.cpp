// What the editor tells the window's status line: unsaved changes, what a save wrote or why it
// failed, what START SERVER ran; and that re-picking the current configuration is no switch.
#include <functional>
#include <vector>

#include "app/Editor.h"
#include "form/EditMarks.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

namespace tolvane::app {
namespace {

// The status names files as the operator's system writes paths.
std::string Host(std::string text) {
#ifdef _WIN32
    for (char& c : text)
        if (c == '/') c = '\\';
#endif
    return text;
}

using registry::SaveDialog;

struct StatusFixture : ::testing::Test, test::EditorHarness {
    std::unique_ptr<Editor> e;

    void SetUp() override {
        dir.write("action/tolvane.ini",
                  "\"default\"\r\n\"default\",\"server.cfg\",\"action.ini\",\"\"\r\n"
                  "\"Ctf\",\"ctf.cfg\",\"ctf.ini\",\"\"\r\n");
        dir.write("action/server.cfg", "set fraglimit 5\r\n");
        e = std::make_unique<Editor>(fs, dialogs, progress, launcher);
        e->StartUp();
        e->mainWindowVisible = true;
    }
    void OnSave(std::function<void(SaveDialog&)> act) {
        dialogs.dialogSteps.push_back([act](platform::DialogModel& m) { act(dynamic_cast<SaveDialog&>(m)); });
    }
};

TEST(FormDigests, EveryValueCountsAndSoDoTheBoundariesBetweenValues) {
    form::TextBox box{"Box"};
    form::CheckBox check{"Check"};
    form::ComboList list{"List"};
    form::Grid grid{"Grid"};
    form::Label label{"Label"};
    form::Form f;
    f.add(box);
    f.add(check);
    f.add(list);
    f.add(grid, true);
    f.add(label);
    f.trackAppearance(label);
    list.addItem("ab");
    list.addItem("c");
    grid.setRows({{"map", 0}});
    form::EditMarks marks;
    marks.watch(f);
    // Each change shows in its control's digest, and undoing it gives the first digest back.
    const std::vector<std::pair<std::function<void()>, std::function<void()>>> edits = {
        {[&] { box.setText("x"); }, [&] { box.setText(""); }},
        {[&] { check.setValue(1); }, [&] { check.setValue(0); }},
        {[&] { list.setSelectedIndex(1); }, [&] { list.setItems({"ab", "c"}); }},
        {[&] { grid.setTag(0, 1); }, [&] { grid.setTag(0, 0); }},
        {[&] { grid.setText(0, "map*"); }, [&] { grid.setText(0, "map"); }},
        {[&] { label.setVisible(false); }, [&] { label.setVisible(true); }},
        {[&] { label.setCaption("Ready"); }, [&] { label.setCaption(""); }},
        {[&] { list.setItems({"a", "bc"}); }, [&] { list.setItems({"ab", "c"}); }},
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i].first();
        EXPECT_TRUE(marks.unsaved()) << "edit " << i;
        edits[i].second();
        EXPECT_FALSE(marks.unsaved()) << "edit " << i;
    }
}

// The marks follow each control's own changes: an edit marks it, undoing the edit clears the
// mark, and one control undone leaves the others marked.
TEST(EditMarks, EachControlIsMarkedByItsChangeAndClearedByItsUndo) {
    form::TextBox box{"Box"};
    form::NumericField number{"Number", "5", 100};
    form::ComboList list{"List"};
    form::Grid grid{"Grid"};
    form::Label label{"Label"};
    form::Form f;
    f.add(box);
    f.add(number);
    f.add(list);
    f.add(grid, true);
    f.trackAppearance(label);
    list.addItem("a");
    list.addItem("b");
    grid.setRows({{"map1", 0}, {"map2", 0}});
    form::EditMarks marks;
    marks.watch(f);
    int touches = 0;
    auto heard = marks.touched.connect([&] { ++touches; });
    EXPECT_FALSE(marks.unsaved());

    const std::vector<std::pair<std::function<void()>, std::function<void()>>> edits = {
        {[&] { box.setText("x"); }, [&] { box.setText(""); }},
        {[&] { number.scroll.setValue(7); }, [&] { number.scroll.setValue(0); }},
        {[&] { list.setSelectedIndex(1); }, [&] { list.setItems({"a", "b"}); }},
        {[&] { grid.append("map3"); }, [&] { grid.remove(2); }},
        {[&] { grid.setTag(1, 4); }, [&] { grid.setTag(1, 0); }},  // same row count, other rows
        {[&] { label.setEnabled(false); }, [&] { label.setEnabled(true); }},
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const int before = touches;
        edits[i].first();
        EXPECT_GT(touches, before) << "edit " << i;
        EXPECT_TRUE(marks.unsaved()) << "edit " << i;
        edits[i].second();
        EXPECT_FALSE(marks.unsaved()) << "edit " << i;
    }

    // Two controls changed, one undone: still unsaved until the other is undone or saved.
    box.setText("kept");
    grid.setText(0, "other");
    EXPECT_TRUE(marks.unsaved());
    box.setText("");
    EXPECT_TRUE(marks.unsaved());
    marks.markSaved();
    EXPECT_FALSE(marks.unsaved());
    grid.setText(0, "map1");  // back to what was loaded, which is no longer what was saved
    EXPECT_TRUE(marks.unsaved());
}

TEST_F(StatusFixture, EveryEditOfASavedControlIsAnnounced) {
    int edits = 0;
    auto heard = e->edited.connect([&] { ++edits; });
    e->server.HostName.setText("Changed");
    EXPECT_EQ(edits, 1);
    e->mapFields.MapList.append("newmap");  // a file every configuration shares
    EXPECT_EQ(edits, 2);
    EXPECT_TRUE(e->HasUnsavedChanges());
}

TEST_F(StatusFixture, UnsavedChangesFollowEditsAndSaves) {
    EXPECT_FALSE(e->HasUnsavedChanges());  // as loaded
    e->server.HostName.setText("Changed");
    EXPECT_TRUE(e->HasUnsavedChanges());
    e->server.HostName.setText("Action Quake Server");
    EXPECT_FALSE(e->HasUnsavedChanges());  // back to what was loaded

    e->main.MOTDText.setText("hello");
    OnSave([](SaveDialog& d) { d.ButtonCancel.click(); });
    EXPECT_FALSE(e->ButtonSave_Click());
    EXPECT_TRUE(e->HasUnsavedChanges());  // a cancelled save keeps the marker
    EXPECT_EQ(e->lastResult(), "Save cancelled: nothing was written");

    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_TRUE(e->ButtonSave_Click());
    EXPECT_FALSE(e->HasUnsavedChanges());
    EXPECT_EQ(e->lastResult(), Host("Saved action/server.cfg, action/motd.txt"));
}

TEST_F(StatusFixture, FailedSaveSaysSoAndKeepsTheMarker) {
    int announced = 0;
    auto watch = e->resultChanged.connect([&] { ++announced; });
    e->server.HostName.setText("Changed");
    std::filesystem::remove_all(dir.path() / "action");  // nothing can be written any more
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_FALSE(e->ButtonSave_Click());
    EXPECT_EQ(e->lastResult(), "Not every file was saved (see the message shown); nothing was written");
    EXPECT_TRUE(e->HasUnsavedChanges());
    EXPECT_TRUE(e->ModDirMissing());
    EXPECT_EQ(announced, 1);
}

TEST_F(StatusFixture, StartResultNamesTheProgramAndItsArgumentsOrTheReason) {
    dir.write("quake2.exe", "");  // the server program the Quake 2 directory holds
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_TRUE(e->ButtonStart_Click());
    EXPECT_EQ(e->lastResult(),
              "Server started: quake2.exe +set game action +set ininame action.ini +set game action +set dedicated 0 "
              "+exec server.cfg. " + Host("Saved action/server.cfg"));
    launcher.fail = true;
    OnSave([](SaveDialog& d) { d.ButtonSave.click(); });
    EXPECT_FALSE(e->ButtonStart_Click());
#ifndef _WIN32
    // A second save of the same bytes writes nothing: each backup keeps the version before.
    EXPECT_EQ(e->lastResult(),
              "Saved: no file needed writing; unchanged: action/tolvane.ini, action/server.cfg. The server was not "
              "started: not found");
#endif
}

TEST_F(StatusFixture, RePickingTheCurrentConfigurationNeitherSavesNorReloads) {
    e->server.HostName.setText("Typed but not saved");
    e->main.ConfigNameList.selectText("default");  // no save dialog may open: none is scripted
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(e->server.HostName.text(), "Typed but not saved");
    EXPECT_TRUE(e->HasUnsavedChanges());

    // A real pick switches, and the status says so; the edit the switch reads over is dropped
    // only at the operator's word.
    OnSave([](SaveDialog& d) { d.ButtonCancel.click(); });
    dialogs.askAnswers.push_back(1);
    e->main.ConfigNameList.selectText("Ctf");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(e->state.strConfigName, "ctf");
    EXPECT_FALSE(e->HasUnsavedChanges());
    EXPECT_EQ(e->lastResult(), "Editing configuration ctf");
}

}  // namespace
}  // namespace tolvane::app
