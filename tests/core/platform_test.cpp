// The platform layer against real files and real processes: Windows path rules on this host,
// checked writes, and programs started without a shell.
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/ReadOnlyFile.h"
#include "support/HostFiles.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

using platform::FileSystem;
using platform::ReadOnlyFile;
using platform::SplitCommandLine;
using platform::SystemProcessLauncher;
using platform::WildcardMatch;
using platform::WindowMode;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(FileSystemResolve, FindsEachComponentIgnoringCase) {
    test::TempDir dir;
    dir.write("Action/Maps/Q2DM1.BSP", "x");
    const FileSystem files(dir.path());

#ifdef _WIN32
    // Windows finds the names itself: the path is only joined, as written, with no lookup.
    EXPECT_EQ(files.resolve("action\\maps\\q2dm1.bsp").native(), (dir.path() / L"action\\maps\\q2dm1.bsp").native());
    EXPECT_EQ(files.resolve("action/maps").native(), (dir.path() / L"action\\maps").native());
    EXPECT_EQ(files.resolve("action\\").native(), (dir.path() / L"action").native());
    // Drive-less relative names stay below the Quake 2 directory; "." and doubled separators
    // change nothing.
    EXPECT_EQ(files.resolve(".\\action\\\\maps").native(), (dir.path() / L"action\\maps").native());
    // A name with a drive in it never leads out of the Quake 2 directory.
    EXPECT_EQ(files.resolve("action\\C:\\x.cfg").native(), dir.path().native() + L"\\action\\C:\\x.cfg");
    EXPECT_EQ(files.resolve("\\C:\\x.cfg").native(), dir.path().native() + L"\\C:\\x.cfg");
#else
    EXPECT_EQ(files.resolve("action\\maps\\q2dm1.bsp"), dir.path() / "Action/Maps/Q2DM1.BSP");
    // Components below a missing one are kept as written; forward slashes work too.
    EXPECT_EQ(files.resolve("ACTION\\new\\Server.cfg"), dir.path() / "Action/new/Server.cfg");
    EXPECT_EQ(files.resolve("action/maps"), dir.path() / "Action/Maps");
    // A trailing backslash names the directory itself.
    EXPECT_EQ(files.resolve("action\\"), dir.path() / "Action");
#endif
    EXPECT_TRUE(files.isDirectory("ACTION\\MAPS\\"));
    EXPECT_TRUE(files.isFile("action\\maps\\q2dm1.bsp"));
    EXPECT_FALSE(files.isFile("action\\maps"));
    EXPECT_EQ(files.fileSize("action\\MAPS\\q2dm1.bsp"), 1u);
    EXPECT_EQ(files.fileSize("action\\maps"), std::nullopt);
}

#ifndef _WIN32
// Names equal but for case cannot coexist on Windows.
TEST(FileSystemResolve, PrefersTheExactNameThenTheFirstInByteOrder) {
    test::TempDir dir;
    for (const char* name : {"dup", "Dup", "DUP"}) dir.write(name, name);
    const FileSystem files(dir.path());
    EXPECT_EQ(files.resolve("dup"), dir.path() / "dup");
    EXPECT_EQ(files.resolve("Dup"), dir.path() / "Dup");
    EXPECT_EQ(files.resolve("dUP"), dir.path() / "DUP");
}
#endif

// The backup name the save gives: the file's name and ".bak".
std::string BakName(const fs::path& replaced) { return replaced.filename().string() + ".bak"; }

TEST(FileSystemResolve, WritingUnderAnotherCaseReplacesTheExistingFile) {
    test::TempDir dir;
    dir.write("action/server.cfg", "old");
    const FileSystem files(dir.path());
    std::string error;
    fs::path backup;
    ASSERT_TRUE(files.replaceFile("Action\\SERVER.CFG", "new", BakName, backup, error)) << error;
    EXPECT_EQ(dir.read("action/server.cfg"), "new");
    EXPECT_EQ(dir.read("action/server.cfg.bak"), "old");
    EXPECT_EQ(files.list("action\\*", false), (Strings{"server.cfg", "server.cfg.bak"}));
}

TEST(WildcardMatchTest, WindowsPatterns) {
    EXPECT_TRUE(WildcardMatch("*.bsp", "MAP.BSP"));
    EXPECT_FALSE(WildcardMatch("*.bsp", "map.bsp.txt"));
    EXPECT_TRUE(WildcardMatch("q2dm?.bsp", "Q2DM8.bsp"));
    EXPECT_FALSE(WildcardMatch("q2dm?.bsp", "q2dm.bsp"));
    EXPECT_TRUE(WildcardMatch("*a*b", "xxaxxab"));  // the star must give back what it took
    EXPECT_FALSE(WildcardMatch("*a*b", "xxbxxa"));
    EXPECT_TRUE(WildcardMatch("*.", "male"));
    EXPECT_FALSE(WildcardMatch("*.", "male.pcx"));
    EXPECT_FALSE(WildcardMatch("m*.", "m.d"));
    EXPECT_TRUE(WildcardMatch("*.*", "noext"));
}

// Names equal but for case: two files here; Windows keeps one, under the name it was made with.
#ifdef _WIN32
const Strings kReadmes{"Readme"};
#else
const Strings kReadmes{"README", "Readme"};
#endif

Strings Concat(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class FileSystemListing : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"MAP.BSP", "a.bsp", "b.bsp.txt", "_under.bsp", "noext", "Readme", "README"})
            dir.write(std::string("maps/") + name, "x");
        dir.mkdir("maps/female");
        dir.mkdir("maps/dir.bsp");
    }
    test::TempDir dir;
    FileSystem files{dir.path()};
};

TEST_F(FileSystemListing, MatchesIgnoringCaseInNtfsOrder) {
    // Upper-cased order puts "_" after the letters; equal names order by their bytes.
    EXPECT_EQ(files.list("MAPS\\*.bsp", false), (Strings{"a.bsp", "MAP.BSP", "_under.bsp"}));
    EXPECT_EQ(files.list("maps\\*.bsp", true), (Strings{"a.bsp", "dir.bsp", "MAP.BSP", "_under.bsp"}));
    EXPECT_EQ(files.list("maps\\r*", false), kReadmes);
}

TEST_F(FileSystemListing, EveryPatternListsTheNamesTheWildcardRulesMatch) {
    // Patterns of a star and a plain ending are matched by a quicker path than the others:
    // both must take the names the wildcard rules take.
    for (const char* name : {"x.BsP", "bsp", ".bsp", "y.bspx", "z.pk3", "Z.PK3", "a.b.bsp", "abc"}) dir.write(std::string("maps/") + name, "x");
    Strings all = files.list("maps\\*", false);
    ASSERT_GT(all.size(), 10u);
    for (const char* pattern : {"*.bsp", "*.BSP", "*bsp", "*.pk3", "*c", "*.", "*.*", "*", "?.bsp", "*.b?p", "*.bsp*"}) {
        Strings expected;
        for (const auto& name : all)
            if (WildcardMatch(pattern, name)) expected.push_back(name);
        EXPECT_EQ(files.list(std::string("maps\\") + pattern, false), expected) << pattern;
    }
}

TEST_F(FileSystemListing, NamesWithoutExtensionIncludeDirectoriesOnlyWhenAsked) {
    EXPECT_EQ(files.list("maps\\*.", false), Concat({"noext"}, kReadmes));
    EXPECT_EQ(files.list("maps\\*.", true), Concat({"female", "noext"}, kReadmes));
}

TEST_F(FileSystemListing, PlainNameListsThatEntryUnderItsRealName) {
    EXPECT_EQ(files.list("maps\\map.bsp", false), Strings{"MAP.BSP"});
    EXPECT_EQ(files.list("maps\\female", false), Strings{});
    EXPECT_EQ(files.list("maps\\FEMALE", true), Strings{"female"});
    EXPECT_EQ(files.list("maps\\missing.bsp", true), Strings{});
    EXPECT_EQ(files.list("maps\\..", true), Strings{});
}

TEST_F(FileSystemListing, FailuresListNothing) {
    EXPECT_EQ(files.list("nowhere\\*.bsp", true), Strings{});
    EXPECT_EQ(files.list("maps\\noext\\*", true), Strings{});  // directory part is a file
    EXPECT_EQ(files.list("maps\\", true), Strings{});
    EXPECT_EQ(files.list("", true), Strings{});
}

TEST(FileSystemFiles, ReadAndWriteRoundTripBytes) {
    test::TempDir dir;
    const FileSystem files(dir.path());
    const std::string bytes("line\r\n\0\xff end", 12);
    std::string error, back;
    fs::path backup;
    ASSERT_TRUE(files.replaceFile("out.bin", bytes, BakName, backup, error)) << error;
    ASSERT_TRUE(files.readFile("OUT.BIN", back, error)) << error;
    EXPECT_EQ(back, bytes);
    ASSERT_TRUE(files.replaceFile("out.bin", "ab", BakName, backup, error)) << error;
    EXPECT_EQ(dir.read("out.bin"), "ab");

    std::string part;
    ASSERT_TRUE(files.readAt("out.bin", 1, 10, part));
    EXPECT_EQ(part, "b");
    ASSERT_TRUE(files.readAt("out.bin", 50, 4, part));
    EXPECT_EQ(part, "");
    EXPECT_FALSE(files.readAt("missing", 0, 4, part));

    // One opening read in pieces, as an archive's header and then its directory are.
    dir.write("pieces.bin", "0123456789");
    const ReadOnlyFile pieces(files.resolve("pieces.bin"));
    ASSERT_TRUE(pieces.isOpen());
    EXPECT_EQ(pieces.size(), std::optional<std::uint64_t>(10));
    ASSERT_TRUE(pieces.readAt(0, 4, part));
    EXPECT_EQ(part, "0123");
    ASSERT_TRUE(pieces.readAt(8, 100, part));
    EXPECT_EQ(part, "89");  // fewer at the end of the file
    ASSERT_TRUE(pieces.readAt(1000, 4, part));
    EXPECT_EQ(part, "");
    const ReadOnlyFile missing(files.resolve("missing"));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.size());
    EXPECT_FALSE(missing.readAt(0, 4, part));
    EXPECT_FALSE(files.readFile("missing", back, error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(FileSystemFiles, FailedWritesReportTheReasonAndLeaveNoFile) {
    test::TempDir dir;
    dir.write("afile", "keep");
    dir.mkdir("adir");
    const FileSystem files(dir.path());
    std::string error;
    fs::path backup;

    // Windows reports a file used as a directory as a missing path.
#ifdef _WIN32
    const char* const kFileAsDirectory = "No such file or directory";
#else
    const char* const kFileAsDirectory = "Not a directory";
#endif
    EXPECT_FALSE(files.replaceFile("afile\\x.cfg", "data", BakName, backup, error));
    EXPECT_NE(error.find(kFileAsDirectory), std::string::npos) << error;
    EXPECT_EQ(dir.read("afile"), "keep");

    error.clear();
    EXPECT_FALSE(files.replaceFile("adir", "data", BakName, backup, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(dir.path() / "adir"));
    EXPECT_EQ(files.list("*", true), (Strings{"adir", "afile"}));  // no temporary file left
}

TEST(FileSystemFiles, RenameReplacesAndRemoveToleratesAbsence) {
    test::TempDir dir;
    dir.write("action/server.tmp", "new");
    dir.write("action/Server.cfg", "old");
    const FileSystem files(dir.path());
    std::string error;

    ASSERT_TRUE(files.renameFile("action\\server.tmp", "action\\server.cfg", error)) << error;
    EXPECT_EQ(dir.read("action/Server.cfg"), "new");
    EXPECT_FALSE(dir.exists("action/server.tmp"));
    // A rename that changes only the case takes the new spelling. On Windows that is the file
    // system's business (NTFS takes it, Wine over a Unix file system keeps the old one); the
    // file stays, whole, under one name.
    ASSERT_TRUE(files.renameFile("action\\server.cfg", "action\\SERVER.CFG", error)) << error;
#ifdef _WIN32
    EXPECT_EQ(files.list("action\\*", false).size(), 1u);
    EXPECT_EQ(dir.read("action/SERVER.CFG"), "new");
#else
    EXPECT_EQ(files.list("action\\*", false), Strings{"SERVER.CFG"});
#endif

    EXPECT_FALSE(files.renameFile("action\\gone.tmp", "action\\x.cfg", error));
    EXPECT_EQ(error, "No such file or directory");

    EXPECT_TRUE(files.removeFile("action\\server.cfg", error));
    EXPECT_FALSE(dir.exists("action/SERVER.CFG"));
    EXPECT_TRUE(files.removeFile("action\\never.cfg", error));
    EXPECT_FALSE(files.removeFile("action", error));
    EXPECT_TRUE(dir.exists("action"));
}

TEST(SplitCommandLineTest, MicrosoftRuntimeRules) {
    EXPECT_EQ(SplitCommandLine(""), Strings{});
    EXPECT_EQ(SplitCommandLine(" \t "), Strings{});
    EXPECT_EQ(SplitCommandLine("quake2.exe  +set game action\t+exec server.cfg "),
              (Strings{"quake2.exe", "+set", "game", "action", "+exec", "server.cfg"}));
    EXPECT_EQ(SplitCommandLine(R"(x "a b" c"d e"f)"), (Strings{"x", "a b", "cd ef"}));
    EXPECT_EQ(SplitCommandLine(R"(x a\\b \"c a\\"b c" d)"), (Strings{"x", R"(a\\b)", R"("c)", R"(a\b c)", "d"}));
    EXPECT_EQ(SplitCommandLine(R"(x a\\\"b a\\\\"b c")"), (Strings{"x", R"(a\"b)", R"(a\\b c)"}));
    // "" inside quotes is a literal quote and quoting continues; outside it is an empty group.
    EXPECT_EQ(SplitCommandLine(R"(x "a""b c" a""b "" ")"), (Strings{"x", R"(a"b c)", "ab", "", ""}));
    EXPECT_EQ(SplitCommandLine(R"(x """a b""")"), (Strings{"x", R"("a b")"}));
    // The program name: quotes group, backslashes stay as they are.
    EXPECT_EQ(SplitCommandLine(R"("C:\Quake 2\quake2.exe" +set)"), (Strings{R"(C:\Quake 2\quake2.exe)", "+set"}));
    EXPECT_EQ(SplitCommandLine(R"(dir\\"a b" dir\\"a b")"), (Strings{R"(dir\\a b)", R"(dir\a b)"}));
}

// The server's file: Windows runs quake2.exe, other hosts the program named quake2.
#ifdef _WIN32
const char* const kServerFile = "quake2.exe";
#else
const char* const kServerFile = "quake2";
#endif

// Launching programs: the stand-in records its arguments in args.txt of its working directory.
class Launcher : public ::testing::Test {
protected:
    void install(const fs::path& where, [[maybe_unused]] int mode = 0755) {
        fs::create_directories(where.parent_path());
        fs::copy_file(TOLVANE_ARGDUMP, where, fs::copy_options::overwrite_existing);
#ifndef _WIN32
        ::chmod(where.c_str(), static_cast<mode_t>(mode));
#endif
    }
    // The lines the stand-in recorded in a file of its working directory, or nothing after ten
    // seconds.
    Strings waitForLines(const std::string& name = "args.txt") const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!dir.exists(name) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Strings lines;
        std::istringstream in(dir.read(name));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    Strings waitForArgs() const { return waitForLines(); }
    test::TempDir dir;
    SystemProcessLauncher launcher{dir.path().string()};
    std::string error;
};

TEST_F(Launcher, DoesNotWaitForTheProgram) {
    // The stand-in only records its arguments once the gate file exists, and it is made only
    // after the start has returned: a start that waited would find nothing recorded.
    install(dir.path() / kServerFile);
    const test::ScopedEnv gate("ARGDUMP_WAIT_FOR", (dir.path() / "gate").string());
    ASSERT_TRUE(launcher.start("quake2.exe +set dedicated 1", WindowMode::Minimised, error)) << error;
    dir.write("gate", "");
    EXPECT_EQ(waitForArgs(), (Strings{"quake2.exe", "+set", "dedicated", "1"}));
}

#ifndef _WIN32
TEST_F(Launcher, StartsDirectlyWithExactArgumentsAndNoShell) {
    install(dir.path() / "quake2");
    ASSERT_TRUE(launcher.start(R"(quake2.exe +set x "a b" ; touch pwned $(touch pwned2) `touch pwned3`)",
                               WindowMode::Minimised, error))
        << error;
    // Detached: the editor has no child left to reap, now or later.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(waitForArgs(), (Strings{"quake2.exe", "+set", "x", "a b", ";", "touch", "pwned", "$(touch",
                                      "pwned2)", "`touch", "pwned3`"}));
    for (const char* name : {"pwned", "pwned2", "pwned3"}) EXPECT_FALSE(dir.exists(name)) << name;
}

TEST_F(Launcher, PrefersARunnableMatchIgnoringCase) {
    dir.write("quake2.exe", "MZ windows program");  // present but not runnable here
    install(dir.path() / "Quake2");
    ASSERT_TRUE(launcher.start("QUAKE2.EXE +exec server.cfg", WindowMode::Normal, error)) << error;
    EXPECT_EQ(waitForArgs(), (Strings{"QUAKE2.EXE", "+exec", "server.cfg"}));
    // The launcher tells which file it ran and the process it started.
    EXPECT_EQ(launcher.lastStarted().program, (dir.path() / "Quake2").string());
    EXPECT_GT(launcher.lastStarted().processId, 0);
}

TEST_F(Launcher, SearchesPathForProgramsNotInTheGameDirectory) {
    test::TempDir bin;
    install(bin.path() / "viewer");
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", ("relative:" + bin.path().string() + ":" + oldPath).c_str(), 1);
    const bool started = launcher.start("viewer.exe model.md2", WindowMode::Minimised, error);
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(started) << error;
    EXPECT_EQ(waitForArgs(), (Strings{"viewer.exe", "model.md2"}));
}

TEST_F(Launcher, ReportsWhyAProgramCannotStart) {
    EXPECT_FALSE(launcher.start("nosuchprogram-tolvane.exe +set", WindowMode::Normal, error));
    EXPECT_EQ(error, "not found");

    dir.write("quake2", "plain file");
    ::chmod((dir.path() / "quake2").c_str(), 0644);
    EXPECT_FALSE(launcher.start("quake2.exe", WindowMode::Normal, error));
    EXPECT_EQ(error, "not executable: Permission denied");

    // Executable but no program: the failed exec is reported and never handed to a shell.
    dir.write("broken", "touch pwned\n");
    ::chmod((dir.path() / "broken").c_str(), 0755);
    EXPECT_FALSE(launcher.start("broken", WindowMode::Normal, error));
    EXPECT_EQ(error, "cannot start: Exec format error");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(dir.exists("pwned"));

    EXPECT_FALSE(launcher.start("  ", WindowMode::Normal, error));
    EXPECT_FALSE(SystemProcessLauncher((dir.path() / "none").string()).start("quake2", WindowMode::Normal, error));
    EXPECT_EQ(error, "working directory not found");
}

#else

TEST_F(Launcher, StartsTheCommandLineAsBuiltMinimisedWithoutAShell) {
    install(dir.path() / "quake2.exe");
    // Quotes and backslashes reach the program as the C runtime splits them: the line is
    // handed over as built, never quoted again. The shell's & and > are plain text.
    const std::string line = R"(quake2.exe +set x "a b" +set y a\\"b c" +set z \"q\" & echo pwned > pwned)";
    ASSERT_TRUE(launcher.start(line, WindowMode::Minimised, error)) << error;
    const Strings args = waitForArgs();
    EXPECT_EQ(args, (Strings{"quake2.exe", "+set", "x", "a b", "+set", "y", R"(a\b c)", "+set", "z", R"("q")", "&",
                             "echo", "pwned", ">", "pwned"}));
    EXPECT_EQ(args, SplitCommandLine(line));
    EXPECT_EQ(waitForLines("args.txt.show"), Strings{std::to_string(SW_SHOWMINIMIZED)});
    EXPECT_FALSE(dir.exists("pwned"));
}

TEST_F(Launcher, ShowsANormalWindowWhenAskedTo) {
    install(dir.path() / "tool.exe");
    ASSERT_TRUE(launcher.start("tool.exe", WindowMode::Normal, error)) << error;
    EXPECT_EQ(waitForLines("args.txt.show"), Strings{std::to_string(SW_SHOWNORMAL)});
}

TEST_F(Launcher, TakesRelativeNamesFromTheQuake2DirectoryIgnoringCase) {
    install(dir.path() / "Quake2.exe");
    ASSERT_TRUE(launcher.start("QUAKE2.EXE +exec server.cfg", WindowMode::Normal, error)) << error;
    EXPECT_EQ(waitForArgs(), (Strings{"QUAKE2.EXE", "+exec", "server.cfg"}));

    // A name with a directory part counts from the Quake 2 directory too, whatever the
    // editor's own working directory; a name without an extension finds the .exe.
    fs::remove(dir.path() / "args.txt");
    fs::remove(dir.path() / "args.txt.show");
    install(dir.path() / "tools/Viewer.exe");
    ASSERT_TRUE(launcher.start("tools\\viewer model.md2", WindowMode::Normal, error)) << error;
    EXPECT_EQ(waitForArgs(), (Strings{"tools\\viewer", "model.md2"}));
}

TEST_F(Launcher, SearchesPathForProgramsNotInTheGameDirectory) {
    test::TempDir bin;
    install(bin.path() / "viewer.exe");
    const char* oldPath = std::getenv("PATH");
    bool started;
    {
        const test::ScopedEnv path("PATH", bin.path().string() + test::kPathListSeparator + (oldPath ? oldPath : ""));
        started = launcher.start("viewer.exe model.md2", WindowMode::Minimised, error);
    }
    ASSERT_TRUE(started) << error;
    EXPECT_EQ(waitForArgs(), (Strings{"viewer.exe", "model.md2"}));
}

TEST_F(Launcher, ReportsWhyAProgramCannotStart) {
    EXPECT_FALSE(launcher.start("nosuchprogram-tolvane.exe +set", WindowMode::Normal, error));
    EXPECT_EQ(error, "not found");
    EXPECT_FALSE(launcher.start("tools\\missing.exe", WindowMode::Normal, error));
    EXPECT_EQ(error, "not found");
    EXPECT_FALSE(launcher.start("quake2.exe +set game action", WindowMode::Normal, error));
    EXPECT_EQ(error, "not found in " + dir.path().string());

    // A file that is no program: the failure is reported and nothing runs it as a script.
    dir.write("broken.exe", "echo pwned > pwned\r\n");
    EXPECT_FALSE(launcher.start("broken.exe", WindowMode::Normal, error));
    EXPECT_EQ(error.rfind("cannot start: ", 0), 0u) << error;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(dir.exists("pwned"));

    EXPECT_FALSE(launcher.start("  ", WindowMode::Normal, error));
    EXPECT_FALSE(SystemProcessLauncher((dir.path() / "none").string()).start("quake2", WindowMode::Normal, error));
    EXPECT_EQ(error, "working directory not found");
}

#endif

}  // namespace
}  // namespace tolvane
