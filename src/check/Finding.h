#pragma once
// One thing the game server would misread in the configuration as it would be saved: the file,
// the field or line it comes from, and what the server will do with it and how to fix it.
#include <string>
#include <vector>

namespace tolvane::check {

struct Finding {
    std::string file;     // Windows-style path below the Quake 2 directory ("action\\server.cfg")
    std::string field;    // the control's name ("HostName"), or "line 12", or a short description
    std::string message;  // what the server will do, then how to fix it
    // The control the window focuses for this finding (its object name); empty when the finding
    // names no control, such as a line the editor does not own.
    std::string control;
};

using Findings = std::vector<Finding>;

// "file: field: message", the file with the host's separator.
std::string FindingLine(const Finding& finding);

}  // namespace tolvane::check
