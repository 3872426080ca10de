#!/usr/bin/env bash
# Builds Tolvane with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors, and
# runs every test; then a short run of each file reader's fuzz target.
#
#   scripts/run-tests.sh
#
# Environment: JOBS (parallel compile jobs, default: number of cores); TOLVANE_CMAKE_ARGS (extra
# options for both configure steps, e.g. -DTOLVANE_BUILD_UI=OFF); FUZZ_SECONDS (time per fuzz
# target, default 20; 0 skips the fuzz run).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
read -r -a EXTRA <<<"${TOLVANE_CMAKE_ARGS:-}"

scripts/install-deps.sh tests

# Tests never need a display; the Qt tests draw offscreen.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$ROOT/.ci/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# -O0 keeps the sanitized build quick to compile, and free of the optimiser-only warnings that
# -Werror would turn into failures of the sanitizer flags rather than of the code. It builds
# everything (program, tests, tools, benchmarks) from the same sources as the ordinary build,
# which run-demo.sh makes.
cmake -S . -B build-asan -DTOLVANE_SANITIZE=ON -DTOLVANE_WERROR=ON -DCMAKE_BUILD_TYPE=Debug "${EXTRA[@]}"
cmake --build build-asan -j"$JOBS"
# A test that waits on a window nobody answers fails after five minutes instead of stalling the run.
ctest --test-dir build-asan --output-on-failure -j2 --timeout 300

# A short run of each file reader's fuzz target (clang's libFuzzer), from the seeds under
# fuzz/seeds: enough to catch a reader that crashes or saves differently the second time.
# FUZZ_SECONDS sets the time per target (0 skips the run).
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
if ((FUZZ_SECONDS > 0)) && command -v clang++ >/dev/null; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON -DTOLVANE_WERROR=ON \
        -DTOLVANE_BUILD_UI=OFF -DTOLVANE_BUILD_TESTS=OFF
    cmake --build build-fuzz -j"$JOBS" --target fuzz_targets
    # Two targets at a time: each runs on one core.
    fuzz_one() {
        local target=$1 name work log
        name=$(basename "$target")
        work=$(mktemp -d)
        log=$(mktemp)
        cp fuzz/seeds/"${name#fuzz_}"/* "$work"/
        if (cd "$work" && "$ROOT/$target" -max_total_time="$FUZZ_SECONDS" -timeout=1 -max_len=4096 \
            -print_final_stats=1 "$work" >"$log" 2>&1); then
            echo "$name: $(grep -a 'number_of_executed_units' "$log" | tr -s ' ')"
            rm -rf "$work" "$log"
        else
            tail -n 40 "$log"
            echo "$name failed; the input that failed is in $work" >&2
            return 1
        fi
    }
    pids=()
    for target in build-fuzz/fuzz_*; do
        [[ -x $target ]] || continue
        fuzz_one "$target" &
        pids+=($!)
        if ((${#pids[@]} == 2)); then
            wait "${pids[0]}" || failed=1
            pids=("${pids[1]}")
        fi
    done
    for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
    if [[ ${failed:-0} == 1 ]]; then
        exit 1
    fi
fi
