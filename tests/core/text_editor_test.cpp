// The text editor behind "notepad.exe" on this host: which program opens the file, and the exact
// arguments it receives, recorded by a stand-in program.
#ifndef _WIN32
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/TextEditor.h"
#include "support/TestSupport.h"

namespace tolvane::platform {
namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(EditorCommandLine, TheFileIsEverythingAfterTheProgram) {
    EXPECT_TRUE(IsTextEditorProgram("NotePad.EXE"));
    EXPECT_TRUE(IsTextEditorProgram("notepad"));
    EXPECT_FALSE(IsTextEditorProgram("notepad.exe.bak"));
    EXPECT_EQ(EditorFileArgument("notepad.exe action\\my  motd.txt"), "action\\my  motd.txt");
    EXPECT_EQ(EditorFileArgument("  \"notepad.exe\"   \"baseq2\\a b.txt\""), "baseq2\\a b.txt");
    EXPECT_EQ(EditorFileArgument("notepad.exe"), "");
}

// Sets an environment variable for the length of a test (unset when value is null).
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~EnvVar() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct TextEditorFixture : ::testing::Test {
    test::TempDir bin;     // stands for the search path
    test::TempDir quake2;  // the Quake 2 directory
    test::TempDir out;     // where the stand-in records its arguments
    std::string error;

    std::string install(const std::string& name) {
        const fs::path where = bin.path() / name;
        fs::copy_file(TOLVANE_ARGDUMP, where, fs::copy_options::overwrite_existing);
        ::chmod(where.c_str(), 0755);
        return where.string();
    }
    EditorEnvironment env(bool desktop, std::string visual = "", std::string editor = "") const {
        return {desktop, "relative:" + bin.path().string(), std::move(visual), std::move(editor)};
    }
    // The arguments the stand-in received, or nothing after ten seconds.
    Strings recorded() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!out.exists("args.txt") && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Strings lines;
        std::istringstream in(out.read("args.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

TEST_F(TextEditorFixture, TheDesktopOpenerComesFirstThenVisualThenEditor) {
    const std::string file = "/q2/action/motd.txt";
    EXPECT_FALSE(ChooseTextEditor(env(true), file, error));
    EXPECT_EQ(error, "no text editor found: xdg-open is not installed, and neither VISUAL nor EDITOR is set");
    EXPECT_FALSE(ChooseTextEditor(env(false), file, error));
    EXPECT_EQ(error, "no text editor found: there is no desktop session, and neither VISUAL nor EDITOR is set");

    const std::string opener = install("xdg-open");
    const std::string gedit = install("gedit");
    const std::string vi = install("vi");
    auto choice = ChooseTextEditor(env(true, "gedit  --new-window", "vi"), file, error);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->program, opener);
    EXPECT_EQ(choice->args, (Strings{"xdg-open", file}));
    EXPECT_TRUE(choice->opener);

    // Without a desktop session the opener is no use; VISUAL's words come before the file.
    choice = ChooseTextEditor(env(false, "gedit  --new-window", "vi"), file, error);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->program, gedit);
    EXPECT_EQ(choice->args, (Strings{"gedit", "--new-window", file}));
    EXPECT_FALSE(choice->opener);
    choice = ChooseTextEditor(env(false, " ", "vi"), file, error);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->args, (Strings{"vi", file}));
    EXPECT_EQ(choice->program, vi);

    // A named editor that is not there is reported, not passed over.
    EXPECT_FALSE(ChooseTextEditor(env(false, "nano", "vi"), file, error));
    EXPECT_EQ(error, "nano (named by VISUAL): not found");
    EXPECT_FALSE(ChooseTextEditor(env(false, "", "/no/such/kate"), file, error));
    EXPECT_EQ(error, "/no/such/kate (named by EDITOR): not found");
}

TEST_F(TextEditorFixture, TheOpenerGetsOneAbsolutePathAndAMissingFileIsCreated) {
    install("xdg-open");
    quake2.mkdir("Action");
    const std::string path = "relative:" + bin.path().string();
    const EnvVar pathVar("PATH", path.c_str());
    const EnvVar display("DISPLAY", ":7");
    const EnvVar record("ARGDUMP_OUT", (out.path() / "args.txt").c_str());
    SystemProcessLauncher launcher(quake2.path().string());
    ASSERT_TRUE(launcher.start("notepad.exe action\\My  Motd.txt", WindowMode::Normal, error)) << error;
    const std::string file = (quake2.path() / "Action" / "My  Motd.txt").string();
    EXPECT_EQ(recorded(), (Strings{"xdg-open", file}));
    EXPECT_TRUE(quake2.exists("Action/My  Motd.txt"));
    EXPECT_EQ(quake2.read("Action/My  Motd.txt"), "");
    EXPECT_EQ(launcher.lastStarted().program, (bin.path() / "xdg-open").string());
    EXPECT_GT(launcher.lastStarted().processId, 0);
}

TEST_F(TextEditorFixture, WithoutADesktopTheVisualEditorGetsItsWordsAndTheFile) {
    const std::string editor = install("my editor");
    quake2.write("baseq2/client stuff.cfg", "say hi\n");
    const EnvVar display("DISPLAY", nullptr);
    const EnvVar wayland("WAYLAND_DISPLAY", nullptr);
    // A program path with blanks is quoted in VISUAL; the file with blanks is one argument.
    const std::string visual = "\"" + editor + "\"  --wait";
    const EnvVar visualVar("VISUAL", visual.c_str());
    const EnvVar record("ARGDUMP_OUT", (out.path() / "args.txt").c_str());
    SystemProcessLauncher launcher(quake2.path().string());
    ASSERT_TRUE(launcher.start("notepad.exe baseq2\\client stuff.cfg", WindowMode::Normal, error)) << error;
    EXPECT_EQ(recorded(), (Strings{editor, "--wait", (quake2.path() / "baseq2" / "client stuff.cfg").string()}));
    EXPECT_EQ(quake2.read("baseq2/client stuff.cfg"), "say hi\n");  // left as it was
}

TEST_F(TextEditorFixture, ACreateFailureIsReportedWithThePath) {
    install("xdg-open");
    const std::string path = bin.path().string();
    const EnvVar pathVar("PATH", path.c_str());
    const EnvVar display("DISPLAY", ":7");
    SystemProcessLauncher launcher(quake2.path().string());
    EXPECT_FALSE(launcher.start("notepad.exe action\\motd.txt", WindowMode::Normal, error));
    EXPECT_EQ(error, "cannot create " + (quake2.path() / "action" / "motd.txt").string() + ": No such file or directory");
}

}  // namespace
}  // namespace tolvane::platform
#endif
