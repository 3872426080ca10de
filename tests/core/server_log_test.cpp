// The server's output log: lines kept in memory, everything in a rotated file, and failed
// writes that never lose the lines or stop anything.
#include <gtest/gtest.h>

#include <filesystem>

#include "server/ServerLog.h"
#include "support/TestSupport.h"

namespace tolvane::server {
namespace {

namespace fs = std::filesystem;

TEST(ServerLog, SplitsLinesAcrossChunksAndKeepsThePartialLastOne) {
    ServerLog log;
    log.append("first li");
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(log.partialLine(), "first li");
    log.append("ne\r\nsecond\n\nthird");
    ASSERT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(log.lines()[0], "first line");
    EXPECT_EQ(log.lines()[1], "second");
    EXPECT_EQ(log.lines()[2], "");
    EXPECT_EQ(log.partialLine(), "third");
    // An editor's note ends the waiting line first, so that neither is mixed into the other.
    log.note("--- stopped ---");
    ASSERT_EQ(log.lines().size(), 5u);
    EXPECT_EQ(log.lines()[3], "third");
    EXPECT_EQ(log.lines()[4], "--- stopped ---");
    EXPECT_EQ(log.partialLine(), "");
    EXPECT_EQ(log.lineCount(), 5u);
}

TEST(ServerLog, KeepsTheLastTenThousandLines) {
    ServerLog log;
    std::string chunk;
    for (int i = 1; i <= 10050; ++i) chunk += "line " + std::to_string(i) + "\n";
    log.append(chunk);
    ASSERT_EQ(log.lines().size(), ServerLog::kDefaultMaxLines);
    EXPECT_EQ(log.lines().front(), "line 51");
    EXPECT_EQ(log.lines().back(), "line 10050");
    EXPECT_EQ(log.lineCount(), 10050u);
}

TEST(ServerLog, ALineThatNeverEndsIsCutRatherThanGrowingWithoutBound) {
    ServerLog log;
    log.append(std::string(ServerLog::kMaxLineLength + 10, 'x'));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].size(), ServerLog::kMaxLineLength);
    EXPECT_EQ(log.partialLine().size(), 10u);
}

TEST(ServerLog, AppendsEverythingToTheFileAndRotatesOneGeneration) {
    test::TempDir dir;
    const fs::path file = dir.path() / "tolvane-server.log";
    dir.write("tolvane-server.log", "from an earlier run\n");
    {
        // Rotated at 100 bytes: each write goes to the current file, and one that finds it full
        // renames it to .1 first.
        ServerLog log(file, 5, 100);
        log.append(std::string(60, 'a') + "\n");  // 20 + 61 bytes: not yet full
        EXPECT_EQ(dir.read("tolvane-server.log"), "from an earlier run\n" + std::string(60, 'a') + "\n");
        log.append(std::string(30, 'b') + "\n");  // 112 bytes
        EXPECT_FALSE(dir.exists("tolvane-server.log.1"));
        log.append("c\n");
        EXPECT_EQ(dir.read("tolvane-server.log.1"),
                  "from an earlier run\n" + std::string(60, 'a') + "\n" + std::string(30, 'b') + "\n");
        EXPECT_EQ(dir.read("tolvane-server.log"), "c\n");
        log.append(std::string(120, 'd') + "\n");
        log.append("part");
        // Only one old generation: the second rotation replaces the first.
        EXPECT_EQ(dir.read("tolvane-server.log.1"), "c\n" + std::string(120, 'd') + "\n");
        EXPECT_EQ(dir.read("tolvane-server.log"), "part");
        log.finish();
        EXPECT_EQ(dir.read("tolvane-server.log"), "part\n");
        EXPECT_EQ(log.writeProblem(), "");
        EXPECT_EQ(log.lines().back(), "part");
    }
    // A new log (the next start) finds the file full and rotates before writing.
    ServerLog next(file, 5, 4);
    next.append("new\n");
    EXPECT_EQ(dir.read("tolvane-server.log.1"), "part\n");
    EXPECT_EQ(dir.read("tolvane-server.log"), "new\n");
}

TEST(ServerLog, AFailedWriteIsKeptAsAReasonAndTheLinesStayInMemory) {
    test::TempDir dir;
    // The log's place is taken by a directory: it cannot be opened.
    dir.mkdir("tolvane-server.log");
    ServerLog log(dir.path() / "tolvane-server.log");
    log.append("still kept\n");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "still kept");
    EXPECT_NE(log.writeProblem().find((dir.path() / "tolvane-server.log").string()), std::string::npos)
        << log.writeProblem();

    // Once the cause is gone, writing goes on and the problem is cleared.
    fs::remove(dir.path() / "tolvane-server.log");
    log.append("written\n");
    EXPECT_EQ(log.writeProblem(), "");
    EXPECT_EQ(dir.read("tolvane-server.log"), "written\n");
    EXPECT_EQ(log.lines().size(), 2u);
}

}  // namespace
}  // namespace tolvane::server
