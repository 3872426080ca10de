#pragma once
// The message-of-the-day file as text. The box shows the file exactly as it is; the file is
// written with CR LF line ends and one line end after the last line. Motd is the file shell.
#include <string>

namespace tolvane {

// The box's text for the file's content: the content itself, line ends included.
inline std::string ParseMotd(const std::string& content) { return content; }

// The file's content for the box's text: every line end (CR LF, a lone CR or a lone LF, as
// the window's text box may give any of them) written as CR LF, and one CR LF added unless the
// text already ends with a line end, so loading and saving again never grows the file.
std::string BuildMotd(const std::string& text);

}  // namespace tolvane
