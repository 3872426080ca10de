#pragma once
// The operator's command line: `tolvane [DIR]` opens the editor on DIR (default: the current
// directory); `--dump` runs the start-up sequence without a window and prints the state;
// `--set Name=value` (repeatable) changes a control after start-up as typing would;
// `--config NAME` switches configuration first, as a pick in the list would, without saving the
// one being left; `--save` does what SAVE SETTINGS does with the save dialog confirmed;
// `--start` does what START SERVER does; `--check` prints what the server would misread;
// `--diff` prints as a patch what SAVE SETTINGS would change; `--status` asks the server at the
// configured port how it is; `--stop` ends the server a start recorded. `--row GRID=N`, `--pick LIST=TEXT`,
// `--click BUTTON` and `--answer TEXT` do what a user's clicks and typed answers would, in the
// order given. Every name is checked before the first step runs; --dump, --check and --diff
// never write a file.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/Process.h"

namespace tolvane::app {

struct Options {
    enum class Mode { Window, Dump, Check, Diff, Save, Start, Status, Stop, Help, Version } mode = Mode::Window;
    std::string config;  // --config NAME
    std::string directory = ".";
    std::vector<std::pair<std::string, std::string>> sets;
    // The clicks and answers, in the order given; each knows how many --set came before it, so
    // that the two lists together keep the command line's order.
    struct Action {
        enum class Kind { Row, Pick, Click, Answer } kind;
        std::string name;   // the grid, list or button (empty for an answer)
        std::string value;  // the row number, the item's text or the answer
        std::size_t setsBefore = 0;
    };
    std::vector<Action> actions;
    std::string error;  // non-empty when the arguments could not be understood
};

// At most one of --dump, --check, --diff, --save and --start may be given.
Options ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// Runs a mode that needs no window; returns the process exit code: 2 for a name that does not
// exist or a value that would be refused (nothing is then run), 1 for a failed write, a NEW
// CONFIG that was refused, findings of --check, or changes --diff found. Messages the program
// would show go to `err` as one line each, "message: TEXT".
// `launcher` starts the server for --start (the real one in the program, a recorder in tests);
// other modes start nothing.
int RunHeadless(const Options& options, std::ostream& out, std::ostream& err,
                platform::ProcessLauncher* launcher = nullptr);

}  // namespace tolvane::app
