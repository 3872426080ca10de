// Measures start-up and a full save on a large generated Quake 2 directory and prints the
// figures (wall time per run and peak memory). Usage: startup_bench [RUNS]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/Editor.h"

namespace {

using namespace tolvane;

class QuietDialogs : public platform::Dialogs {
public:
    void message(const std::string&, const std::string&) override {}
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void showModal(platform::DialogModel& d) override {
        d.show();
        d.confirm();
        if (d.visible()) d.closedByFrame();
    }
};

class NoLaunch : public platform::ProcessLauncher {
public:
    bool start(const std::string&, platform::WindowMode, std::string&) override { return true; }
};

void Write(const std::filesystem::path& p, const std::string& s) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << s;
}

// A directory far larger than any real server's: 3000 loose maps, 150 models with 20 skins,
// 400 configurations, a 20000-line server.cfg and a 2000-line MOTD.
void Generate(const std::filesystem::path& root) {
    for (int i = 0; i < 1500; ++i) {
        Write(root / "action/maps" / ("map" + std::to_string(i) + ".bsp"), "IBSP");
        Write(root / "baseq2/maps" / ("base" + std::to_string(i) + ".bsp"), "IBSP");
    }
    for (int m = 0; m < 150; ++m)
        for (int s = 0; s < 20; ++s)
            Write(root / "baseq2/players" / ("model" + std::to_string(m)) / ("skin" + std::to_string(s) + ".pcx"), "P");
    std::string ini = "\"cfg399\"\r\n";
    for (int c = 0; c < 400; ++c)
        ini += "\"cfg" + std::to_string(c) + "\",\"cfg" + std::to_string(c) + ".cfg\",\"action.ini\",\"+set x 1\"\r\n";
    Write(root / "action/tolvane.ini", ini);
    std::string cfg;
    for (int i = 0; i < 20000; ++i) cfg += "set custom" + std::to_string(i) + " " + std::to_string(i) + "\r\n";
    cfg += "set fraglimit 20\r\nhostname \"Big Server\"\r\n";
    Write(root / "action/cfg399.cfg", cfg);
    std::string motd;
    for (int i = 0; i < 2000; ++i) motd += "Welcome line " + std::to_string(i) + "\r\n";
    Write(root / "action/motd.txt", motd);
}

long PeakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto root = std::filesystem::temp_directory_path() / "tolvane-bench";
    std::filesystem::remove_all(root);
    Generate(root);
    platform::FileSystem fs(root);
    QuietDialogs dialogs;
    platform::NullProgress progress;
    NoLaunch launcher;
    double startTotal = 0, saveTotal = 0;
    for (int r = 0; r < runs; ++r) {
        app::Editor editor(fs, dialogs, progress, launcher);
        const auto t0 = std::chrono::steady_clock::now();
        editor.StartUp();
        const auto t1 = std::chrono::steady_clock::now();
        editor.mainWindowVisible = true;
        editor.ButtonSave_Click();
        const auto t2 = std::chrono::steady_clock::now();
        startTotal += std::chrono::duration<double, std::milli>(t1 - t0).count();
        saveTotal += std::chrono::duration<double, std::milli>(t2 - t1).count();
        if (r == 0)
            std::printf("models listed: %d, configurations listed: %d\n",
                        editor.teams.Team1Model.count(), editor.main.ConfigNameList.count());
    }
    std::printf("start-up: %.1f ms per run (%d runs)\n", startTotal / runs, runs);
    std::printf("save:     %.1f ms per run\n", saveTotal / runs);
    std::printf("peak memory: %ld KiB\n", PeakKiB());
    std::filesystem::remove_all(root);
    return 0;
}
