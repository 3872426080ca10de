// Entries that are not regular files where a file is read or locked: a pipe or a device is
// refused at once, never opened to wait for a writer or read without end.
#ifndef _WIN32  // pipes and devices at a file's name are what other hosts give

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "platform/FileLock.h"
#include "platform/ReadOnlyFile.h"
#include "support/TestSupport.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::FileSystem;

// Runs `f` in a child process that is stopped after a few seconds, and gives back what it
// wrote; nothing when it hung (or died).
std::optional<std::string> RunInChild(const std::function<std::string()>& f) {
    int out[2];
    if (::pipe(out) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        ::close(out[0]);
        ::alarm(5);
        const std::string text = f();
        const ssize_t written = ::write(out[1], text.data(), text.size());
        ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    ::close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

TEST(SpecialFiles, PipesAndDevicesAreRefusedAsNotRegularFiles) {
    test::TempDir dir;
    dir.mkdir("baseq2");
    ASSERT_EQ(::mkfifo((dir.path() / "baseq2/maps.lst").c_str(), 0600), 0);
    fs::create_symlink(dir.path() / "baseq2/maps.lst", dir.path() / "baseq2/linked.lst");
    fs::create_symlink("/dev/zero", dir.path() / "baseq2/endless.lst");  // reads never end
    const FileSystem files(dir.path());

    const auto outcome = RunInChild([&] {
        std::string report, content, error, part;
        for (const char* path : {"baseq2\\maps.lst", "baseq2\\linked.lst", "baseq2\\endless.lst"}) {
            const platform::ReadResult read = files.readFile(path, content, error);
            report += std::string(path) + ": " + (read.failed() ? "failed" : "not failed") + " (" + error + ")";
            report += files.readAt(path, 0, 12, part) ? ", read at" : "";
            report += platform::ReadOnlyFile(files.resolve(path)).isOpen() ? ", opened" : "";
            report += files.examine(path).kind == platform::FileRecord::Kind::Unreadable ? "" : ", examined as a file";
            report += files.readFailure(path) ? "" : ", not remembered";
            report += "\n";
        }
        return report;
    });
    ASSERT_TRUE(outcome) << "a read hung or ran without end";
    EXPECT_EQ(*outcome,
              "baseq2\\maps.lst: failed (not a regular file)\n"
              "baseq2\\linked.lst: failed (not a regular file)\n"
              "baseq2\\endless.lst: failed (not a regular file)\n");
}

TEST(SpecialFiles, APipeAtTheLockFileIsRefused) {
    test::TempDir dir;
    const fs::path lock = dir.path() / "tolvane.lock";
    ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0);
    const auto outcome = RunInChild([&] {
        platform::FileLock held;
        std::string error;
        const auto result = held.acquire(lock, 0ms, error);
        return std::string(result == platform::FileLock::Result::Failed ? "failed: " : "taken: ") + error;
    });
    ASSERT_TRUE(outcome) << "taking the lock hung";
    EXPECT_EQ(*outcome, "failed: not a regular file");
    EXPECT_TRUE(fs::is_fifo(lock));
}

}  // namespace
}  // namespace tolvane

#endif
