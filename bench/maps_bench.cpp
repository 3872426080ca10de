// Map discovery on generated installs far beyond any real server. For each size it prints the
// editor's start-up time and the raw floor measured in the same run on the same files (only
// listing the directories and reading the archive directories and map lists into memory, with
// no processing), and their ratio. Usage: maps_bench [RUNS] [--keep]
// --keep leaves the generated installs in the temporary directory and reuses them next time.
// Each start-up runs in a process of its own, as the program's does: a start-up after another
// in the same process would find the memory its predecessor freed and touch no fresh pages.
#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/Editor.h"
#include "maps/PakFormat.h"
#include "ChildOutput.h"
#include "GeneratedInstall.h"

namespace {

using namespace tolvane;
using bench::Generate;
using bench::Install;
using bench::Write;
namespace stdfs = std::filesystem;

class QuietDialogs : public platform::Dialogs {
public:
    void message(const std::string&, const std::string&) override {}
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void showModal(platform::DialogModel& d) override { d.hide(); }
};

class NoLaunch : public platform::ProcessLauncher {
public:
    bool start(const std::string&, platform::WindowMode, std::string&) override { return true; }
};

// Records when each progress text appears, so a run can show where its time went.
class TimedProgress : public platform::Progress {
public:
    std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> marks;
    void show(const std::string& text) override { marks.emplace_back(text, std::chrono::steady_clock::now()); }
    void hide() override { marks.emplace_back("", std::chrono::steady_clock::now()); }
};

// The floor: list the directories and read every archive's header and directory and the map
// lists into memory, nothing more.
std::size_t RawFloor(const stdfs::path& root) {
    std::size_t bytes = 0;
    std::vector<std::string> archives;
    for (const char* dir : {"action/maps", "baseq2/maps", "action", "baseq2"}) {
        DIR* d = ::opendir((root / dir).c_str());
        if (!d) continue;
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            bytes += name.size();
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pak") == 0)
                archives.push_back((root / dir / name).string());
        }
        ::closedir(d);
    }
    std::string buffer;
    for (const auto& path : archives) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) continue;
        char header[12];
        if (std::fread(header, 1, 12, f) == 12) {
            const auto span = maps::LocatePakDirectory(std::string_view(header, 12), stdfs::file_size(path));
            if (span) {
                buffer.resize(span->length);
                std::fseek(f, static_cast<long>(span->offset), SEEK_SET);
                bytes += std::fread(buffer.data(), 1, buffer.size(), f);
            }
        }
        std::fclose(f);
    }
    for (const char* list : {"action/maps.lst", "baseq2/maps.lst"}) {
        std::ifstream in(root / list, std::ios::binary);
        buffer.assign(std::istreambuf_iterator<char>(in), {});
        bytes += buffer.size();
    }
    return bytes;
}

// Pages the process touched for the first time (each costs the system a fault).
long MinorFaults() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// What one start-up measured: its time, the pages it touched first, the grids' sizes and the
// time spent under each progress text.
struct StartUpRun {
    double ms = 0;
    long faults = 0;
    int available = 0, rotation = 0, catalogue = 0;
    std::map<std::string, double> steps;
};

StartUpRun StartUpOnce(platform::FileSystem& files) {
    QuietDialogs dialogs;
    TimedProgress progress;
    NoLaunch launcher;
    // A fresh editor, as the program starts: the rotation comes from action.ini.
    app::Editor editor(files, dialogs, progress, launcher);
    StartUpRun run;
    const long faultsBefore = MinorFaults();
    const auto start = std::chrono::steady_clock::now();
    editor.StartUp();
    const auto end = std::chrono::steady_clock::now();
    run.faults = MinorFaults() - faultsBefore;
    run.ms = Ms(end - start);
    run.available = editor.mapFields.MapDir.rowCount();
    run.rotation = editor.mapFields.MapIni.rowCount();
    run.catalogue = editor.mapFields.MapList.rowCount();
    // Where the time went, by the progress text shown (the archives summed). Work done while
    // no text is shown (the base map list, the duplicate merge, the small files) is summed on
    // its own line.
    const auto& m = progress.marks;
    for (std::size_t i = 0; i < m.size(); ++i) {
        std::string step = m[i].first.empty() ? "(no progress text shown)" : m[i].first;
        if (step.rfind("Scanning", 0) == 0) step = "Scanning archives";
        run.steps[step] += Ms((i + 1 < m.size() ? m[i + 1].second : end) - m[i].second);
    }
    if (!m.empty()) run.steps["(no progress text shown)"] += Ms(m.front().second - start);
    return run;
}

// Runs StartUpOnce in a child process and reads its figures back through a pipe, one value a
// line (the step names hold no line breaks).
StartUpRun StartUpInFreshProcess(platform::FileSystem& files) {
    int fds[2];
    if (::pipe(fds) != 0) std::exit(1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const StartUpRun run = StartUpOnce(files);
        std::ostringstream out;
        out << run.ms << '\n' << run.faults << '\n' << run.available << '\n' << run.rotation << '\n' << run.catalogue << '\n';
        for (const auto& [step, ms] : run.steps) out << step << '\n' << ms << '\n';
        const std::string text = out.str();
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t n = ::write(fds[1], text.data() + written, text.size() - written);
            if (n <= 0) ::_exit(1);
            written += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    const std::string text = bench::ReadToEnd(fds[0]);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the start-up process failed\n");
        std::exit(1);
    }
    std::istringstream in(text);
    StartUpRun run;
    in >> run.ms >> run.faults >> run.available >> run.rotation >> run.catalogue;
    in.ignore(1);
    for (std::string step, ms; std::getline(in, step) && std::getline(in, ms);) run.steps[step] = std::stod(ms);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const bool keep = argc > 2 && std::string(argv[2]) == "--keep";
    std::printf("%-8s %-10s %-9s %-10s %-14s %-12s %-6s\n", "maps", "available", "rotation", "catalogue", "start-up (ms)",
                "floor (ms)", "ratio");
    for (int scale : {1, 2}) {
        const auto root = stdfs::temp_directory_path() / ("tolvane-maps-bench-" + std::to_string(scale));
        if (!keep) stdfs::remove_all(root);
        // Generating is deterministic: a kept install is the same one again.
        const stdfs::path marker = root / "generated";
        const bool reuse = keep && stdfs::exists(marker);
        const Install install = Generate(root, scale, !reuse);
        if (keep) Write(marker, "");
        platform::FileSystem files(root);
        std::vector<double> startUp, floor, ratios;
        StartUpRun last;
        RawFloor(root);  // warm the caches for both
        for (int r = 0; r < runs; ++r) {
            const auto t0 = std::chrono::steady_clock::now();
            RawFloor(root);
            floor.push_back(Ms(std::chrono::steady_clock::now() - t0));
            last = StartUpInFreshProcess(files);
            startUp.push_back(last.ms);
            // Each start-up against the floor measured just before it, so a machine whose speed
            // drifts during the run does not skew the ratio.
            ratios.push_back(startUp.back() / floor.back());
        }
        const double s = Median(startUp), f = Median(floor);
        std::printf("%-8d %-10d %-9d %-10d %-14.1f %-12.1f %-6.2f\n", install.maps, last.available, last.rotation,
                    last.catalogue, s, f, Median(ratios));
        // Where the last run's time went.
        for (const auto& [step, ms] : last.steps) std::printf("    %-40s %8.1f ms\n", step.c_str(), ms);
        std::printf("    %-40s %8ld\n", "memory pages first touched", last.faults);
        if (!keep) stdfs::remove_all(root);
    }
    std::printf("(medians of %d runs each, caches warm, each start-up in a fresh process; the ratio is the median of each\n"
                " run's start-up over its floor)\n",
                runs);
    return 0;
}
