#!/usr/bin/env bash
# Cross-builds the core and its tests for 64-bit Windows and runs them under Wine:
# installs what is missing (the mingw-w64 compiler with POSIX threads, Wine, GoogleTest's
# source), builds GoogleTest with the same toolchain, builds core_tests.exe statically linked,
# runs it and prints how many tests passed and failed. Exits 0 only when every test passed.
#
#   scripts/run-windows-tests.sh [GTEST_ARGS...]     e.g. --gtest_filter='Launcher*'
#
# Environment: JOBS (parallel compile jobs, default: number of cores); BUILD_DIR (default:
# build-win in the checkout). Wine keeps its own settings in BUILD_DIR/wine, so the user's
# ~/.wine is never touched.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
BUILD=${BUILD_DIR:-$ROOT/build-win}
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake

PACKAGES=(cmake make g++-mingw-w64-x86-64-posix wine64 googletest)
installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}
missing=()
for p in "${PACKAGES[@]}"; do
    installed "$p" || missing+=("$p")
done
if ((${#missing[@]} > 0)); then
    echo "run-windows-tests: installing ${missing[*]}"
    SUDO=()
    [[ $(id -u) -ne 0 ]] && SUDO=(sudo)
    "${SUDO[@]}" apt-get update
    "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Debian's wine64 keeps its loader in /usr/lib/wine; a wine on the PATH is used when there is one.
WINE=
for candidate in "$(command -v wine64 || true)" "$(command -v wine || true)" /usr/lib/wine/wine64 /usr/lib/wine/wine; do
    if [[ -n $candidate && -x $candidate ]]; then
        WINE=$candidate
        break
    fi
done
[[ -n $WINE ]] || { echo "run-windows-tests: no wine loader found" >&2; exit 2; }

# GoogleTest from Debian's source package, built once with the Windows toolchain.
GTEST_PREFIX=$BUILD/googletest-install
if [[ ! -f $GTEST_PREFIX/lib/cmake/GTest/GTestConfig.cmake ]]; then
    cmake -S /usr/src/googletest -B "$BUILD/googletest" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$GTEST_PREFIX"
    cmake --build "$BUILD/googletest" -j"$JOBS"
    cmake --install "$BUILD/googletest"
fi

export WINEPREFIX=$BUILD/wine
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Only the core and its tests: no window, no demo data tools (their tests run bash).
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Debug \
    -DTOLVANE_BUILD_UI=OFF -DTOLVANE_BUILD_TOOLS=OFF -DGTest_DIR="$GTEST_PREFIX/lib/cmake/GTest" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE"
cmake --build "$BUILD" -j"$JOBS" --target core_tests

LOG=$BUILD/core_tests.log
set +e
"$WINE" "$BUILD/core_tests.exe" "$@" 2>&1 | tee "$LOG"
status=${PIPESTATUS[0]}
set -e
# Let this prefix's wineserver finish before the summary, so nothing is left running.
WINESERVER=$(dirname "$WINE")/wineserver
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver || true)
[[ -n $WINESERVER ]] && "$WINESERVER" -w || true

passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$LOG" | tail -1)
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$LOG" | tail -1)
skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$LOG" | tail -1)
echo "run-windows-tests: ${passed:-0} passed, ${failed:-0} failed, ${skipped:-0} skipped under $("$WINE" --version 2>/dev/null || echo wine)"
if [[ $status -ne 0 || -z $passed ]]; then
    echo "run-windows-tests: core_tests.exe exited with status $status" >&2
    exit 1
fi
