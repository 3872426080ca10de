#include "app/CommandLine.h"

#include <filesystem>

#include "app/Editor.h"

namespace tolvane::app {

namespace {

// Message and input boxes for runs without a window: messages are printed, questions are
// answered with cancel, and a modal dialog is confirmed as it opens (or, while `confirm` is
// off, closed as by its window frame). A dialog that refuses its confirmation (a bad file
// name) is then closed as cancelled.
class ConsoleDialogs : public platform::Dialogs {
public:
    explicit ConsoleDialogs(std::ostream& err) : err_(err) {}
    bool confirm = false;
    void message(const std::string& text, const std::string&) override {
        std::string line;
        for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
        err_ << "message: " << line << '\n';
    }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void showModal(platform::DialogModel& dialog) override {
        dialog.show();
        if (confirm) dialog.confirm();
        if (dialog.visible()) dialog.closedByFrame();
    }

private:
    std::ostream& err_;
};

// Starting programs is not part of a headless run's business; refuse politely.
class NoLauncher : public platform::ProcessLauncher {
public:
    bool start(const std::string&, platform::WindowMode, std::string& error) override {
        error = "programs are not started in this mode";
        return false;
    }
};

}  // namespace

std::string UsageText() {
    return "Usage: tolvane [OPTIONS] [DIR]\n"
           "Edit the configuration of the Action Quake 2 server in the Quake 2 directory DIR\n"
           "(default: the current directory) and start the server.\n"
           "\n"
           "  --dump             run the start-up without a window, print every setting and exit\n"
           "  --set NAME=VALUE   after start-up, set the control NAME as typing would (repeatable)\n"
           "  --config NAME      switch to the configuration NAME first (the one left is not saved)\n"
           "  --save             save every file as SAVE SETTINGS does, then exit (1 if a write failed)\n"
           "  --start            save as START SERVER does and start the server, then exit\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n";
}

Options ParseCommandLine(const std::vector<std::string>& args) {
    Options o;
    bool haveDir = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.mode = Options::Mode::Help;
        } else if (a == "--version") {
            o.mode = Options::Mode::Version;
        } else if (a == "--dump") {
            o.mode = Options::Mode::Dump;
        } else if (a == "--save") {
            o.mode = Options::Mode::Save;
        } else if (a == "--start") {
            o.mode = Options::Mode::Start;
        } else if (a == "--config") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                o.error = "--config needs a configuration name";
                return o;
            }
            o.config = args[++i];
        } else if (a == "--set" || a.rfind("--set=", 0) == 0) {
            std::string assignment;
            if (a == "--set") {
                if (i + 1 >= args.size()) {
                    o.error = "--set needs NAME=VALUE";
                    return o;
                }
                assignment = args[++i];
            } else {
                assignment = a.substr(6);
            }
            const auto eq = assignment.find('=');
            if (eq == std::string::npos || eq == 0) {
                o.error = "--set needs NAME=VALUE, not \"" + assignment + "\"";
                return o;
            }
            o.sets.emplace_back(assignment.substr(0, eq), assignment.substr(eq + 1));
        } else if (a.rfind("--", 0) == 0) {
            o.error = "unknown option " + a;
            return o;
        } else if (!haveDir) {
            o.directory = a;
            haveDir = true;
        } else {
            o.error = "only one directory may be given";
            return o;
        }
    }
    return o;
}

int RunHeadless(const Options& options, std::ostream& out, std::ostream& err,
                platform::ProcessLauncher* launcher) {
    std::error_code ec;
    if (!std::filesystem::is_directory(options.directory, ec)) {
        err << "tolvane: " << options.directory << " is not a directory\n";
        return 2;
    }
    platform::FileSystem fs(options.directory);
    ConsoleDialogs dialogs(err);
    platform::NullProgress progress;
    NoLauncher noLauncher;
    Editor editor(fs, dialogs, progress, launcher ? *launcher : noLauncher);
    editor.StartUp();
    editor.mainWindowVisible = true;
    if (!options.config.empty()) {
        // A pick in the list: the save dialog that offers to save the one being left is
        // cancelled.
        dialogs.confirm = false;
        if (!editor.main.ConfigNameList.selectText(options.config)) {
            err << "tolvane: no configuration named " << options.config << '\n';
            return 2;
        }
    }
    int status = 0;
    for (const auto& [name, value] : options.sets) {
        const std::string problem = editor.form.set(name, value);
        if (!problem.empty()) {
            err << "tolvane: --set " << name << ": " << problem << '\n';
            status = 2;
        }
    }
    if (options.mode == Options::Mode::Dump) {
        editor.Dump(out);
        return status;
    }
    // Nothing is saved or started when a requested change could not be made.
    if (status != 0) return status;
    switch (options.mode) {
        case Options::Mode::Save:
            dialogs.confirm = true;
            return editor.ButtonSave_Click() ? 0 : 1;
        case Options::Mode::Start:
            dialogs.confirm = true;
            return editor.ButtonStart_Click() ? 0 : 1;
        default:
            return 0;
    }
}

}  // namespace tolvane::app
