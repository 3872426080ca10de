#include "platform/TextEditor.h"

#include "platform/ProcessSupport.h"

#include <cstdlib>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

#ifndef _WIN32
// The words of VISUAL or EDITOR: split at blanks, double quotes group (a program path with
// blanks can be quoted); nothing else is interpreted.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) break;
        std::string word;
        bool inQuotes = false;
        for (; i < text.size() && (inQuotes || !isBlank(text[i])); ++i) {
            if (text[i] == '"') inQuotes = !inQuotes;
            else word += text[i];
        }
        out.push_back(std::move(word));
    }
    return out;
}

bool runnable(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
}

// A program named with a directory is taken as written; a bare name is searched on the path
// (absolute entries only, so the result never depends on the current directory).
std::optional<std::string> findProgram(const std::string& name, const std::string& path) {
    if (name.find('/') != std::string::npos) {
        if (runnable(name)) return name;
        return std::nullopt;
    }
    for (const auto& dir : detail::SearchPathDirectories(path)) {
        const std::string candidate = dir + "/" + name;
        if (runnable(candidate)) return candidate;
    }
    return std::nullopt;
}
#endif

}  // namespace

bool IsTextEditorProgram(const std::string& program) {
    const std::string name = lower(program);
    return name == "notepad.exe" || name == "notepad";
}

std::string EditorFileArgument(const std::string& commandLine) {
    std::size_t i = 0;
    while (i < commandLine.size() && isBlank(commandLine[i])) ++i;
    // The program name, quoted or not.
    bool inQuotes = false;
    for (; i < commandLine.size(); ++i) {
        if (commandLine[i] == '"') inQuotes = !inQuotes;
        else if (!inQuotes && isBlank(commandLine[i])) break;
    }
    while (i < commandLine.size() && isBlank(commandLine[i])) ++i;
    std::string file = commandLine.substr(i);
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    return file;
}

EditorEnvironment EditorEnvironment::Current() {
    const auto get = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    EditorEnvironment env;
    env.desktop = !get("DISPLAY").empty() || !get("WAYLAND_DISPLAY").empty();
    env.path = get("PATH");
    env.visual = get("VISUAL");
    env.editor = get("EDITOR");
    return env;
}

std::optional<EditorChoice> ChooseTextEditor(const EditorEnvironment& env, const std::string& file, std::string& error) {
#ifdef _WIN32
    (void)env;
    (void)error;
    EditorChoice choice{"notepad.exe", {"notepad.exe", file}, false};
    return choice;
#else
    if (env.desktop) {
        if (const auto opener = findProgram("xdg-open", env.path))
            return EditorChoice{*opener, {"xdg-open", file}, true};
    }
    // Without a desktop opener the conventional variables name the editor, VISUAL first.
    for (const auto& [variable, value] : {std::pair<const char*, const std::string&>{"VISUAL", env.visual},
                                          std::pair<const char*, const std::string&>{"EDITOR", env.editor}}) {
        std::vector<std::string> args = words(value);
        if (args.empty()) continue;
        const auto program = findProgram(args[0], env.path);
        if (!program) {
            error = args[0] + " (named by " + variable + "): not found";
            return std::nullopt;
        }
        args.push_back(file);
        return EditorChoice{*program, std::move(args), false};
    }
    error = env.desktop ? "no text editor found: xdg-open is not installed, and neither VISUAL nor EDITOR is set"
                        : "no text editor found: there is no desktop session, and neither VISUAL nor EDITOR is set";
    return std::nullopt;
#endif
}

}  // namespace tolvane::platform
