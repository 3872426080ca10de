// The safe replace of a file: never a moment without the file, no temporary file opened through
// a link, permissions and links kept, and backups that one save never overwrites.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/FileFaults.h"
#include "state/FileUtils.h"
#include "support/FileChecks.h"
#include "support/HostFiles.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using platform::FileOp;
using SafeReplace = test::CoreFixture;

TEST_F(SafeReplace, FailedRenameLeavesTheOldFileAndTheOldBackupInPlace) {
    dir.write("action/server.cfg", "old");
    dir.write("action/server.bak", "older");
    const auto before = test::FileIdentity(dir.path() / "action/server.cfg");
    ASSERT_TRUE(before);
    {
        test::FaultHookScope fail([](FileOp op, const fs::path&) { return op == FileOp::Rename ? EIO : 0; });
        EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    }
    // The old file never left its name (same file, same bytes), and the generation before it
    // is still the backup: the new backup takes that name only once the file is replaced.
    EXPECT_EQ(dir.read("action/server.cfg"), "old");
    EXPECT_EQ(test::FileIdentity(dir.path() / "action/server.cfg"), before);
    EXPECT_EQ(dir.read("action/server.bak"), "older");
    EXPECT_TRUE(test::TemporaryFilesUnder(dir.path()).empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Could not save " + test::Shown("action/server.cfg") + ": cannot replace " + test::Shown("action/server.cfg") +
                  " (Input/output error)\r"
                  "The file was left as it was.");

    // Where hard links are impossible the backup is a copy (with the old file's mode, where
    // files have one).
#ifndef _WIN32
    ::chmod((dir.path() / "action/server.cfg").c_str(), 0640);
#endif
    {
        test::FaultHookScope noLinks([](FileOp op, const fs::path&) { return op == FileOp::Link ? EPERM : 0; });
        EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    }
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_EQ(dir.read("action/server.bak"), "old");
#ifndef _WIN32
    EXPECT_EQ(test::EntryStat(dir.path() / "action/server.bak").st_mode & 07777, 0640u);
#endif
    EXPECT_NE(test::FileIdentity(dir.path() / "action/server.bak"), test::FileIdentity(dir.path() / "action/server.cfg"));
}

TEST_F(SafeReplace, TheBackupIsASecondNameForTheOldFile) {
    dir.write("action/server.cfg", "old");
    const auto old = test::FileIdentity(dir.path() / "action/server.cfg");
    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    EXPECT_EQ(test::FileIdentity(dir.path() / "action/server.bak"), old);
    EXPECT_EQ(dir.read("action/server.bak"), "old");
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
}

TEST_F(SafeReplace, AFileAtATemporaryNameIsNeverOpened) {
    dir.write("action/server.cfg", "old");
    // Whatever name the replace picks, a file made there just before it is created is left as
    // it is and another name is taken.
    std::vector<fs::path> planted;
    test::FaultHookScope plant([&](FileOp op, const fs::path& p) {
        if (op == FileOp::Create && p.extension() == ".tmp" && planted.size() < 2) {
            if (std::FILE* f = std::fopen(p.string().c_str(), "wb")) {
                std::fputs("precious", f);
                std::fclose(f);
            }
            planted.push_back(p);
        }
        return 0;
    });
    EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    ASSERT_EQ(planted.size(), 2u);
    for (const auto& p : planted) EXPECT_EQ(dir.read(fs::relative(p, dir.path()).string()), "precious");
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_TRUE(dialogs.messages.empty());
}

#ifndef _WIN32  // links, pipes, modes and owners are not what Windows gives its files

TEST_F(SafeReplace, PlantedLinksAndPipesAtTemporaryNamesAreNeverOpened) {
    dir.write("elsewhere/victim.txt", "precious");
    dir.write("action/server.cfg", "old");
    dir.write("action/motd.txt", "hello\r\n");
    // The names the editor once used for its temporary files, planted by whoever can write here.
    for (const char* name : {"motd.tmp", "tolvane.tmp"})
        fs::create_symlink(dir.path() / "elsewhere/victim.txt", dir.path() / "action" / name);
    ASSERT_EQ(::mkfifo((dir.path() / "action/server.tmp").c_str(), 0600), 0);

    // Whatever name the editor picks, a link or a pipe planted there just before it is created
    // is refused and another name is taken.
    int planted = 0;
    test::FaultHookScope plant([&](FileOp op, const fs::path& p) {
        if (op == FileOp::Create && p.extension() == ".tmp" && planted < 3) {
            if (planted == 1) ::mkfifo(p.c_str(), 0600);
            else fs::create_symlink(dir.path() / "elsewhere/victim.txt", p);
            ++planted;
        }
        return 0;
    });
    EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\motd.txt", "new motd\r\n"));
    EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\tolvane.ini", "\"default\"\r\n"));
    EXPECT_EQ(planted, 3);
    EXPECT_EQ(dir.read("elsewhere/victim.txt"), "precious");
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_EQ(dir.read("action/motd.txt"), "new motd\r\n");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "action/motd.tmp"));
    EXPECT_TRUE(fs::is_fifo(dir.path() / "action/server.tmp"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SafeReplace, ReplacedFileKeepsModeOwnerAndGroup) {
    dir.write("action/server.cfg", "rcon_password secret\r\n");
    const auto cfg = dir.path() / "action/server.cfg";
    ASSERT_EQ(::chmod(cfg.c_str(), 0600), 0);
    const bool mayGiveAway = ::geteuid() == 0;
    if (mayGiveAway) {
        ASSERT_EQ(::chown(cfg.c_str(), 65534, 65534), 0);
    }

    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "rcon_password other\r\n"));
    const struct stat st = test::EntryStat(cfg);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (mayGiveAway) {
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }
    EXPECT_EQ(test::EntryStat(dir.path() / "action/server.bak").st_mode & 07777, 0600u);

    // A new file gets the process's default mode.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\fresh.cfg", "x"));
    ::umask(mask);
    EXPECT_EQ(test::EntryStat(dir.path() / "action/fresh.cfg").st_mode & 07777, 0644u);
}

TEST_F(SafeReplace, LinkedFilesAreWrittenThroughAndStayLinks) {
    dir.write("versioned/server.cfg", "old cfg");
    dir.write("versioned/deep/motd.txt", "old motd");
    dir.mkdir("action");
    fs::create_symlink("../versioned/server.cfg", dir.path() / "action/server.cfg");  // relative
    // A chain: a link to a link, the last one absolute.
    fs::create_symlink(dir.path() / "versioned/deep/motd.txt", dir.path() / "versioned/motd-link");
    fs::create_symlink("../versioned/motd-link", dir.path() / "action/motd.txt");

    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new cfg"));
    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\motd.txt", "new motd"));

    EXPECT_TRUE(fs::is_symlink(dir.path() / "action/server.cfg"));
    EXPECT_EQ(fs::read_symlink(dir.path() / "action/server.cfg"), "../versioned/server.cfg");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "action/motd.txt"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "versioned/motd-link"));
    EXPECT_EQ(dir.read("versioned/server.cfg"), "new cfg");
    EXPECT_EQ(dir.read("versioned/deep/motd.txt"), "new motd");
    // The backups lie beside the files replaced, not beside the links.
    EXPECT_EQ(dir.read("versioned/server.bak"), "old cfg");
    EXPECT_EQ(dir.read("versioned/deep/motd.bak"), "old motd");
    EXPECT_FALSE(dir.exists("action/server.bak"));
    EXPECT_FALSE(dir.exists("action/motd.bak"));
    EXPECT_TRUE(test::TemporaryFilesUnder(dir.path()).empty());
}

#else

TEST_F(SafeReplace, AFileOpenInAnotherProgramIsLeftAsItWas) {
    dir.write("action/server.cfg", "old");
    // Windows refuses to rename over a file that is open without leave to delete it, as most
    // programs open a file to read it.
    test::HeldOpen reader(dir.path() / "action/server.cfg", true);
    ASSERT_TRUE(reader.held());
    EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("Could not save action\\server.cfg: cannot replace action\\server.cfg (", 0), 0u)
        << dialogs.messages[0].text;
    EXPECT_EQ(dir.read("action/server.cfg"), "old");
    EXPECT_TRUE(test::TemporaryFilesUnder(dir.path()).empty());

    // Closed again, the next save replaces it.
    reader.close();
    dialogs.messages.clear();
    EXPECT_TRUE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SafeReplace, AFileHeldOpenForAMomentIsReplacedWhenLetGo) {
    dir.write("action/server.cfg", "old");
    // A scanner looks at the file while the save runs and lets go of it well within the time
    // the replace keeps trying.
    test::HeldOpen scanner(dir.path() / "action/server.cfg", true);
    ASSERT_TRUE(scanner.held());
    std::thread letGo([&scanner] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        scanner.close();
    });
    const bool replaced = ReplaceFileViaTemp(ctx, "action\\server.cfg", "new");
    letGo.join();
    EXPECT_TRUE(replaced);
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_EQ(dir.read("action/server.bak"), "old");
    EXPECT_TRUE(dialogs.messages.empty());
}

#endif

TEST_F(SafeReplace, OneSaveNeverOverwritesABackupItMade) {
    dir.write("action/ctf.cfg", "old cfg");
    dir.write("action/ctf.ini", "old ini");
    dir.write("action/motd.cfg", "old motd.cfg");
    dir.write("action/motd.txt", "old motd.txt");
    dir.write("action/maplist", "old maplist");
    dir.write("action/maplist.cfg", "old maplist.cfg");
    {
        const SaveScope save(ctx);
        ASSERT_TRUE(save.ok());
        for (const char* name : {"ctf.cfg", "ctf.ini", "motd.cfg", "motd.txt", "maplist", "maplist.cfg"})
            ASSERT_TRUE(ReplaceFileViaTemp(ctx, std::string("action\\") + name, std::string("new ") + name));
        EXPECT_TRUE(save.succeeded());
    }
    // The first file of a stem keeps the usual name; the later ones take their full name.
    EXPECT_EQ(dir.read("action/ctf.bak"), "old cfg");
    EXPECT_EQ(dir.read("action/ctf.ini.bak"), "old ini");
    EXPECT_EQ(dir.read("action/motd.bak"), "old motd.cfg");
    EXPECT_EQ(dir.read("action/motd.txt.bak"), "old motd.txt");
    // A name without a dot backs up to the name plus ".bak", and then it is taken.
    EXPECT_EQ(dir.read("action/maplist.bak"), "old maplist");
    EXPECT_EQ(dir.read("action/maplist.cfg.bak"), "old maplist.cfg");

    // A file whose backup name would be its own name is never removed as its own backup.
    dir.write("action/old.bak", "old backup file");
    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\old.bak", "rewritten"));
    EXPECT_EQ(dir.read("action/old.bak"), "rewritten");
    EXPECT_EQ(dir.read("action/old.bak.bak"), "old backup file");

    // The next save starts afresh: its first file of a stem uses the usual name again.
    ASSERT_TRUE(ReplaceFileViaTemp(ctx, "action\\ctf.ini", "newer ini"));
    EXPECT_EQ(dir.read("action/ctf.bak"), "new ctf.ini");
}

TEST_F(SafeReplace, FailuresNameTheFileAndTheStep) {
    dir.write("action/server.cfg", "old");
    struct Case {
        FileOp op;
        int err;
        std::string expected;
    };
    const Case cases[] = {
        {FileOp::Create, EACCES,
         "Could not save " + test::Shown("action/server.cfg") + ": cannot create a temporary file in action (Permission denied)"},
#ifndef _WIN32  // Windows files have no mode, and their writes no buffer of the program's own
        {FileOp::ModeChange, EPERM, "cannot set the mode of the temporary file action/server.cfg."},
        {FileOp::Flush, ENOSPC, "cannot write the temporary file action/server.cfg."},
#endif
        {FileOp::Write, ENOSPC, "cannot write the temporary file " + test::Shown("action/server.cfg.")},
        {FileOp::Sync, EIO, "(Input/output error)"},
        {FileOp::Close, ENOSPC, "cannot write the temporary file " + test::Shown("action/server.cfg.")},
        {FileOp::Link, EIO, "cannot keep the old file as " + test::Shown("action/server.bak") + " (Input/output error)"},
    };
    for (const Case& c : cases) {
        dialogs.messages.clear();
        {
            // The save lock is taken before the replace; only the replace's own steps fail here.
            test::FaultHookScope fail([&c](FileOp op, const fs::path& p) {
                return op == c.op && p.filename() != kSaveLockName ? c.err : 0;
            });
            EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\server.cfg", "new"));
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << platform::FileOpName(c.op);
        EXPECT_NE(dialogs.messages[0].text.find(c.expected), std::string::npos) << dialogs.messages[0].text;
        EXPECT_EQ(dir.read("action/server.cfg"), "old");
        EXPECT_TRUE(test::TemporaryFilesUnder(dir.path()).empty()) << platform::FileOpName(c.op);
    }
    // A new file that could not be written was not created, and the message says so.
    dialogs.messages.clear();
    {
        test::FaultHookScope fail([](FileOp op, const fs::path&) { return op == FileOp::Write ? ENOSPC : 0; });
        EXPECT_FALSE(ReplaceFileViaTemp(ctx, "action\\new.cfg", "x"));
    }
    EXPECT_FALSE(dir.exists("action/new.cfg"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("\rThe file was not created."), std::string::npos);
}

}  // namespace
}  // namespace tolvane
