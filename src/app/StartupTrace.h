#pragma once
// A developer's trace of the start-up steps that fail and are passed over. Users never see it:
// it is written only when the environment holds TOLVANE_TRACE=1, one line per failure on
// standard error.
#include <exception>

namespace tolvane::app {

bool StartupTraceOn();
// Writes the line for a failed step at `where`; failure is the exception caught (or null when
// it was not a std::exception).
// (The place is a file and a line rather than std::source_location, which the clang of the fuzz
// build does not have.)
struct SourcePlace {
    const char* file;
    unsigned line;
};
void TraceFailedStep(const SourcePlace& where, const std::exception* failure);

}  // namespace tolvane::app
