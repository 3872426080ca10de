#include "check/Finding.h"

namespace tolvane::check {

std::string FindingLine(const Finding& finding) {
    std::string file = finding.file;
#ifndef _WIN32
    for (char& c : file)
        if (c == '\\') c = '/';
#endif
    return file + ": " + finding.field + ": " + finding.message;
}

}  // namespace tolvane::check
