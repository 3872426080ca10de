#pragma once
// The operator's command line: `tolvane [DIR]` opens the editor on DIR (default: the current
// directory); `--dump` runs the start-up sequence without a window and prints the state;
// `--set Name=value` (repeatable) changes a control after start-up as typing would;
// `--config NAME` switches configuration first, as a pick in the list would, without saving the
// one being left; `--save` does what SAVE SETTINGS does with the save dialog confirmed;
// `--start` does what START SERVER does.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/Process.h"

namespace tolvane::app {

struct Options {
    enum class Mode { Window, Dump, Save, Start, Help, Version } mode = Mode::Window;
    std::string config;  // --config NAME
    std::string directory = ".";
    std::vector<std::pair<std::string, std::string>> sets;
    std::string error;  // non-empty when the arguments could not be understood
};

Options ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// Runs a mode that needs no window; returns the process exit code. Messages the program would
// show go to `err` as one line each, "message: TEXT".
// `launcher` starts the server for --start (the real one in the program, a recorder in tests);
// other modes start nothing.
int RunHeadless(const Options& options, std::ostream& out, std::ostream& err,
                platform::ProcessLauncher* launcher = nullptr);

}  // namespace tolvane::app
