// The checks every write goes through before the safe replace: a run that only looks writes
// nothing, and a file without write permission is replaced only at the operator's word.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileFaults.h"
#include "state/FileUtils.h"
#include "support/TestSupport.h"

namespace tolvane::test {
namespace {

using WriteGuard = CoreFixture;

TEST_F(WriteGuard, ARunThatOnlyLooksWritesNothing) {
    dir.write("action/server.cfg", "old\r\n");
    state.noWrites = true;
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new\r\n"));
    EXPECT_FALSE(SetFileAside(ctx, "action\\server.cfg"));
    EXPECT_EQ(dir.read("action/server.cfg"), "old\r\n");
    EXPECT_FALSE(dir.exists("action/server.bak"));
    // Not even the save lock is made.
    EXPECT_FALSE(dir.exists("action/tolvane.lock"));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find(test::HostPath("action\\server.cfg")), std::string::npos);
}

#ifndef _WIN32
TEST_F(WriteGuard, ReadOnlyFileIsReplacedOnlyWhenConfirmed) {
    namespace fs = std::filesystem;
    dir.write("action/server.cfg", "old\r\n");
    const fs::path file = dir.path() / "action/server.cfg";
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Nobody to ask, or the operator leaves it: the file stays, and the message names it.
    dialogs.askAnswers = {std::nullopt, 1};
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new\r\n"));
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new\r\n"));
    EXPECT_EQ(dir.read("action/server.cfg"), "old\r\n");
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_NE(dialogs.questions[0].find("read-only"), std::string::npos);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].text.find(test::HostPath("action\\server.cfg")), std::string::npos);
    // Confirmed: replaced, and still read-only as it was.
    dialogs.askAnswers = {0};
    EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new\r\n"));
    EXPECT_EQ(dir.read("action/server.cfg"), "new\r\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}
#endif

TEST_F(WriteGuard, SettingAsideAFileThatCouldNotBeReadLeavesIt) {
    dir.write("action/maps.lst", "\"q2dm1\",\"The Edge\"\r\n");
    dir.write("action/maps.bak", "the version before\r\n");
    // A read while loading that failed, as a busy disk or a permission glitch would make it.
    const auto old = platform::SetFileFaultHook([](platform::FileOp op, const std::filesystem::path& p) {
        return op == platform::FileOp::Open && p.filename() == "maps.lst" ? EIO : 0;
    });
    {
        const platform::FileSystem::LoadingScope loading(fs);
        std::string content, error;
        EXPECT_FALSE(fs.readFile("action\\maps.lst", content, error));
    }
    platform::SetFileFaultHook(old);
    EXPECT_FALSE(SetFileAside(ctx, "action\\maps.lst"));
    EXPECT_EQ(dir.read("action/maps.bak"), "the version before\r\n");
    EXPECT_TRUE(dir.exists("action/maps.lst"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("could not be read"), std::string::npos);
}

}  // namespace
}  // namespace tolvane::test
