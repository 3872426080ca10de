// Tolvane: configuration editor and launcher for Action Quake 2 servers.
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Editor.h"
#include "ui/RunGui.h"

int main(int argc, char** argv) {
    using tolvane::app::Options;
    const Options options = tolvane::app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::cerr << "tolvane: " << options.error << "\n\n" << tolvane::app::UsageText();
        return 2;
    }
    switch (options.mode) {
        case Options::Mode::Help:
            std::cout << tolvane::app::UsageText();
            return 0;
        case Options::Mode::Version:
            std::cout << "Tolvane " << tolvane::app::VersionText() << '\n';
            return 0;
        case Options::Mode::Dump:
        case Options::Mode::Check:
        case Options::Mode::Diff:
        case Options::Mode::Status:
        case Options::Mode::Stop:
        case Options::Mode::Save:
            return tolvane::app::RunHeadless(options, std::cout, std::cerr);
        case Options::Mode::Start: {
            tolvane::platform::SystemProcessLauncher launcher(options.directory);
            return tolvane::app::RunHeadless(options, std::cout, std::cerr, &launcher);
        }
        case Options::Mode::Window:
            break;
    }
    return tolvane::ui::RunGui(argc, argv, options.directory);
}
