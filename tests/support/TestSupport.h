#pragma once
// Shared test helpers: a fresh temporary Quake 2 directory per test, a scripted stand-in for
// the message and input boxes and modal dialogs, and a recording progress display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "state/AppState.h"

namespace tolvane::test {

// A temporary directory removed when the test ends. Paths given to write/read are host
// relative paths with forward slashes ("action/server.cfg").
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("tolvane-test-" + std::to_string(rd()));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void mkdir(const std::string& rel) const { std::filesystem::create_directories(path_ / rel); }
    void write(const std::string& rel, const std::string& bytes) const {
        const auto p = path_ / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::string read(const std::string& rel) const {
        std::ifstream in(path_ / rel, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool exists(const std::string& rel) const { return std::filesystem::exists(path_ / rel); }

private:
    std::filesystem::path path_;
};

// Records every message; answers input boxes from a queue and runs modal dialogs through
// scripted steps. An input box or dialog that nothing was queued for fails the test.
class ScriptedDialogs : public platform::Dialogs {
public:
    struct Message {
        std::string text;
        std::string title;
    };
    std::vector<Message> messages;
    std::deque<std::optional<std::string>> inputAnswers;
    std::vector<std::string> prompts;
    // Each modal dialog shown takes the next step; the step edits the model and presses its
    // buttons. When the model is still visible afterwards it is closed by its window frame.
    std::deque<std::function<void(platform::DialogModel&)>> dialogSteps;
    // Called for every message as it is shown (lets a test act while a message is up).
    std::function<void(const std::string&)> onMessage;
    // Answers of questions with buttons (index of the button pressed, nothing for a closed
    // box); a question nothing was queued for fails the test. Every question asked is kept.
    std::deque<std::optional<std::size_t>> askAnswers;
    std::vector<std::string> questions;

    void message(const std::string& text, const std::string& title) override {
        messages.push_back({text, title});
        if (onMessage) onMessage(text);
    }
    std::optional<std::string> input(const std::string& prompt, const std::string&,
                                     const std::string&) override {
        prompts.push_back(prompt);
        if (inputAnswers.empty()) {
            ADD_FAILURE() << "unexpected input box: " << prompt;
            return std::nullopt;
        }
        auto a = inputAnswers.front();
        inputAnswers.pop_front();
        return a;
    }
    void showModal(platform::DialogModel& dialog) override {
        dialog.show();
        if (dialogSteps.empty()) {
            ADD_FAILURE() << "unexpected modal dialog";
            dialog.closedByFrame();
            return;
        }
        auto step = dialogSteps.front();
        dialogSteps.pop_front();
        step(dialog);
        if (dialog.visible()) dialog.closedByFrame();
    }
    std::optional<std::size_t> ask(const std::string& text, const std::string&,
                                   const std::vector<std::string>&) override {
        questions.push_back(text);
        if (askAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return std::nullopt;
        }
        auto a = askAnswers.front();
        askAnswers.pop_front();
        return a;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages) t.push_back(m.text);
        return t;
    }
};

class RecordingProgress : public platform::Progress {
public:
    std::vector<std::string> shown;
    int hides = 0;
    bool visible = false;
    void show(const std::string& text) override {
        shown.push_back(text);
        visible = true;
    }
    void hide() override {
        ++hides;
        visible = false;
    }
};

class RecordingLauncher : public platform::ProcessLauncher {
public:
    std::vector<std::string> commandLines;
    bool fail = false;
    // What lastStarted() tells; empty and 0: the launcher cannot tell.
    std::string program;
    long long processId = 0;
    bool start(const std::string& commandLine, platform::WindowMode, std::string& error) override {
        commandLines.push_back(commandLine);
        if (fail) error = "not found";
        return !fail;
    }
    Started lastStarted() const override { return {program, processId}; }
};

// A path as messages name it on this system ("action/server.cfg"; on Windows "action\\server.cfg").
inline std::string HostPath(std::string path) {
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

// A fresh Quake 2 directory with the core's context over it: scripted dialogs, recorded
// progress and a new application state.
struct CoreFixture : ::testing::Test {
    TempDir dir;
    platform::FileSystem fs{dir.path()};
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    AppState state;
    Context ctx{fs, dialogs, progress, state};
};

// Folder of real configuration files gathered from public server repositories, beside the
// checkout (or where TOLVANE_CORPUS_DIR points, for a checkout kept elsewhere); empty when absent.
inline std::filesystem::path CorpusDir() {
    if (const char* env = std::getenv("TOLVANE_CORPUS_DIR"); env && *env)
        return std::filesystem::is_directory(env) ? std::filesystem::path(env) : std::filesystem::path();
    const std::filesystem::path p = std::filesystem::path(TOLVANE_SOURCE_DIR) / ".." / "shared" / "corpus";
    return std::filesystem::is_directory(p) ? p : std::filesystem::path();
}

}  // namespace tolvane::test
