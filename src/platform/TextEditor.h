#pragma once
// The user's text editor. The program's command lines name it "notepad.exe" followed by a file,
// which Notepad takes whole, blanks included. On Windows Notepad itself runs. Elsewhere the file
// opens in the desktop's default application for it (xdg-open), or, with no desktop to ask,
// in the editor named by VISUAL or EDITOR; either way started directly, never through a shell.
#include <optional>
#include <string>
#include <vector>

namespace tolvane::platform {

// True for the program name that stands for the text editor ("notepad.exe" or "notepad", in
// any letter case).
bool IsTextEditorProgram(const std::string& program);

// The file of an editor command line: everything after the program name and the blanks that
// follow it, as Notepad reads it. A name enclosed in double quotes loses them.
std::string EditorFileArgument(const std::string& commandLine);

// What decides the editor: a graphical session, the search path and the two variables.
struct EditorEnvironment {
    bool desktop = false;  // DISPLAY or WAYLAND_DISPLAY is set
    std::string path;      // PATH
    std::string visual;    // VISUAL
    std::string editor;    // EDITOR
    static EditorEnvironment Current();
};

struct EditorChoice {
    std::string program;             // the file to run
    std::vector<std::string> args;   // as the program is given them: its name first, the file last
    bool opener = false;             // the desktop opener, which needs the file to exist
};

// How to open file (a full host path). Nothing, with the reason in error, when no editor can
// be found. VISUAL and EDITOR may hold arguments after the program ("code --wait"); they are
// split at blanks, and double quotes group a path with blanks.
std::optional<EditorChoice> ChooseTextEditor(const EditorEnvironment& env, const std::string& file, std::string& error);

}  // namespace tolvane::platform
