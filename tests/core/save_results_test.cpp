// What a save and a start tell their caller: every writer's failure reaches the result and the
// exit status, and the server is only ever the Quake 2 directory's own.
#include <sstream>

#include "app/CommandLine.h"
#include "platform/Process.h"
#include "support/HostFiles.h"
#include "support/SaveFixture.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using SaveResults = test::SaveFixture;

TEST_F(SaveResults, AFailedRegistryWriteFailsTheSaveAndTheExitStatus) {
    WriteFiles();
    fs::remove(dir.path() / "action/tolvane.ini");
    dir.mkdir("action/tolvane.ini");  // nothing can be written there
    app::Options o;
    o.directory = dir.path().string();
    o.mode = app::Options::Mode::Save;
    std::ostringstream out, err;
    EXPECT_EQ(app::RunHeadless(o, out, err), 1);
    EXPECT_NE(err.str().find("message: Could not save " + test::Shown("action/tolvane.ini") + ": cannot replace " +
                             test::Shown("action/tolvane.ini") + " (Is a directory)"),
              std::string::npos)
        << err.str();

    // The same through the window's command: the server starts, but the result says the save failed.
    dir.write("quake2.exe", "");
    StartEditor();
    ConfirmSave();
    EXPECT_FALSE(e->ButtonStart_Click());
    EXPECT_EQ(launcher.commandLines.size(), 1u);
}

TEST_F(SaveResults, TheServerIsOnlyLookedForInTheQuake2Directory) {
    WriteFiles();
    StartEditor();
    ConfirmSave();
    EXPECT_FALSE(e->ButtonStart_Click());
    EXPECT_TRUE(launcher.commandLines.empty());
    ASSERT_FALSE(dialogs.messages.empty());
#ifdef _WIN32
    const std::string missing = "there is no quake2.exe in ";
#else
    const std::string missing = "there is neither quake2.exe nor quake2 in ";
#endif
    EXPECT_EQ(dialogs.messages.back().text,
              "Cannot start the server: " + missing + fs::absolute(dir.path()).lexically_normal().string());

    // The real launcher never takes another installation's server from the search path.
    test::TempDir elsewhere;
    fs::copy_file(TOLVANE_ARGDUMP, elsewhere.path() / "quake2");
    fs::copy_file(TOLVANE_ARGDUMP, elsewhere.path() / "quake2.exe");
    const char* oldPath = std::getenv("PATH");
    platform::SystemProcessLauncher real(dir.path().string());
    std::string error;
    bool started;
    {
        const test::ScopedEnv path("PATH", elsewhere.path().string() + test::kPathListSeparator + (oldPath ? oldPath : ""));
        started = real.start("quake2.exe +set game action", platform::WindowMode::Minimised, error);
    }
    EXPECT_FALSE(started);
    EXPECT_EQ(error, "not found in " + dir.path().string());
}

}  // namespace
}  // namespace tolvane
