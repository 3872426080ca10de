#pragma once
// A developer's trace of the start-up steps that fail and are passed over. Users never see it:
// it is written only when the environment holds TOLVANE_TRACE=1, one line per failure on
// standard error.
#include <exception>
#include <source_location>

namespace tolvane::app {

bool StartupTraceOn();
// Writes the line for a failed step at `where`; failure is the exception caught (or null when
// it was not a std::exception).
void TraceFailedStep(const std::source_location& where, const std::exception* failure);

}  // namespace tolvane::app
