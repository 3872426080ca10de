#include "app/CommandLine.h"

#include <deque>
#include <filesystem>
#include <optional>

#include "app/Editor.h"
#include "app/HeadlessModes.h"
#include "registry/ConfigRegistry.h"

namespace tolvane::app {

namespace {

// Message and input boxes for runs without a window: messages are printed, questions are
// answered from the queued --answer texts (none queued: cancel), and a modal dialog gets the
// fields queued for it with --set, then is confirmed as it opens (or, while `confirm` is off,
// closed as by its window frame). A dialog that refuses its confirmation (a bad file name, a
// missing address) is then closed as cancelled.
class ConsoleDialogs : public platform::Dialogs {
public:
    explicit ConsoleDialogs(std::ostream& err) : err_(err) {}
    bool confirm = false;
    // A dialog that is always closed as cancelled (the save dialog of a run that only looks).
    const platform::DialogModel* alwaysCancelled = nullptr;
    std::deque<std::string> answers;
    struct DialogField {
        platform::DialogModel* dialog;
        form::Form* fields;
        std::string name;
        std::string value;
    };
    std::vector<DialogField> dialogFields;
    void message(const std::string& text, const std::string&) override {
        std::string line;
        for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
        err_ << "message: " << line << '\n';
    }
    // Nobody is there to answer: the question is printed and left unanswered, so a choice that
    // would risk an operator's file is never made for them.
    std::optional<std::size_t> ask(const std::string& text, const std::string&, const std::vector<std::string>&) override {
        std::string line;
        for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
        err_ << "question: " << line << " (no answer without a window)\n";
        return std::nullopt;
    }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        if (answers.empty()) return std::nullopt;
        std::string answer = answers.front();
        answers.pop_front();
        // An empty answer is a cancel, as in the window's input box.
        if (answer.empty()) return std::nullopt;
        return answer;
    }
    void showModal(platform::DialogModel& dialog) override {
        dialog.show();
        // The fields are typed into the dialog once it is open, after it has reset itself.
        for (auto it = dialogFields.begin(); it != dialogFields.end();) {
            if (it->dialog != &dialog) {
                ++it;
                continue;
            }
            it->fields->set(it->name, it->value);
            it = dialogFields.erase(it);
        }
        if (confirm && &dialog != alwaysCancelled) dialog.confirm();
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

// The option of a click or answer, with or without "=ARGUMENT" attached.
std::optional<Options::Action::Kind> ActionKind(const std::string& arg) {
    const std::string option = arg.substr(0, arg.find('='));
    if (option == "--row") return Options::Action::Kind::Row;
    if (option == "--pick") return Options::Action::Kind::Pick;
    if (option == "--click") return Options::Action::Kind::Click;
    if (option == "--answer") return Options::Action::Kind::Answer;
    return std::nullopt;
}

// A reason or message on one line of standard error.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// The modes that only look: nothing they do may write a file. --stop saves nothing either;
// it only ends the recorded server (and removes its record).
bool LooksOnly(Options::Mode mode) {
    return mode == Options::Mode::Dump || mode == Options::Mode::Check || mode == Options::Mode::Diff ||
           mode == Options::Mode::Status || mode == Options::Mode::Stop;
}

bool IsRunMode(Options::Mode mode) {
    return LooksOnly(mode) || mode == Options::Mode::Save || mode == Options::Mode::Start;
}

// A dialog whose fields --set fills when a --click opens it: "frmBans.IP=...".
struct DialogTarget {
    std::string prefix;
    platform::DialogModel* dialog;
    form::Form* fields;
};

}  // namespace

std::string UsageText() {
    return "Usage: tolvane [OPTIONS] [DIR]\n"
           "Edit the configuration of the Action Quake 2 server in the Quake 2 directory DIR\n"
           "(default: the current directory) and start the server.\n"
           "\n"
           "  --dump             run the start-up without a window, print every setting and exit\n"
           "  --set NAME=VALUE   after start-up, set the control NAME as typing would (repeatable);\n"
           "                     frmBans.NAME=VALUE, frmLoad.NAME=VALUE and frmSave.NAME=VALUE fill a\n"
           "                     field of that dialog when the next --click opens it\n"
           "  --row GRID=N       make row N (from 0) the current row of GRID, as a click would\n"
           "  --pick LIST=TEXT   choose the item TEXT of the drop-down LIST, as a click would\n"
           "  --click BUTTON     press BUTTON; a dialog it opens is confirmed (cancelled if it refuses)\n"
           "  --answer TEXT      answer the next input box with TEXT (none queued or empty: cancel)\n"
           "                     --set, --row, --pick, --click and --answer apply in the order given;\n"
           "                     every name is checked first: with a mistake nothing runs (exit 2)\n"
           "  --config NAME      switch to the configuration NAME first (the one left is not saved)\n"
           "  --check            print what the server would misread, one finding a line, then exit\n"
           "                     (1 when there are findings, 0 when none)\n"
           "  --diff             print what SAVE SETTINGS would change as a patch (apply it with\n"
           "                     patch -p1 in DIR), then exit (1 when there are changes, 0 when none)\n"
           "                     (--dump, --check and --diff never write a file)\n"
           "  --save             save every file as SAVE SETTINGS does, then exit (1 if a write failed)\n"
           "  --start            save as START SERVER does and start the server, then exit\n"
           "  --status           ask the server on the configured port for its status and print its\n"
           "                     map and players (1 when none answers within a second)\n"
           "  --stop             end the server a start recorded in action/tolvane-server.pid\n"
           "                     (1 when there is none)\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n";
}

Options ParseCommandLine(const std::vector<std::string>& args) {
    Options o;
    bool haveDir = false;
    // One run does one thing: "--save --dump" would leave it to the order which one.
    const auto runMode = [&o](Options::Mode mode, const std::string& option) {
        if (IsRunMode(o.mode) && o.mode != mode) {
            o.error = option + " cannot be combined with another of --dump, --check, --diff, --save, --start, "
                               "--status and --stop";
            return false;
        }
        if (o.mode != Options::Mode::Help && o.mode != Options::Mode::Version) o.mode = mode;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.mode = Options::Mode::Help;
        } else if (a == "--version") {
            if (o.mode != Options::Mode::Help) o.mode = Options::Mode::Version;
        } else if (a == "--dump" || a == "--check" || a == "--diff" || a == "--save" || a == "--start" ||
                   a == "--status" || a == "--stop") {
            const Options::Mode mode = a == "--dump"     ? Options::Mode::Dump
                                       : a == "--check"  ? Options::Mode::Check
                                       : a == "--diff"   ? Options::Mode::Diff
                                       : a == "--save"   ? Options::Mode::Save
                                       : a == "--status" ? Options::Mode::Status
                                       : a == "--stop"   ? Options::Mode::Stop
                                                         : Options::Mode::Start;
            if (!runMode(mode, a)) return o;
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
        } else if (const auto kind = ActionKind(a)) {
            std::string argument;
            const std::string option = a.substr(0, a.find('='));
            if (a.find('=') != std::string::npos) {
                argument = a.substr(a.find('=') + 1);
            } else if (i + 1 < args.size()) {
                argument = args[++i];
            } else {
                o.error = option + " needs an argument";
                return o;
            }
            Options::Action action{*kind, {}, argument, o.sets.size()};
            if (*kind != Options::Action::Kind::Click && *kind != Options::Action::Kind::Answer) {
                const auto eq = argument.find('=');
                if (eq == std::string::npos || eq == 0) {
                    o.error = option + " needs NAME=VALUE, not \"" + argument + "\"";
                    return o;
                }
                action.name = argument.substr(0, eq);
                action.value = argument.substr(eq + 1);
            } else if (*kind == Options::Action::Kind::Click) {
                action.name = argument;
                action.value.clear();
            }
            o.actions.push_back(action);
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
    const bool looksOnly = LooksOnly(options.mode);
    if (looksOnly) {
        // From here on every write is refused, whatever a click or pick sets off; the save
        // dialog a switch of configuration opens is cancelled, as the one being left is not
        // to be saved.
        editor.state.noWrites = true;
        dialogs.alwaysCancelled = &editor.frmSave;
    }

    const std::vector<DialogTarget> dialogTargets = {
        {"frmBans.", &editor.frmBans, &editor.frmBans.fields},
        {"frmLoad.", &editor.frmLoad, &editor.frmLoad.fields},
        {"frmSave.", &editor.frmSave, &editor.frmSave.fields},
    };
    const auto dialogOf = [&](const std::string& name) -> const DialogTarget* {
        for (const DialogTarget& t : dialogTargets)
            if (name.rfind(t.prefix, 0) == 0) return &t;
        return nullptr;
    };

    // Every name (and every value that would be refused whatever runs before it) is checked
    // before anything runs: a mistake found half-way would leave files written by the steps
    // before it.
    int status = 0;
    std::vector<bool> setValid(options.sets.size(), true);
    for (std::size_t i = 0; i < options.sets.size(); ++i) {
        const auto& [name, value] = options.sets[i];
        const DialogTarget* target = dialogOf(name);
        const std::string problem = target ? target->fields->checkSet(name.substr(target->prefix.size()), value)
                                           : editor.form.checkSet(name, value);
        if (problem.empty()) continue;
        err << "tolvane: --set " << name << ": " << OneLine(problem) << '\n';
        setValid[i] = false;
        status = 2;
    }
    for (const auto& action : options.actions) {
        std::string problem;
        switch (action.kind) {
            case Options::Action::Kind::Row: problem = editor.form.checkSelectRow(action.name, action.value); break;
            case Options::Action::Kind::Pick: problem = editor.form.checkPick(action.name); break;
            case Options::Action::Kind::Click: problem = editor.form.checkClick(action.name); break;
            case Options::Action::Kind::Answer:
                // An input box holds one line, as a one-line field does.
                if (action.value.find_first_of("\r\n") != std::string::npos)
                    problem = "an answer cannot hold a line break";
                break;
        }
        if (problem.empty()) continue;
        err << "tolvane: " << (action.kind == Options::Action::Kind::Answer ? "--answer" : action.name) << ": "
            << OneLine(problem) << '\n';
        status = 2;
    }
    std::string configName;
    if (!options.config.empty()) {
        // Names are matched ignoring case, as the registry matches them.
        const auto listed = registry::ListedConfigName(editor.main.ConfigNameList, options.config);
        if (!listed) {
            err << "tolvane: no configuration named " << options.config << '\n';
            return 2;
        }
        configName = *listed;
    }
    // With a mistake, nothing runs; a dump still shows the state with the settings that could
    // be made (no button is pressed and nothing is picked).
    if (status != 0 && options.mode != Options::Mode::Dump) return status;

    if (!configName.empty()) {
        // A pick in the list: the save dialog that offers to save the one being left is
        // cancelled.
        dialogs.confirm = false;
        editor.main.ConfigNameList.selectText(configName);
    }
    bool running = status == 0;
    // A step that fails stops the run: no button is pressed and nothing is picked after it,
    // as either could save files. A dump still makes the remaining settings, to show them.
    const auto fail = [&](int code) {
        if (status == 0) status = code;
        running = false;
        dialogs.confirm = false;
    };
    std::size_t setsDone = 0;
    auto applySets = [&](std::size_t upTo) {
        for (; setsDone < upTo && setsDone < options.sets.size(); ++setsDone) {
            if (!setValid[setsDone] || (!running && options.mode != Options::Mode::Dump)) continue;
            const auto& [name, value] = options.sets[setsDone];
            std::string problem;
            if (const DialogTarget* target = dialogOf(name)) {
                // Typed into the dialog when it opens, after it has reset itself.
                const std::string field = name.substr(target->prefix.size());
                dialogs.dialogFields.push_back({target->dialog, target->fields, field, value});
            } else {
                problem = editor.form.set(name, value);
            }
            if (!problem.empty()) {
                err << "tolvane: --set " << name << ": " << OneLine(problem) << '\n';
                fail(2);
            }
        }
    };
    dialogs.confirm = running;
    for (const auto& action : options.actions) {
        applySets(action.setsBefore);
        if (!running) continue;
        std::string problem;
        switch (action.kind) {
            case Options::Action::Kind::Row: problem = editor.form.selectRow(action.name, action.value); break;
            case Options::Action::Kind::Pick: problem = editor.form.pick(action.name, action.value); break;
            case Options::Action::Kind::Click:
                if (action.name == editor.main.ButtonLoad.name()) {
                    // NEW CONFIG: its dialog makes the configuration, or refuses and is
                    // cancelled; a refusal ends the run.
                    const form::Button& button = editor.main.ButtonLoad;
                    if (!button.enabled() || !button.visible()) {
                        problem = "the button " + action.name + " cannot be pressed now";
                    } else if (!editor.ButtonLoad_Click()) {
                        err << "tolvane: " << action.name << ": no new configuration was made\n";
                        fail(1);
                    }
                } else {
                    problem = editor.form.click(action.name);
                }
                break;
            case Options::Action::Kind::Answer: dialogs.answers.push_back(action.value); break;
        }
        if (!problem.empty()) {
            err << "tolvane: " << action.name << ": " << OneLine(problem) << '\n';
            fail(2);
        }
    }
    applySets(options.sets.size());
    dialogs.confirm = false;
    if (options.mode == Options::Mode::Dump) {
        editor.Dump(out);
        return status;
    }
    // Nothing is saved or started when a requested change could not be made.
    if (status != 0) return status;
    return RunHeadlessMode(options.mode, editor, dialogs.confirm, out, err);
}

}  // namespace tolvane::app
