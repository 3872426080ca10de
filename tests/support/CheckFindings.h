#pragma once
// Looking into the check's findings in tests.
#include <string>

#include "check/Check.h"

namespace tolvane::check {

// The findings on `field` whose message holds `text`.
inline int Count(const Findings& findings, const std::string& field, const std::string& text = {}) {
    int n = 0;
    for (const auto& f : findings)
        if (f.field == field && f.message.find(text) != std::string::npos) ++n;
    return n;
}

// Every finding, a line each, for failure output.
inline std::string Dump(const Findings& findings) {
    std::string out;
    for (const auto& f : findings) out += FindingLine(f) + "\n";
    return out;
}

}  // namespace tolvane::check
