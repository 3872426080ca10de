// The start map in server.cfg: the first rotation map, or, with an empty rotation, the old
// file's last "map" line as it was, so that a save never leaves the server without a map.
#include "support/SaveFixture.h"
#include "state/TextReaders.h"

namespace tolvane::app {
namespace {

struct ServerMapLine : test::SaveFixture {
    std::vector<std::string> SavedLines() {
        ConfirmSave();
        EXPECT_TRUE(e->ButtonSave_Click());
        return SplitLines(dir.read("action/server.cfg"));
    }
};

TEST_F(ServerMapLine, AnEmptyRotationKeepsTheOldStartMap) {
    WriteFiles();
    dir.write("action/server.cfg", "map q2dm2 // first\r\nset fraglimit 20\r\nMap  q2dm3\r\n");
    StartEditor();
    ASSERT_EQ(e->mapFields.MapIni.rowCount(), 0);
    const auto lines = SavedLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Map  q2dm3");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("map", 0) == 0 || l.rfind("Map", 0) == 0; }), 1);

    // A rotation names the start map instead.
    e->mapFields.MapIni.append("city*", 1);
    const auto again = SavedLines();
    EXPECT_EQ(again.back(), "map city");
    EXPECT_EQ(std::count(again.begin(), again.end(), "Map  q2dm3"), 0);
}

}  // namespace
}  // namespace tolvane::app
