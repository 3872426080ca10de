// What each file was when the editor read it: records made while loading, the file as it is
// now, and the fault seam of reads and existence checks.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>

#include "platform/FileFaults.h"
#include "support/FileChecks.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using platform::FileOp;
using platform::FileRecord;
using platform::FileSystem;
using Kind = FileRecord::Kind;

const FileRecord kAbsent{};
const FileRecord kUnreadable{Kind::Unreadable};

class FileRecords : public ::testing::Test {
protected:
    test::TempDir dir;
    FileSystem files{dir.path()};
    std::string content, error;
};

TEST_F(FileRecords, ReadsWhileLoadingRecordWhatTheyFound) {
    dir.write("action/server.cfg", "set fraglimit 20\r\n");
    dir.mkdir("action/motd.txt");  // there, but no file to read
    {
        const FileSystem::LoadingScope loading(files);
        ASSERT_TRUE(files.readFile("ACTION\\Server.CFG", content, error));
        EXPECT_TRUE(files.readFile("action\\missing.ini", content, error).missing());
        EXPECT_TRUE(files.readFile("action\\motd.txt", content, error).failed());
    }
    EXPECT_EQ(files.recorded("action\\server.cfg"), FileSystem::RecordOf("set fraglimit 20\r\n"));
    EXPECT_EQ(files.recorded("action\\server.cfg")->size, 18u);
    // Kept under one spelling: any case names the same record.
    EXPECT_EQ(files.recorded("action\\MISSING.INI"), kAbsent);
    EXPECT_EQ(files.recorded("Action\\Motd.txt"), kUnreadable);

    // Outside loading a read records nothing, and a later read while loading replaces the record.
    dir.write("action/other.cfg", "x");
    dir.write("action/server.cfg", "changed");
    ASSERT_TRUE(files.readFile("action\\other.cfg", content, error));
    ASSERT_TRUE(files.readFile("action\\server.cfg", content, error));
    EXPECT_EQ(files.recorded("action\\other.cfg"), std::nullopt);
    EXPECT_EQ(files.recorded("action\\server.cfg"), FileSystem::RecordOf("set fraglimit 20\r\n"));
    {
        const FileSystem::LoadingScope loading(files);
        ASSERT_TRUE(files.readFile("action\\server.cfg", content, error));
    }
    EXPECT_EQ(files.recorded("action\\server.cfg"), FileSystem::RecordOf("changed"));
}

TEST_F(FileRecords, ExistenceChecksRecordAbsenceButNeverOverARead) {
    dir.write("action/server.cfg", "x");
    dir.write("action/maps/a.bsp", "x");
    {
        const FileSystem::LoadingScope loading(files);
        EXPECT_FALSE(files.isFile("action\\gone.cfg"));
        EXPECT_TRUE(files.list("action\\bw-admin.cfg", false).empty());  // an exact name
        EXPECT_TRUE(files.list("nodir\\x.cfg", false).empty());          // its directory missing
        EXPECT_TRUE(files.list("action\\maps", true).size() == 1);        // a directory is no file
        EXPECT_TRUE(files.isFile("action\\server.cfg"));
        EXPECT_TRUE(files.list("action\\*.lst", false).empty());  // wildcards name no one file

        ASSERT_TRUE(files.readFile("action\\server.cfg", content, error));
        // A check that fails (reads as absent) after the read leaves the read's record.
        test::FaultHookScope failChecks([](FileOp op, const fs::path&) { return op == FileOp::Examine ? EIO : 0; });
        EXPECT_FALSE(files.isFile("action\\server.cfg"));
        EXPECT_TRUE(files.list("action\\server.cfg", false).empty());
    }
    EXPECT_EQ(files.recorded("action\\gone.cfg"), kAbsent);
    EXPECT_EQ(files.recorded("action\\bw-admin.cfg"), kAbsent);
    EXPECT_EQ(files.recorded("nodir\\x.cfg"), kAbsent);
    EXPECT_EQ(files.recorded("action\\maps"), kAbsent);
    EXPECT_EQ(files.recorded("action\\server.cfg"), FileSystem::RecordOf("x"));
    EXPECT_EQ(files.recorded("action\\x.lst"), std::nullopt);
    EXPECT_EQ(files.recorded("action\\maps\\a.bsp"), std::nullopt);

    // Outside loading checks record nothing; setRecord always does, under any spelling.
    EXPECT_FALSE(files.isFile("action\\later.cfg"));
    EXPECT_EQ(files.recorded("action\\later.cfg"), std::nullopt);
    files.setRecord("action\\LATER.cfg", FileSystem::RecordOf("new"));
    EXPECT_EQ(files.recorded("action\\later.CFG"), FileSystem::RecordOf("new"));
    files.setRecord("action\\server.cfg", kAbsent);
    EXPECT_EQ(files.recorded("action\\server.cfg"), kAbsent);
}

TEST_F(FileRecords, AFailedCheckAtStartUpIsCaughtByLookingAgain) {
    dir.write("action/server.cfg", "precious");
    {
        const FileSystem::LoadingScope loading(files);
        test::FaultHookScope failChecks([](FileOp op, const fs::path&) { return op == FileOp::Examine ? EACCES : 0; });
        EXPECT_FALSE(files.isFile("action\\server.cfg"));
        EXPECT_TRUE(files.list("action\\server.cfg", false).empty());
    }
    EXPECT_EQ(files.recorded("action\\server.cfg"), kAbsent);
    // The file as it is now says otherwise, and looking records nothing.
    EXPECT_EQ(files.examine("action\\server.cfg"), FileSystem::RecordOf("precious"));
    EXPECT_EQ(files.recorded("action\\server.cfg"), kAbsent);
}

TEST_F(FileRecords, AFailedOpenIsAnUnreadableOrMissingFile) {
    dir.write("action/server.cfg", "x");
    const FileSystem::LoadingScope loading(files);
    {
        test::FaultHookScope deny([](FileOp op, const fs::path& p) {
            return op == FileOp::Open ? (p.filename() == "server.cfg" ? EACCES : ENOENT) : 0;
        });
        EXPECT_TRUE(files.readFile("action\\server.cfg", content, error).failed());
        EXPECT_EQ(error, "Permission denied");
        EXPECT_TRUE(files.readFile("action\\motd.txt", content, error).missing());
        EXPECT_EQ(files.examine("action\\server.cfg"), kUnreadable);
    }
    EXPECT_EQ(files.recorded("action\\server.cfg"), kUnreadable);
    EXPECT_EQ(files.readFailure("action\\server.cfg"), "Permission denied");
    EXPECT_EQ(files.recorded("action\\motd.txt"), kAbsent);
}

TEST_F(FileRecords, ExamineSaysWhatIsThereNow) {
    dir.write("action/server.cfg", "abc");
    dir.mkdir("action/adir");
    EXPECT_EQ(files.examine("ACTION\\SERVER.CFG"), FileSystem::RecordOf("abc"));
    EXPECT_EQ(files.examine("action\\none.cfg"), kAbsent);
    EXPECT_EQ(files.examine("nodir\\none.cfg"), kAbsent);
    EXPECT_EQ(files.examine("action\\server.cfg\\x"), kAbsent);  // a file used as a directory
    EXPECT_EQ(files.examine("action\\adir"), kUnreadable);
#ifndef _WIN32
    fs::create_symlink(dir.path() / "action/server.cfg", dir.path() / "action/link.cfg");
    fs::create_symlink(dir.path() / "nowhere", dir.path() / "action/dangling.cfg");
    ASSERT_EQ(::mkfifo((dir.path() / "action/pipe.cfg").c_str(), 0600), 0);
    EXPECT_EQ(files.examine("action\\link.cfg"), FileSystem::RecordOf("abc"));
    EXPECT_EQ(files.examine("action\\dangling.cfg"), kAbsent);
    EXPECT_EQ(files.examine("action\\pipe.cfg"), kUnreadable);
    if (::geteuid() != 0) {  // root reads any file
        ASSERT_EQ(::chmod((dir.path() / "action/server.cfg").c_str(), 0), 0);
        EXPECT_EQ(files.examine("action\\server.cfg"), kUnreadable);
    }
#endif
    for (const char* path : {"action\\server.cfg", "action\\none.cfg", "action\\adir"})
        EXPECT_EQ(files.recorded(path), std::nullopt) << path;
}

TEST(FileRecordOf, AnyChangeOfTheBytesChangesTheRecord) {
    const std::string base = "hostname \"A server\"\r\nset fraglimit 20\r\nset timelimit 15\r\nmap city3\r\n";
    const FileRecord record = FileSystem::RecordOf(base);
    EXPECT_EQ(record.kind, Kind::Read);
    EXPECT_EQ(record.size, base.size());
    EXPECT_EQ(FileSystem::RecordOf(std::string(base)), record);
    for (std::size_t i = 0; i < base.size(); ++i) {
        std::string changed = base;
        changed[i] = static_cast<char>(changed[i] ^ 0x20);
        EXPECT_NE(FileSystem::RecordOf(changed).digest, record.digest) << i;
    }
    // Lengths that differ only by zero bytes, and swapped words, still differ.
    EXPECT_NE(FileSystem::RecordOf(std::string("a\0", 2)).digest, FileSystem::RecordOf("a").digest);
    EXPECT_NE(FileSystem::RecordOf(std::string(16, '\0')).digest, FileSystem::RecordOf(std::string(8, '\0')).digest);
    EXPECT_NE(FileSystem::RecordOf("0123456789abcdef").digest, FileSystem::RecordOf("89abcdef01234567").digest);
    // An empty file is read, not absent.
    EXPECT_EQ(FileSystem::RecordOf("").kind, Kind::Read);
    EXPECT_NE(FileSystem::RecordOf(""), kAbsent);
}

}  // namespace
}  // namespace tolvane
