#!/usr/bin/env bash
# Builds Tolvane with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# then checks that the ordinary build (the one developers and the demo use) compiles too.
#
#   scripts/run-tests.sh
#
# Environment: JOBS (parallel compile jobs, default: number of cores); TOLVANE_CMAKE_ARGS (extra
# options for both configure steps, e.g. -DTOLVANE_BUILD_UI=OFF).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
read -r -a EXTRA <<<"${TOLVANE_CMAKE_ARGS:-}"

scripts/install-deps.sh

# Tests never need a display; the Qt tests draw offscreen.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$ROOT/.ci/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# -O0 keeps the sanitized build quick to compile, and free of the optimiser-only warnings that
# -Werror would turn into failures of the sanitizer flags rather than of the code.
cmake -S . -B build-asan -DTOLVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug "${EXTRA[@]}"
cmake --build build-asan -j"$JOBS"
ctest --test-dir build-asan --output-on-failure -j2

cmake -S . -B build "${EXTRA[@]}"
cmake --build build -j"$JOBS"
