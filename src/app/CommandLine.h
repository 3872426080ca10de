#pragma once
// The operator's command line: `tolvane [DIR]` opens the editor on DIR (default: the current
// directory); `--dump` runs the start-up sequence without a window and prints the state;
// `--set Name=value` (repeatable) changes a control after start-up as typing would.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tolvane::app {

struct Options {
    enum class Mode { Window, Dump, Help, Version } mode = Mode::Window;
    std::string directory = ".";
    std::vector<std::pair<std::string, std::string>> sets;
    std::string error;  // non-empty when the arguments could not be understood
};

Options ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// Runs a mode that needs no window; returns the process exit code. Messages the program would
// show go to `err` as one line each, "message: TEXT".
int RunHeadless(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace tolvane::app
