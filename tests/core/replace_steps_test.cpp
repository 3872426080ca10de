// The safe replace on its own: when the new backup takes its name, what earlier runs left under
// temporary names, which links are written through, and read-only files and owners.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>

#include "platform/FileFaults.h"
#include "support/FileChecks.h"
#include "support/HostFiles.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::FileOp;
using platform::ReplaceOptions;
using platform::ReplaceResult;

// server.cfg backs up to server.bak, as the editor names backups.
std::string DotBak(const fs::path& replaced) {
    const std::string name = replaced.filename().string();
    return name.substr(0, name.find('.')) + ".bak";
}

class Replacing : public ::testing::Test {
protected:
    ReplaceResult replace(const std::string& path, const std::string& content, bool confirmed = false) const {
        ReplaceOptions options;
        options.replaceReadOnly = confirmed;
        return files.replaceFile(path, content, DotBak, options);
    }
    std::vector<std::string> temporaries() const { return test::TemporaryFilesUnder(dir.path()); }
    test::TempDir dir;
    platform::FileSystem files{dir.path()};
};

TEST_F(Replacing, TheNewBackupTakesItsNameOnlyAfterTheFileIsReplaced) {
    dir.write("action/server.cfg", "old");
    dir.write("action/server.bak", "older");
    const fs::path cfg = dir.path() / "action/server.cfg", bak = dir.path() / "action/server.bak";
    std::vector<std::string> seen;
    {
        test::FaultHookScope watch([&](FileOp op, const fs::path& p) {
            if (op == FileOp::Link || op == FileOp::Rename)
                seen.push_back(std::string(platform::FileOpName(op)) + " " + p.filename().string().substr(0, 11) + " " +
                               dir.read("action/server.cfg") + "/" + dir.read("action/server.bak"));
            return 0;
        });
        const ReplaceResult r = replace("action\\server.cfg", "new");
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.backupMade, bak);
        EXPECT_EQ(r.note, "");
    }
    // The new backup is made under a temporary name beside the backup; the old backup stays
    // until the file holds its new bytes.
    EXPECT_EQ(seen, (std::vector<std::string>{"link server.bak. old/older", "rename server.cfg old/older",
                                              "rename server.bak new/older"}));
    EXPECT_EQ(dir.read("action/server.bak"), "old");
    EXPECT_TRUE(temporaries().empty());

    // A failure at any step before the file is replaced leaves both as they were, also where the
    // backup has to be a copy (no hard links), and leaves no temporary file.
    struct Case {
        const char* what;
        std::function<int(FileOp, const fs::path&)> hook;
    };
    const auto backupTemp = [](const fs::path& p) { return p.filename().string().rfind("server.bak.", 0) == 0; };
    const Case cases[] = {
        {"link", [&](FileOp op, const fs::path&) { return op == FileOp::Link ? EIO : 0; }},
        {"rename", [&](FileOp op, const fs::path& p) { return op == FileOp::Rename && p == cfg ? EIO : 0; }},
        {"copy create", [&](FileOp op, const fs::path& p) {
             return op == FileOp::Link ? EPERM : op == FileOp::Create && backupTemp(p) ? ENOSPC : 0;
         }},
        {"copy write", [&](FileOp op, const fs::path& p) {
             return op == FileOp::Link ? EPERM : op == FileOp::Write && backupTemp(p) ? ENOSPC : 0;
         }},
        {"copy then rename", [&](FileOp op, const fs::path& p) {
             return op == FileOp::Link ? EPERM : op == FileOp::Rename && p == cfg ? EIO : 0;
         }},
    };
    for (const Case& c : cases) {
        dir.write("action/server.cfg", "old");
        dir.write("action/server.bak", "older");
        test::FaultHookScope fail(c.hook);
        const ReplaceResult r = replace("action\\server.cfg", "new");
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find("action/server."), std::string::npos) << c.what << ": " << r.error;
        EXPECT_EQ(dir.read("action/server.cfg"), "old") << c.what;
        EXPECT_EQ(dir.read("action/server.bak"), "older") << c.what;
        EXPECT_TRUE(r.backupMade.empty()) << c.what;
        EXPECT_TRUE(temporaries().empty()) << c.what;
    }
}

TEST_F(Replacing, ABackupThatCannotTakeItsNameIsANoteAndLosesNothing) {
    dir.write("action/server.cfg", "old");
    dir.write("action/server.bak", "older");
    const fs::path bak = dir.path() / "action/server.bak";
    ReplaceResult r;
    {
        test::FaultHookScope fail([&](FileOp op, const fs::path& p) { return op == FileOp::Rename && p == bak ? EIO : 0; });
        r = replace("action\\server.cfg", "new");
    }
    // The file is replaced, so the save succeeded; the old backup stays and the version just
    // replaced keeps the temporary name, which the note gives.
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.backupMade.empty());
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_EQ(dir.read("action/server.bak"), "older");
    const auto kept = temporaries();
    ASSERT_EQ(kept.size(), 1u);
    const std::string keptName = fs::relative(kept[0], dir.path()).generic_string();
    EXPECT_EQ(dir.read(keptName), "old");
    EXPECT_EQ(r.note, "the backup " + test::Shown("action/server.bak") + " was not updated (Input/output error); " +
                          "the old file is kept as " + test::Shown(keptName));

    // The next replace makes the backup as usual and clears the one left aside (it is now a
    // generation too old).
    r = replace("action\\server.cfg", "newer");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(dir.read("action/server.bak"), "new");
    EXPECT_TRUE(temporaries().empty());
}

TEST_F(Replacing, OnlyItsOwnStaleTemporaryFilesOfThatFileAreRemoved) {
    dir.write("action/server.cfg", "old");
    const auto hourAgo = fs::file_time_type::clock::now() - 1h;
    const auto plant = [&](const std::string& name, bool stale) {
        dir.write("action/" + name, "left " + name);
        if (stale) fs::last_write_time(dir.path() / "action" / name, hourAgo);
    };
    plant("server.cfg.Ab12cZ.tmp", true);  // left by a stopped save
    plant("server.bak.x9Y8z7.tmp", true);  // a backup left under its temporary name
    const std::vector<std::string> kept = {
        "server.cfg.Ab12cd.tmp.x", "server.cfg.Ab12c.tmp", "server.cfg.Ab12cde.tmp", "server.cfg.Ab-2cd.tmp",
        "server.cfg.Ab12cd.TMP",   "other.cfg.Ab12cd.tmp", "server.tmp",             "xserver.cfg.Ab12cd.tmp",
#ifndef _WIN32
        "SERVER.CFG.Ab12cd.tmp",  // another file's name here
#endif
    };
    for (const auto& name : kept) plant(name, true);
    plant("server.cfg.Fresh1.tmp", false);  // written after the save began: not this run's leftover
    fs::last_write_time(dir.path() / "action/server.cfg.Fresh1.tmp", fs::file_time_type::clock::now() + 1h);
    dir.mkdir("action/server.cfg.Direc1.tmp");
#ifndef _WIN32
    dir.write("elsewhere/victim", "precious");
    fs::create_symlink(dir.path() / "elsewhere/victim", dir.path() / "action/server.cfg.Link12.tmp");
#endif

    const ReplaceResult r = replace("action\\server.cfg", "new");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(dir.exists("action/server.cfg.Ab12cZ.tmp"));
    EXPECT_FALSE(dir.exists("action/server.bak.x9Y8z7.tmp"));
    for (const auto& name : kept) EXPECT_EQ(dir.read("action/" + name), "left " + name) << name;
    EXPECT_TRUE(dir.exists("action/server.cfg.Fresh1.tmp"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "action/server.cfg.Direc1.tmp"));
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(dir.path() / "action/server.cfg.Link12.tmp"));
    EXPECT_EQ(dir.read("elsewhere/victim"), "precious");
#endif

    // One that cannot be removed is left; the save goes on.
    plant("server.cfg.Stuck1.tmp", true);
    test::FaultHookScope fail([](FileOp op, const fs::path&) { return op == FileOp::Remove ? EACCES : 0; });
    EXPECT_TRUE(replace("action\\server.cfg", "newer").ok);
    EXPECT_EQ(dir.read("action/server.cfg"), "newer");
    EXPECT_TRUE(dir.exists("action/server.cfg.Stuck1.tmp"));
}

#ifndef _WIN32  // links, modes and owners are not what Windows gives its files

TEST_F(Replacing, LinksAreWrittenThroughOnlyToFilesInsideTheQuake2Directory) {
    const fs::path q2 = dir.path() / "quake2";
    const platform::FileSystem game(q2);
    dir.write("quake2/action/.keep", "");
    dir.write("outside/server.cfg", "outside");
    dir.write("quake2/versioned/x.cfg", "inside");
    const auto link = [&](const std::string& at, const fs::path& to) { fs::create_symlink(to, q2 / at); };
    link("action/server.cfg", "../../outside/server.cfg");
    link("action/gone.cfg", dir.path() / "nowhere/gone.cfg");  // dangling, outside
    link("into", dir.path() / "outside");                         // a directory link leading out
    link("action/motd.txt", "../into/server.cfg");
    link("action/x.cfg", "../../quake2/versioned/x.cfg");  // out and back in
    link("action/new.cfg", "../versioned/new.cfg");        // dangling, inside

    const auto replaceIn = [&](const std::string& path) {
        return game.replaceFile(path, "new", DotBak, ReplaceOptions{});
    };
    for (const auto& [path, leadsTo] : std::vector<std::pair<std::string, fs::path>>{
             {"action\\server.cfg", dir.path() / "outside/server.cfg"},
             {"action\\gone.cfg", dir.path() / "nowhere/gone.cfg"},
             {"action\\motd.txt", dir.path() / "outside/server.cfg"}}) {
        const ReplaceResult r = replaceIn(path);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_EQ(r.error, "cannot write through the link action/" + fs::path(path.substr(7)).string() +
                               ": it leads to " + fs::weakly_canonical(leadsTo).string() +
                               ", outside the Quake 2 directory")
            << path;
    }
    EXPECT_EQ(dir.read("outside/server.cfg"), "outside");
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
    EXPECT_FALSE(fs::exists(dir.path() / "outside/server.bak"));
    EXPECT_TRUE(fs::is_symlink(q2 / "action/server.cfg"));

    // Inside, a link is written through, also to a file it names that is not there yet.
    ASSERT_TRUE(replaceIn("action\\x.cfg").ok);
    EXPECT_EQ(dir.read("quake2/versioned/x.cfg"), "new");
    EXPECT_EQ(dir.read("quake2/versioned/x.bak"), "inside");
    ASSERT_TRUE(replaceIn("action\\new.cfg").ok);
    EXPECT_EQ(dir.read("quake2/versioned/new.cfg"), "new");
    EXPECT_TRUE(fs::is_symlink(q2 / "action/new.cfg"));
    EXPECT_TRUE(temporaries().empty());
}

TEST_F(Replacing, AReadOnlyFileIsReplacedOnlyWhenConfirmed) {
    dir.write("action/server.cfg", "old");
    const fs::path cfg = dir.path() / "action/server.cfg";
    ASSERT_EQ(::chmod(cfg.c_str(), 0444), 0);

    ReplaceResult r = replace("action\\server.cfg", "new");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.readOnly);
    EXPECT_EQ(r.error, "cannot replace action/server.cfg: it is read-only (no write permission)");
    EXPECT_EQ(dir.read("action/server.cfg"), "old");
    EXPECT_FALSE(dir.exists("action/server.bak"));
    EXPECT_TRUE(temporaries().empty());
    // The older call refuses it the same way.
    fs::path backupMade;
    std::string error;
    EXPECT_FALSE(files.replaceFile("action\\server.cfg", "new", DotBak, backupMade, error));
    EXPECT_EQ(error, r.error);

    // Confirmed, it is replaced and stays read-only.
    r = replace("action\\server.cfg", "new", true);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(r.readOnly);
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_EQ(test::EntryStat(cfg).st_mode & 07777, 0444u);

    // Writable for its owner only, by another user: read-only for this one, unless the system
    // lets this user write anything.
    ASSERT_EQ(::chmod(cfg.c_str(), 0644), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(cfg.c_str(), 65534, 65534), 0);
        EXPECT_TRUE(replace("action\\server.cfg", "again").ok);
    }
}

TEST_F(Replacing, OwnerGroupAndSetIdBitsAreKeptWherePossibleAndSaidWhereNot) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another owner needs the superuser";
    dir.write("action/server.cfg", "old");
    const fs::path cfg = dir.path() / "action/server.cfg";
    ASSERT_EQ(::chown(cfg.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(cfg.c_str(), 06750), 0);

    ReplaceResult r = replace("action\\server.cfg", "new");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.note, "");
    struct stat st = test::EntryStat(cfg);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 06750u);  // the owner first, then the mode: the set-ID bits survive

    // Where the owner cannot be given, the group still may be; a set-ID bit never goes to a
    // file of another owner or group than the old one.
    struct Case {
        int failures;  // of the changes of owner, in turn
        const char* note;
        mode_t mode;
        gid_t gid;
    };
    const Case cases[] = {
        {1, "the owner of action/server.cfg could not be kept (Operation not permitted); its set-ID bits were not kept",
         02750, 65534},
        {2, "the owner and group of action/server.cfg could not be kept (Operation not permitted); its set-ID bits "
            "were not kept",
         0750, 0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(::chown(cfg.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(cfg.c_str(), 06750), 0);
        int owners = 0;
        test::FaultHookScope deny([&](FileOp op, const fs::path&) {
            return op == FileOp::ModeChange && owners++ < c.failures ? EPERM : 0;
        });
        r = replace("action\\server.cfg", "newer");
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.note, c.note);
        st = test::EntryStat(cfg);
        EXPECT_EQ(st.st_uid, 0u) << c.failures;
        EXPECT_EQ(st.st_gid, c.gid) << c.failures;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.failures;
    }
}

#endif

}  // namespace
}  // namespace tolvane
