#include "app/StartupTrace.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace tolvane::app {

// Read on every failure rather than once: failures are rare and tests switch the trace on and
// off.
bool StartupTraceOn() {
    const char* value = std::getenv("TOLVANE_TRACE");
    return value && std::strcmp(value, "1") == 0;
}

void TraceFailedStep(const SourcePlace& where, const std::exception* failure) {
    if (!StartupTraceOn()) return;
    const char* file = where.file;
    // The path below src/ is enough to find the step.
    if (const char* src = std::strstr(file, "src/")) file = src;
    std::cerr << "tolvane: trace: start-up step at " << file << ':' << where.line << " failed: "
              << (failure ? failure->what() : "an exception that is not a std::exception") << '\n';
}

}  // namespace tolvane::app
